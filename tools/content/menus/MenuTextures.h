// The pictures the menu, control and in-game models share, written once into "ui\\menus\\textures\\" with
// the prefix "menu_" (MenuModels::Look names them).
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class MenuTextures : public ArtGenerator
{
protected:
    void List(ArtList& list) const override;
};

} // namespace Content
