// Draws the glyphs of one font face with FreeType into cells of a fixed height: the face's ascender to its
// descender fill the cell, and each cell is as wide as the glyph's advance, so a glyph quad of the font's size
// and the glyph's width shows it on its baseline at its own proportions. Ink beyond the advance is cut off.
#pragma once

#include "tools/formats/FontTextureWriter.h"

#include <cstdint>
#include <filesystem>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace Content {

class GlyphRenderer
{
public:
    // Throws std::runtime_error when the face cannot be opened or sized.
    GlyphRenderer(const std::filesystem::path& face, std::uint32_t cellHeight);
    ~GlyphRenderer();
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    // The glyph's cell: white, its coverage as alpha. Throws std::runtime_error when the face lacks the character.
    Formats::GlyphPicture Render(char16_t code) const;

private:
    void Close();

    FT_LibraryRec_* m_library = nullptr;
    FT_FaceRec_* m_face = nullptr;
    std::filesystem::path m_path;
    std::uint32_t m_cellHeight;
    int m_baseline = 0; // pixel rows from the cell's top down to the baseline
};

} // namespace Content
