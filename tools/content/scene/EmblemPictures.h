// The pictures of the start-up and the menu corners: the publisher's emblem (a moth over a lantern glow, "BRIGHTMOTH")
// big for the logo screen and small for the menu corner, the maker's seal ("TARROWBY": a tower with a swallow),
// the mouse cursor and the console's backdrop.
#pragma once

#include "tools/content/art/Picture.h"

namespace Content {

class EmblemPictures
{
public:
    // 1024 x 1024 with the 800 x 600 logo screen in its bottom-left corner.
    static Picture PublisherBig();
    static Picture PublisherSmall();
    static Picture MakerSeal();
    // An arrow whose tip is the picture's top-left pixel (the cursor's hot spot).
    static Picture Cursor();
    static Picture Console();
};

} // namespace Content
