// One sound effect of the game: its file name, its length, whether it loops, how loud its peak is and how it
// is drawn.
#pragma once

#include "tools/content/MonoSound.h"

#include <functional>
#include <string>

namespace Content {

struct SoundEffect
{
    // The engine's name: "audio\" + group + "\" + name + ".wav".
    std::string file;
    double seconds;
    bool loops;
    // Peak level in dBFS (at most -3).
    double peakDb;
    std::function<void(MonoSound&)> draw;
};

} // namespace Content
