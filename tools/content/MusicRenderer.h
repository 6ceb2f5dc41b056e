// Plays a score into a stereo loop at 44,100 frames per second: every note becomes the tones of its
// instrument, panned and sent in part to a hall reverb. Notes that ring past the end of the piece sound at its
// start, and the reverb is looped too, so the track repeats without a seam.
#pragma once

#include "tools/content/Score.h"

#include <vector>

namespace Content {

struct StereoTrack
{
    std::vector<float> left;
    std::vector<float> right;
};

class MusicRenderer
{
public:
    static constexpr unsigned kRate = 44100;

    // The loudest sample lies at -3 dBFS.
    static StereoTrack Render(const Score& score);
};

} // namespace Content
