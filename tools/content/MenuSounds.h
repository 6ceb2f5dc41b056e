// The sounds of the menus: button hover and click, typing, windows opening and closing, the volume slider,
// the score and mana count-ups and the upgrade.
#pragma once

#include "tools/content/SoundEffect.h"

#include <vector>

namespace Content {

class MenuSounds
{
public:
    static std::vector<SoundEffect> Effects();
};

} // namespace Content
