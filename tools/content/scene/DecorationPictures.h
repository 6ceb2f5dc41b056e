// The pictures of the menu background's decorations: the screen frame (painted in virtual-screen units over
// the whole screen), the hanging vines of the title panel, the shine that sweeps over it, the panel itself, the
// plaque under the game's name and the name's letters.
#pragma once

#include "tools/content/art/Picture.h"

#include <string>

namespace Content {

class DecorationPictures
{
public:
    // Border band width of the frame at its widest, in virtual-screen units.
    static constexpr float kFrameBorder = 18.0f;

    static Picture Frame();
    // Left half the vine, right half a leaf.
    static Picture Vine();
    static Picture Shine();
    static Picture Panel();
    static Picture Plaque();
    // The name across a width x height picture, its letters height x capHeight tall and centred.
    static Picture Name(const std::string& name, float capHeight);
};

} // namespace Content
