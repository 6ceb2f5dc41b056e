#include "tools/content/art/Surface.h"

#include <stdexcept>

namespace Content {
namespace {

constexpr std::uint32_t kAlphaBlending = 1;
constexpr std::uint32_t kSourceAlpha = 4;
constexpr std::uint32_t kInverseSourceAlpha = 5;
constexpr std::uint32_t kOne = 1;
constexpr std::uint32_t kMipMap = 1;
constexpr std::uint32_t kRandomStart = 2;
constexpr std::uint32_t kGridMode = 1;

Formats::ShaderFileStage Stage(const SurfaceLook& look)
{
    Formats::ShaderFileStage stage;
    stage.flags = (look.mipMap ? kMipMap : 0) | (look.randomStart ? kRandomStart : 0);
    const std::uint32_t cells = look.columns * look.rows;
    if (cells == 0)
        throw std::invalid_argument("a texture grid needs a column and a row");
    if (look.frameFiles != FrameFiles::None && cells > 1)
        throw std::invalid_argument("a texture is either a grid or one file per frame");
    if (cells > 1) {
        stage.mode = kGridMode;
        stage.columns = look.columns;
        stage.rows = look.rows;
        stage.frameCount = look.frameCount == 0 ? cells : look.frameCount;
        if (stage.frameCount > cells)
            throw std::invalid_argument("a texture grid shows no more frames than it has cells");
    } else if (look.frameFiles != FrameFiles::None) {
        stage.mode = static_cast<std::uint32_t>(look.frameFiles);
        stage.frameCount = look.frameCount;
        if (stage.frameCount == 0)
            throw std::invalid_argument("frame files need a frame count");
    }
    stage.frameRate = look.frameRate;
    stage.texture = look.texture;
    stage.opacity = look.opacity;
    stage.addressU = stage.addressV = look.wrap ? 1 : 0;
    return stage;
}

} // namespace

SurfaceLook& SurfaceLook::Opacity(std::string name)
{
    opacity = std::move(name);
    return *this;
}

SurfaceLook& SurfaceLook::Blending(Blend mode)
{
    blend = mode;
    return *this;
}

SurfaceLook& SurfaceLook::Grid(std::uint32_t columnCount, std::uint32_t rowCount, std::uint32_t frames)
{
    columns = columnCount;
    rows = rowCount;
    frameCount = frames;
    return *this;
}

SurfaceLook& SurfaceLook::Files(FrameFiles kind, std::uint32_t frames)
{
    frameFiles = kind;
    frameCount = frames;
    return *this;
}

SurfaceLook& SurfaceLook::Rate(float framesPerSecond)
{
    frameRate = framesPerSecond;
    return *this;
}

SurfaceLook& SurfaceLook::Wrap()
{
    wrap = true;
    return *this;
}

SurfaceLook& SurfaceLook::MipMap()
{
    mipMap = true;
    return *this;
}

SurfaceLook& SurfaceLook::RandomStart()
{
    randomStart = true;
    return *this;
}

Formats::ShaderFile Surface::Describe(const SurfaceLook& look)
{
    Formats::ShaderFile description;
    if (look.blend != Blend::Opaque) {
        description.flags = kAlphaBlending;
        description.sourceBlend = kSourceAlpha;
        description.destinationBlend = look.blend == Blend::Additive ? kOne : kInverseSourceAlpha;
    }
    if (!look.texture.empty())
        description.stages.push_back(Stage(look));
    return description;
}

Formats::ShaderFile Surface::Untextured()
{
    return {};
}

} // namespace Content
