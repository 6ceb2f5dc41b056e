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

} // namespace

GlyphRenderer::GlyphRenderer(const std::filesystem::path& face, std::uint32_t cellHeight)
    : m_path(face), m_cellHeight(cellHeight)
{
    if (FT_Init_FreeType(&m_library) != 0)
        throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(m_library, face.c_str(), 0, &m_face) != 0) {
        Close();
        throw std::runtime_error("cannot open the font face \"" + face.string() + "\"");
    }
    const double extent = static_cast<double>(m_face->ascender) - m_face->descender; // font units
    const double emPixels = cellHeight * m_face->units_per_EM / extent;
    if (FT_Set_Char_Size(m_face, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64.0)), 72, 72) != 0) {
        Close();
        throw std::runtime_error("cannot size the font face \"" + face.string() + "\"");
    }
    m_baseline = static_cast<int>(std::lround(cellHeight * m_face->ascender / extent));
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

Formats::GlyphPicture GlyphRenderer::Render(char16_t code) const
{
    if (FT_Get_Char_Index(m_face, code) == 0 || FT_Load_Char(m_face, code, FT_LOAD_RENDER) != 0) {
        std::ostringstream text;
        text << "the font face \"" << m_path.string() << "\" has no glyph for U+" << std::hex
             << static_cast<unsigned>(code);
        throw std::runtime_error(text.str());
    }
    const FT_GlyphSlot slot = m_face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    Formats::GlyphPicture picture;
    picture.code = code;
    picture.width = static_cast<std::uint32_t>(std::max<FT_Pos>(1, (slot->advance.x + 32) >> 6));
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * m_cellHeight, kWhite);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = m_baseline - slot->bitmap_top + static_cast<int>(row);
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const int x = slot->bitmap_left + static_cast<int>(column);
            if (x < 0 || y < 0 || x >= static_cast<int>(picture.width) || y >= static_cast<int>(m_cellHeight))
                continue;
            const std::uint32_t coverage = bitmap.buffer[static_cast<std::ptrdiff_t>(row) * bitmap.pitch + column];
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = (coverage << 24) | kWhite;
        }
    }
    return picture;
}

} // namespace Content
