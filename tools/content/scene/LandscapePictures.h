// The pictures of the menu background's theme cards: sky, clouds, hills, meadow, grass, trees, water, reeds,
// rainbow and blossoms. Each paints a whole card in pixels (row 0 at the bottom), transparent wherever the
// layers below should show; every picture is the same on every run.
#pragma once

#include "tools/content/art/Picture.h"

#include <cstdint>

namespace Content {

class LandscapePictures
{
public:
    static Picture Sky(std::uint32_t width, std::uint32_t height);
    static Picture Clouds(std::uint32_t width, std::uint32_t height);
    static Picture FarHills(std::uint32_t width, std::uint32_t height);
    static Picture NearHills(std::uint32_t width, std::uint32_t height);
    static Picture Meadow(std::uint32_t width, std::uint32_t height);
    static Picture Grass(std::uint32_t width, std::uint32_t height);
    // A broad tree standing on the bottom row; the seed varies its crown.
    static Picture Tree(std::uint32_t width, std::uint32_t height, std::uint32_t seed);
    static Picture Pond(std::uint32_t width, std::uint32_t height);
    static Picture Brook(std::uint32_t width, std::uint32_t height);
    static Picture Reeds(std::uint32_t width, std::uint32_t height);
    static Picture Rainbow(std::uint32_t width, std::uint32_t height);
    static Picture Blossoms(std::uint32_t width, std::uint32_t height);
};

} // namespace Content
