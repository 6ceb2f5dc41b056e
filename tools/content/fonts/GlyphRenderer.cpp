#include "tools/content/fonts/GlyphRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace Content {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
// How much smaller each try makes the face while some character does not fit the cell.
constexpr double kShrink = 0.99;

} // namespace

GlyphRenderer::GlyphRenderer(const std::filesystem::path& face, std::uint32_t cellHeight,
                             const std::vector<char16_t>& characters)
    : m_path(face), m_cellHeight(cellHeight)
{
    if (FT_Init_FreeType(&m_library) != 0)
        throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(m_library, face.c_str(), 0, &m_face) != 0) {
        Close();
        throw std::runtime_error("cannot open the font face \"" + face.string() + "\"");
    }
    try {
        Fit(characters);
    } catch (...) {
        Close();
        throw;
    }
}

GlyphRenderer::~GlyphRenderer()
{
    Close();
}

void GlyphRenderer::Close()
{
    if (m_face != nullptr)
        FT_Done_Face(m_face);
    if (m_library != nullptr)
        FT_Done_FreeType(m_library);
    m_face = nullptr;
    m_library = nullptr;
}

void GlyphRenderer::SetEmPixels(double pixels)
{
    if (FT_Set_Char_Size(m_face, 0, static_cast<FT_F26Dot6>(std::lround(pixels * 64.0)), 72, 72) != 0)
        throw std::runtime_error("cannot size the font face \"" + m_path.string() + "\"");
}

void GlyphRenderer::Load(char16_t code) const
{
    if (FT_Get_Char_Index(m_face, code) != 0 && FT_Load_Char(m_face, code, FT_LOAD_RENDER) == 0)
        return;
    std::ostringstream text;
    text << "the font face \"" << m_path.string() << "\" has no glyph for U+" << std::hex
         << static_cast<unsigned>(code);
    throw std::runtime_error(text.str());
}

void GlyphRenderer::Fit(const std::vector<char16_t>& characters)
{
    const double extent = static_cast<double>(m_face->ascender) - m_face->descender; // font units
    const int nominalBaseline = static_cast<int>(std::lround(m_cellHeight * m_face->ascender / extent));
    const int cell = static_cast<int>(m_cellHeight);
    for (double emPixels = m_cellHeight * m_face->units_per_EM / extent; emPixels >= 1.0; emPixels *= kShrink) {
        SetEmPixels(emPixels);
        int ascent = 0;  // rows above the baseline
        int descent = 0; // rows below it
        for (const char16_t code : characters) {
            Load(code);
            const FT_GlyphSlot slot = m_face->glyph;
            ascent = std::max(ascent, slot->bitmap_top);
            descent = std::max(descent, static_cast<int>(slot->bitmap.rows) - slot->bitmap_top);
        }
        if (ascent + descent <= cell) {
            m_baseline = std::clamp(nominalBaseline, ascent, cell - descent);
            return;
        }
    }
    throw std::runtime_error("the font face \"" + m_path.string() + "\" does not fit a cell of " +
                             std::to_string(m_cellHeight) + " pixels");
}

Formats::GlyphPicture GlyphRenderer::Render(char16_t code) const
{
    Load(code);
    const FT_GlyphSlot slot = m_face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int advance = static_cast<int>(std::max<FT_Pos>(1, (slot->advance.x + 32) >> 6));
    const int ink = static_cast<int>(bitmap.width);
    const int left = ink <= advance ? std::clamp(slot->bitmap_left, 0, advance - ink) : (advance - ink) / 2;
    Formats::GlyphPicture picture;
    picture.code = code;
    picture.width = static_cast<std::uint32_t>(advance);
    picture.pixels.assign(static_cast<std::size_t>(advance) * m_cellHeight, kWhite);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = m_baseline - slot->bitmap_top + static_cast<int>(row);
        if (y < 0 || y >= static_cast<int>(m_cellHeight))
            continue; // only a character the face was not fitted to can reach here
        for (int column = std::max(0, -left); column < std::min(ink, advance - left); ++column) {
            const std::uint32_t coverage = bitmap.buffer[static_cast<std::ptrdiff_t>(row) * bitmap.pitch + column];
            picture.pixels[static_cast<std::size_t>(y) * advance + left + column] = (coverage << 24) | kWhite;
        }
    }
    return picture;
}

} // namespace Content
