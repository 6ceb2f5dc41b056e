// The pictures of the scenery: tiling ground and water, stone, and 2 x 2 atlases of plant cards (grass tufts,
// flowers, trees, ferns, reeds) whose clear parts are cut out by their opacity. Deterministic from their seeds.
#pragma once

#include "tools/content/art/Picture.h"

#include <cstdint>

namespace Content {

class SceneryPictures
{
public:
    static Picture Ground(std::uint32_t seed, const Color& dark, const Color& light);
    static Picture Water(const Color& deep, const Color& light);
    static Picture Stone(std::uint32_t seed);
    static Picture Grass(const Color& colour);
    static Picture Flowers(const Color& petals);
    static Picture Trees();
    static Picture Ferns();
    static Picture Reeds();
};

} // namespace Content
