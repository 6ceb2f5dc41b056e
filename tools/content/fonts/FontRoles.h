// The game's fonts by id, each a face of the DejaVu family at a size and in a colour of its own: the font list
// of every language loads them in this order, so a font's place here is the id the windows print with.
#pragma once

#include "engine/render/Color.h"

#include <string>
#include <vector>

namespace Content {

struct FontRole
{
    std::string name;  // its files: "ui\fonts\<name>.fnt", "<name>.jpg" (colour) and "<name>_alpha.jpg" (shapes)
    std::string face;  // the face's file in the DejaVu folder
    float size = 0.0f; // GUI units: the line height, which is also the height of every glyph quad
    KeystrelEngine::Color colour;
    bool fixedWidth = false;
};

class FontRoles
{
public:
    // Glyph pixels per GUI unit: the 800 x 600 virtual screen shown at 1024 x 768 gives 1.28, so glyphs are
    // drawn at about their own size.
    static constexpr float kPixelsPerUnit = 1.3f;
    // The font the developer console prints with.
    static constexpr unsigned kConsoleFont = 0;

    // Ids 0 to 10: statistics; captions and titles; body, bubbles and bars; headings and score rows; highlighted
    // values; hovered names; head-up display numbers and the video mode; the main-menu captions normal, hovered
    // and pressed; floating points.
    static const std::vector<FontRole>& All();
};

} // namespace Content
