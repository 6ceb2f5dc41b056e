// The companion ".srf" of a model or particle system: how its surface blends and which texture it shows.
//
// Texture names: a name without a backslash lies next to the ".srf" ("bark.jpg"); a name with one is a path
// from the data folder as it stands ("game_objects\\cell\\textures\\cell_1.jpg"). A relative sub-path such as
// "textures\\cell_1.jpg" therefore points below the data folder itself, not below the ".srf"'s folder.
//
// Grid animations (columns x rows cells of one picture, frameCount of them shown) number the cells from the
// picture's top row, left to right, as Picture::Grid lays them out; the model's texture coordinates span one
// cell as 0..1. Frame files (FrameFiles) are numbered files: the name's trailing digits, as many as the frame
// count has, are replaced by the frame number ("glow00.jpg" with 12 frames: glow00.jpg .. glow11.jpg).
#pragma once

#include "tools/formats/ShaderFileWriter.h"

#include <cstdint>
#include <string>

namespace Content {

enum class Blend
{
    Opaque,   // no blending
    Alpha,    // source alpha, inverse source alpha (codes 4, 5)
    Additive, // source alpha, one (codes 4, 1): glows and sparks
};

enum class FrameFiles : std::uint32_t
{
    None = 0,
    Texture = 2, // one texture file per frame
    Opacity = 3, // one opacity file per frame
    Both = 4,
};

struct SurfaceLook
{
    std::string texture; // empty: no texture stage
    std::string opacity; // empty: the texture's own colours only
    Blend blend = Blend::Opaque;
    std::uint32_t columns = 1; // grid animation when columns x rows > 1
    std::uint32_t rows = 1;
    std::uint32_t frameCount = 0; // shown frames; 0 = every grid cell
    float frameRate = 0.0f;       // frames per second; 0 = frames chosen by the code
    FrameFiles frameFiles = FrameFiles::None;
    bool wrap = false; // repeat the texture outside 0..1 (tiling ground); else clamp
    bool mipMap = false;
    bool randomStart = false; // the animation starts at a random frame
};

class Surface
{
public:
    static Formats::ShaderFile Describe(const SurfaceLook& look);
    // No stage: models only used for their rectangle (never drawn), or drawn with vertex colours alone.
    static Formats::ShaderFile Untextured();
};

} // namespace Content
