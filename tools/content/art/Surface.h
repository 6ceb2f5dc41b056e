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
#include <utility>

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

// What a surface shows, set up by chained calls: SurfaceLook("cell.jpg"), SurfaceLook("button.jpg")
// .Opacity("button_alpha.jpg").Blending(Blend::Alpha).Grid(4, 1).
struct SurfaceLook
{
    SurfaceLook() = default;
    explicit SurfaceLook(std::string textureName) : texture(std::move(textureName)) {}

    SurfaceLook& Opacity(std::string name);
    SurfaceLook& Blending(Blend mode);
    // A grid animation of columns x rows cells; frames shown = every cell unless given.
    SurfaceLook& Grid(std::uint32_t columnCount, std::uint32_t rowCount, std::uint32_t frames = 0);
    // One file per frame (see above).
    SurfaceLook& Files(FrameFiles kind, std::uint32_t frames);
    // Frames per second; 0 leaves the frame to the code.
    SurfaceLook& Rate(float framesPerSecond);
    // Repeats the texture outside 0..1 (tiling ground) instead of clamping.
    SurfaceLook& Wrap();
    SurfaceLook& MipMap();
    // The animation starts at a random frame.
    SurfaceLook& RandomStart();

    std::string texture; // empty: no texture stage
    std::string opacity; // empty: the texture's own colours only
    Blend blend = Blend::Opaque;
    std::uint32_t columns = 1;
    std::uint32_t rows = 1;
    std::uint32_t frameCount = 0;
    float frameRate = 0.0f;
    FrameFiles frameFiles = FrameFiles::None;
    bool wrap = false;
    bool mipMap = false;
    bool randomStart = false;
};

class Surface
{
public:
    static Formats::ShaderFile Describe(const SurfaceLook& look);
    // No stage: models only used for their rectangle (never drawn), or drawn with vertex colours alone.
    static Formats::ShaderFile Untextured();
};

} // namespace Content
