#include "tools/content/menus/MenuModels.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"

#include <algorithm>

namespace Content {
namespace {

constexpr int kCornerSegments = 4;

Mesh FrameMesh(const LayoutRect& rect, float border)
{
    const float radius = std::min(2.5f * border, 0.45f * std::min(rect.width, rect.height));
    return Shapes::Frame(rect, border, radius, kCornerSegments);
}

// The open mesh squeezed toward its middle: a sliver at frame 0, opening wide first and then tall.
Mesh Squeezed(const Mesh& open, const LayoutRect& rect, int frame)
{
    const float t = static_cast<float>(frame) / static_cast<float>(MenuModels::kUnfoldFrames - 1);
    const float across = 0.1f + 0.9f * std::clamp(2.0f * t, 0.0f, 1.0f);
    const float up = 0.02f + 0.98f * std::clamp((2.0f * t - 0.6f) / 1.4f, 0.0f, 1.0f);
    const float cx = rect.left + 0.5f * rect.width, cy = rect.bottom + 0.5f * rect.height;
    Mesh mesh = open;
    mesh.Warp([&](const Vector3& p) { return Vector3{cx + (p.x - cx) * across, cy + (p.y - cy) * up, p.z}; });
    return mesh;
}

} // namespace

ModelArt MenuModels::Unfolding(const LayoutRect& rect, float border, const SurfaceLook& look)
{
    const Mesh open = FrameMesh(rect, border);
    return {ModelFiles::Morph(kUnfoldFrames, 25.0f, [&](int k) { return Squeezed(open, rect, k); }),
            Surface::Describe(look)};
}

ModelArt MenuModels::Open(const LayoutRect& rect, float border, const SurfaceLook& look)
{
    const Mesh open = FrameMesh(rect, border);
    return {ModelFiles::Morph(std::vector<Mesh>(kControlFrames, open), 25.0f), Surface::Describe(look)};
}

ModelArt MenuModels::Still(const LayoutRect& rect, const SurfaceLook& look)
{
    return {ModelFiles::Static(Shapes::Panel(rect)), Surface::Describe(look)};
}

ModelArt MenuModels::Area(const LayoutRect& rect)
{
    return {ModelFiles::Static(Shapes::Panel(rect)), Surface::Untextured()};
}

ModelArt MenuModels::UnitQuad(const SurfaceLook& look)
{
    return Still({0.0f, 0.0f, 1.0f, 1.0f}, look);
}

void MenuModels::AddAt(ArtList& list, const std::string& area, Maker make)
{
    list.AddModel(ModelName(area), [area, make = std::move(make)] { return make(Layout::Area(area)); });
}

SurfaceLook MenuModels::Look(const std::string& texture, std::uint32_t columns, std::uint32_t rows,
                             std::uint32_t frames)
{
    const std::string stem = TextureStem(texture);
    return SurfaceLook(stem + ".jpg").Opacity(stem + "_alpha.jpg").Blending(Blend::Alpha).Grid(columns, rows, frames);
}

std::string MenuModels::ModelName(const std::string& area)
{
    return "ui\\menus\\models\\" + area;
}

std::string MenuModels::TextureStem(const std::string& name)
{
    return "ui\\menus\\textures\\menu_" + name;
}

} // namespace Content
