// The pictures the program shows before and around the menus: the publisher's logo screen
// ("ui\menus\textures\publisher_logo_big.jpg", 1024 x 1024 with the 800 x 600 screen in its bottom-left corner),
// the mouse cursor with its opacity (hot spot at the top-left corner) and the developer console's backdrop.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class StartupPicturesGenerator : public ArtGenerator
{
protected:
    void List(ArtList& list) const override;
};

} // namespace Content
