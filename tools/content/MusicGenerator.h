// Writes the three music tracks (the menu's and two for the levels) as stereo Ogg Vorbis files at 44,100
// frames per second, composing, playing and encoding each on a thread of its own.
#pragma once

#include "tools/content/Generator.h"
#include "tools/content/Score.h"

namespace Content {

class MusicGenerator : public Generator
{
public:
    static const std::vector<TrackStyle>& Tracks();

    std::vector<ManifestEntry> Files() const override;
    void Write(DataFolder& folder) const override;
};

} // namespace Content
