// Draws the glyphs of one font face with FreeType into cells of a fixed height, each as wide as the glyph's
// advance, so that a glyph quad of the font's size and the glyph's width shows it on its baseline at its own
// proportions. The face's ascender to its descender fill the cell; where the characters the font is made for
// reach beyond them (accents on capitals), the face is made a little smaller and the baseline moved so that
// every one fits. Ink that reaches past a side of its advance is moved inside when the advance has room for it,
// and cut off evenly on both sides when it has not.
#pragma once

#include "tools/formats/FontTextureWriter.h"

#include <cstdint>
#include <filesystem>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace Content {

class GlyphRenderer
{
public:
    // Throws std::runtime_error when the face cannot be opened or sized, or lacks one of the characters.
    GlyphRenderer(const std::filesystem::path& face, std::uint32_t cellHeight, const std::vector<char16_t>& characters);
    ~GlyphRenderer();
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    // The glyph's cell: white, its coverage as alpha. Throws std::runtime_error when the face lacks the character.
    Formats::GlyphPicture Render(char16_t code) const;

private:
    void Close();
    void SetEmPixels(double pixels);
    // Loads and renders the glyph into the face's slot.
    void Load(char16_t code) const;
    // Sizes the face and places the baseline so that every character lies inside the cell.
    void Fit(const std::vector<char16_t>& characters);

    FT_LibraryRec_* m_library = nullptr;
    FT_FaceRec_* m_face = nullptr;
    std::filesystem::path m_path;
    std::uint32_t m_cellHeight;
    int m_baseline = 0; // pixel rows from the cell's top down to the baseline
};

} // namespace Content
