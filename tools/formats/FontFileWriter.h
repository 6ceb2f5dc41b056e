// Builds font files ("KEFNT"): the common header (total length, magic, version), the glyph count, then per glyph
// its UTF-16 code, its texture rectangle (u, v, du, dv; v counted from the picture's bottom row) and its advance
// width relative to the font size.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <cstdint>
#include <vector>

namespace Formats {

struct FontGlyph
{
    std::uint16_t code = 0;
    float u = 0.0f;
    float v = 0.0f;
    float du = 0.0f;
    float dv = 0.0f;
    float width = 0.0f;
};

Bytes BuildFontFile(const std::vector<FontGlyph>& glyphs, std::uint32_t version = 201);

} // namespace Formats
