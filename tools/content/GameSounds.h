// The sounds of play: the guide's praise, selecting and swapping butterflies, chains and bonuses, and the
// start and end of a level.
#pragma once

#include "tools/content/SoundEffect.h"

#include <vector>

namespace Content {

class GameSounds
{
public:
    static std::vector<SoundEffect> Effects();
};

} // namespace Content
