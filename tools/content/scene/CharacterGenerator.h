// The speaking guide: "ui\menus\character\character.mlf" (the skeletal figure), its face grid
// "ui\menus\textures\character_color.jpg" with "character_alpha.jpg", and the speech bubbles
// "ui\menus\character\text_size1.mlf" .. "text_size4.mlf".
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class CharacterGenerator : public ArtGenerator
{
public:
    static constexpr const char* kFolder = "ui\\menus\\character\\";
    static constexpr const char* kColour = "ui\\menus\\textures\\character_color.jpg";
    static constexpr const char* kOpacity = "ui\\menus\\textures\\character_alpha.jpg";

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
