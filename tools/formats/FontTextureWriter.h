// Lays the pictures of a font's glyphs out on one texture and writes it as a 32-bit TGA file (alpha is the
// glyph's coverage; the font's shader description asks for the texture's own alpha), together with the glyph
// records of the font file that point into it.
//
// Glyphs are placed left to right in rows of the texture's width, a transparent pixel between neighbours so
// that filtering never blends two glyphs; the texture's height is the power of two that holds the rows. A
// glyph's advance is its picture's width over the cell height, so that it is drawn without distortion.
#pragma once

#include "tools/formats/FontFileWriter.h"

#include <cstdint>
#include <vector>

namespace Formats {

struct GlyphPicture
{
    std::uint16_t code = 0;
    std::uint32_t width = 0;           // pixels
    std::vector<std::uint32_t> pixels; // width x cell height ARGB words, the top row first
};

struct FontPictures
{
    std::uint32_t cellHeight = 16;    // pixels, the height of every glyph
    std::uint32_t textureWidth = 256; // a power of two
    std::vector<GlyphPicture> glyphs;
};

struct FontTexture
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels; // width x height ARGB words, the top row first (what the TGA file holds)
    Bytes tga;
    std::vector<FontGlyph> glyphs; // in the order of the pictures
};

// Glyphs wider than the texture are cut at its right edge.
FontTexture BuildFontTexture(const FontPictures& pictures);

} // namespace Formats
