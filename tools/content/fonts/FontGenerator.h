// Writes the game's fonts (FontRoles) and the font list of every language. Each font is a "KEFNT" file of one
// glyph per printable character of code pages 1252 and 1251, and its texture: the glyphs' shapes in white in the
// opacity picture, the font's colour in the colour picture. Every language lists the same eleven fonts.
#pragma once

#include "tools/content/Generator.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Content {

struct FontRole;

class FontGenerator : public Generator
{
public:
    // "ui\fonts\" + the language code + ".ini".
    static std::string FontList(std::string_view language);
    // "ui\fonts\" + the role's name + the ending (".fnt", ".jpg", "_alpha.jpg").
    static std::string FontFile(const FontRole& role, const char* ending);
    // The pixel height of the role's glyph cells.
    static std::uint32_t CellHeight(const FontRole& role);

    std::vector<ManifestEntry> Files() const override;
    void Write(DataFolder& folder) const override;
    std::vector<std::filesystem::path> Inputs() const override;
};

} // namespace Content
