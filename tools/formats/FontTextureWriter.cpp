#include "tools/formats/FontTextureWriter.h"

#include <algorithm>
#include <bit>

namespace Formats {

namespace {

constexpr std::uint32_t kGap = 1;
constexpr std::uint8_t kTopRowFirstWithAlpha = 0x28; // descriptor: 8 alpha bits, the first stored row is the top

struct Placement
{
    std::uint32_t x = 0;
    std::uint32_t y = 0; // from the top
};

// Left to right, a new row when the next glyph does not fit; returns the height used.
std::uint32_t Place(const FontPictures& pictures, std::vector<Placement>& placements)
{
    std::uint32_t x = kGap;
    std::uint32_t y = kGap;
    for (const GlyphPicture& glyph : pictures.glyphs) {
        if (x > kGap && x + glyph.width + kGap > pictures.textureWidth) {
            x = kGap;
            y += pictures.cellHeight + kGap;
        }
        placements.push_back({x, y});
        x += glyph.width + kGap;
    }
    return y + pictures.cellHeight + kGap;
}

Bytes BuildTGA(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& argb)
{
    Bytes bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutLE16(bytes, width);
    PutLE16(bytes, height);
    bytes.push_back(32);
    bytes.push_back(kTopRowFirstWithAlpha);
    for (const std::uint32_t pixel : argb)
        PutLE32(bytes, pixel); // blue, green, red, alpha
    return bytes;
}

} // namespace

FontTexture BuildFontTexture(const FontPictures& pictures)
{
    std::vector<Placement> placements;
    FontTexture texture;
    texture.width = pictures.textureWidth;
    texture.height = std::bit_ceil(Place(pictures, placements));
    std::vector<std::uint32_t>& argb = texture.pixels;
    argb.assign(static_cast<std::size_t>(texture.width) * texture.height, 0);
    const float cellHeight = static_cast<float>(pictures.cellHeight);
    const float width = static_cast<float>(texture.width);
    const float height = static_cast<float>(texture.height);
    for (std::size_t i = 0; i < pictures.glyphs.size(); ++i) {
        const GlyphPicture& glyph = pictures.glyphs[i];
        const Placement at = placements[i];
        const std::uint32_t shown = std::min(glyph.width, texture.width - std::min(at.x, texture.width));
        for (std::uint32_t row = 0; row < pictures.cellHeight; ++row) {
            const auto from = glyph.pixels.begin() + static_cast<std::ptrdiff_t>(row) * glyph.width;
            std::copy_n(from, shown, argb.begin() + static_cast<std::ptrdiff_t>(at.y + row) * texture.width + at.x);
        }
        texture.glyphs.push_back({glyph.code, static_cast<float>(at.x) / width,
                                  (height - static_cast<float>(at.y) - cellHeight) / height,
                                  static_cast<float>(glyph.width) / width, cellHeight / height,
                                  static_cast<float>(glyph.width) / cellHeight});
    }
    texture.tga = BuildTGA(texture.width, texture.height, argb);
    return texture;
}

} // namespace Formats
