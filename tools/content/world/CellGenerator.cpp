#include "tools/content/world/CellGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"
#include "tools/content/world/WorldGrid.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Content {
namespace {

constexpr float kPi = 3.14159265f;
constexpr const char* kFolder = "game_objects\\cell\\";
constexpr const char* kTextures = "game_objects\\cell\\textures\\";
// Cell pictures are 128 pixels for the 40 units across a cell: the caps map planar over that square, the walls
// show the bottom rows (stone) and the layers' walls the top rows (mana), both outside the hexagon.
constexpr float kPixelsPerUnit = 3.2f;
constexpr Point kMiddle{64.0f, 64.0f};

// The planar map of the cell's square for a cap of the given circumradius.
UvRect CapUv(float radius)
{
    const float half = 0.5f / WorldGrid::kCellRadius;
    return {0.5f - radius * half, 0.5f - radius * 0.8660254f * half, 0.5f + radius * half,
            0.5f + radius * 0.8660254f * half};
}

// A hexagonal slab of the cell from z = bottom to z = top.
Mesh Slab(float radius, float bottom, float top, bool mana)
{
    const UvRect walls = mana ? UvRect{0.0f, 0.95f, 1.0f, 1.0f} : UvRect{0.0f, 0.0f, 1.0f, 0.05f};
    return Shapes::Prism(6, radius, top - bottom, 0.0f, ExtrudeOptions().Caps(CapUv(radius)).Sides(walls))
        .Translate({0.0f, 0.0f, 0.5f * (top + bottom)});
}

// The stone base up to the given height and a layer of the given radius per further step up to the top.
Mesh CellMesh(float baseTop, const std::vector<float>& layerRadii)
{
    Mesh mesh = Slab(WorldGrid::kCellRadius, WorldGrid::kCellBottom, baseTop, false);
    const float step =
        (WorldGrid::kCellTop - baseTop) / static_cast<float>(std::max<std::size_t>(1, layerRadii.size()));
    float bottom = baseTop;
    for (float radius : layerRadii) {
        mesh.Append(Slab(radius, bottom, bottom + step, true));
        bottom += step;
    }
    return mesh;
}

Shape Hexagon(float radius)
{
    return Shape::Polygon(Outlines::RegularPolygon(6, radius * kPixelsPerUnit, 0.0f, kMiddle));
}

// Weathered stone with a dark rim along the hexagon's edge.
Picture StonePicture()
{
    Picture picture(128, 128);
    picture.Fill(Paint::Noise(ValueNoise(11, 8), 16.0f, 4,
                              {{0.0f, {0.33f, 0.28f, 0.32f, 1.0f}}, {1.0f, {0.55f, 0.48f, 0.53f, 1.0f}}}));
    picture.Draw(Hexagon(19.0f).Stroke(5.0f).Soft(3.0f), Color{0.28f, 0.26f, 0.22f, 1.0f});
    picture.Draw(Hexagon(12.0f).Stroke(1.5f).Soft(2.0f), Color{0.5f, 0.48f, 0.42f, 0.6f});
    return picture;
}

struct ManaLook
{
    Color glow;
    Color deep;
};

const ManaLook kSingleMana{{0.4f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.6f, 0.75f, 1.0f}};
const ManaLook kDoubleMana{{0.85f, 0.45f, 1.0f, 1.0f}, {0.5f, 0.0f, 0.85f, 1.0f}};

enum class CellState
{
    Open,
    Closed,
    Blocked
};

// The stone picture with the mana layers painted over (their radii outermost first), and the walls' strip.
Picture ManaPicture(const ManaLook& look, const std::vector<float>& radii, CellState state)
{
    Picture layers = StonePicture();
    for (float radius : radii) {
        const float r = radius * kPixelsPerUnit;
        layers.Draw(Hexagon(radius).Soft(1.5f), Paint::Radial(kMiddle, r, {{0.0f, look.glow}, {1.0f, look.deep}}));
        layers.Draw(Hexagon(radius).Stroke(2.0f), Color{1.0f, 0.92f, 0.6f, 0.9f});
    }
    // A star of light in the middle of the top layer.
    layers.Draw(Shape::Polygon(Outlines::Star(6, 14.0f, 5.0f, 0.0f, kMiddle)).Soft(3.0f),
                Color{1.0f, 1.0f, 1.0f, 0.8f});
    layers.Draw(Shape::Polygon({{0.0f, 120.0f}, {128.0f, 120.0f}, {128.0f, 128.0f}, {0.0f, 128.0f}}), look.deep);
    if (state == CellState::Closed) {
        // A lid of dark planks over the mana, barred across.
        const Shape lid = Hexagon(radii.front() - 0.5f);
        layers.Draw(lid, Paint::Linear({0.0f, 20.0f}, {0.0f, 108.0f},
                                       {{0.0f, {0.30f, 0.19f, 0.10f, 1.0f}}, {1.0f, {0.45f, 0.30f, 0.16f, 1.0f}}}));
        for (float y : {46.0f, 64.0f, 82.0f})
            layers.Draw(Shape::RoundedRect({14.0f, y - 1.0f, 100.0f, 2.0f}, 1.0f), Color{0.18f, 0.1f, 0.05f, 1.0f});
        layers.Draw(Shape::RoundedRect({20.0f, 58.0f, 88.0f, 12.0f}, 3.0f), Color{0.55f, 0.5f, 0.45f, 1.0f});
        layers.Draw(Shape::Circle(kMiddle, 7.0f), Color{0.85f, 0.7f, 0.3f, 1.0f});
        layers.Draw(Shape::Polygon({{0.0f, 120.0f}, {128.0f, 120.0f}, {128.0f, 128.0f}, {0.0f, 128.0f}}),
                    Color{0.3f, 0.2f, 0.1f, 1.0f});
    } else if (state == CellState::Blocked) {
        // Dimmed mana under a grey veil.
        layers.Draw(Hexagon(radii.front()), Color{0.3f, 0.28f, 0.35f, 0.55f});
    }
    return layers;
}

// The selection ring: a golden band, brightest in its middle.
Picture RingPicture()
{
    Picture picture(64, 64, {1.0f, 0.85f, 0.3f, 0.0f});
    const Point middle{32.0f, 32.0f};
    picture.Draw(Shape::Circle(middle, 26.0f).Stroke(9.0f).Soft(5.0f), Color{1.0f, 0.85f, 0.3f, 1.0f});
    picture.Draw(Shape::Circle(middle, 26.0f).Stroke(2.5f).Soft(2.0f), Color{1.0f, 1.0f, 0.85f, 1.0f});
    return picture;
}

// Grey strands: spokes from the middle and hexagonal rings between them.
Picture WebPicture()
{
    Picture picture(128, 128, {0.9f, 0.9f, 0.95f, 0.0f});
    const Color strand{0.92f, 0.92f, 0.96f, 0.9f};
    for (int spoke = 0; spoke < 6; ++spoke) {
        const float angle = kPi / 6.0f + static_cast<float>(spoke) * kPi / 3.0f;
        const Point end{64.0f + 62.0f * std::cos(angle), 64.0f + 62.0f * std::sin(angle)};
        const Point side{0.8f * std::sin(angle), -0.8f * std::cos(angle)};
        picture.Draw(Shape::Polygon({{64.0f - side.x, 64.0f - side.y},
                                     {end.x - side.x, end.y - side.y},
                                     {end.x + side.x, end.y + side.y},
                                     {64.0f + side.x, 64.0f + side.y}}),
                     strand);
    }
    for (float radius : {12.0f, 24.0f, 36.0f, 48.0f, 58.0f})
        picture.Draw(Shape::Polygon(Outlines::RegularPolygon(6, radius, kPi / 6.0f, {64.0f, 64.0f})).Stroke(1.6f),
                     strand);
    return picture;
}

// A golden arrow pointing down, in a 64 x 64 picture.
Outline ArrowOutline()
{
    return {{32.0f, 2.0f},  {60.0f, 30.0f}, {42.0f, 30.0f}, {42.0f, 62.0f},
            {22.0f, 62.0f}, {22.0f, 30.0f}, {4.0f, 30.0f}};
}

Picture ArrowPicture()
{
    Picture picture(64, 64, {1.0f, 0.8f, 0.2f, 0.0f});
    const Shape arrow = Shape::Polygon(ArrowOutline());
    picture.Draw(arrow, Paint::Linear({0.0f, 0.0f}, {0.0f, 64.0f},
                                      {{0.0f, {1.0f, 0.55f, 0.1f, 1.0f}}, {1.0f, {1.0f, 0.95f, 0.5f, 1.0f}}}));
    picture.Draw(arrow.Stroke(2.5f), Color{0.5f, 0.25f, 0.05f, 1.0f});
    return picture;
}

// Two crossed upright arrows (seen from every side), 16 units tall, their tips over the cell's top.
Mesh TipMesh(int frame)
{
    Outline outline;
    for (const Point& p : ArrowOutline())
        outline.push_back({(p.x - 32.0f) * 0.25f, p.y * 0.25f});
    Mesh one = Shapes::Flat(outline);
    one.RotateX(0.5f * kPi);
    Mesh mesh = one;
    mesh.Append(Mesh(one).RotateZ(0.5f * kPi));
    const float bob = 4.0f * std::sin(2.0f * kPi * static_cast<float>(frame) / CellGenerator::kTipFrames);
    return mesh.Translate({0.0f, 0.0f, 10.0f + bob});
}

// Grows in over frames 0-10, pulses over 10-40 (one breath), widens while it fades over 40-50.
float RingScale(int frame)
{
    if (frame <= 10)
        return 0.6f + 0.4f * static_cast<float>(frame) / 10.0f;
    if (frame <= 40)
        return 1.0f + 0.06f * std::sin(2.0f * kPi * static_cast<float>(frame - 10) / 30.0f);
    return 1.0f + 0.15f * static_cast<float>(frame - 40) / 10.0f;
}

Mesh RingMesh(int frame)
{
    const float scale = RingScale(frame);
    return Shapes::Ring(16.0f * scale, 23.0f * scale, 36).Translate({0.0f, 0.0f, WorldGrid::kCellTop + 0.4f});
}

ModelArt World(Formats::ModelFile model, const std::string& texture)
{
    return {std::move(model), Surface::Describe(SurfaceLook(kTextures + texture + ".jpg"))};
}

ModelArt Blended(Formats::ModelFile model, const std::string& texture)
{
    return {std::move(model), Surface::Describe(SurfaceLook(kTextures + texture + ".jpg")
                                                    .Opacity(kTextures + texture + "_alpha.jpg")
                                                    .Blending(Blend::Alpha))};
}

const std::vector<float> kSingleLayers{16.0f};
const std::vector<float> kDoubleLayers{17.5f, 13.5f};

} // namespace

void CellGenerator::List(ArtList& list) const
{
    const std::string folder = kFolder;
    list.AddModel(folder + "cell_empty", [] {
        return World(ModelFiles::Static(CellMesh(WorldGrid::kCellTop, {}), ModelFiles::kWorld), "cell_0");
    });
    list.AddModel(folder + "cell_single", [] {
        return World(ModelFiles::Static(CellMesh(2.0f, kSingleLayers), ModelFiles::kWorld), "cell_1");
    });
    list.AddModel(folder + "cell_double", [] {
        return World(ModelFiles::Static(CellMesh(0.0f, kDoubleLayers), ModelFiles::kWorld), "cell_2");
    });
    list.AddModel(folder + "cell_select", [] {
        return Blended(ModelFiles::Morph(kSelectFrames, 30.0f, RingMesh, ModelFiles::kWorld), "cell_select");
    });
    list.AddModel(folder + "cell_block", [] {
        return Blended(ModelFiles::Static(Shapes::Disc(19.5f, 24).Translate({0.0f, 0.0f, WorldGrid::kCellTop + 0.3f}),
                                          ModelFiles::kWorld),
                       "cell_block");
    });
    list.AddModel(folder + "cell_tip", [] {
        return Blended(ModelFiles::Morph(kTipFrames, 24.0f, TipMesh, ModelFiles::kWorld), "cell_tip");
    });

    const std::string textures = kTextures;
    list.AddOpaqueTexture(textures + "cell_0", StonePicture);
    const struct
    {
        const char* suffix;
        CellState state;
    } states[] = {{"", CellState::Open}, {"_closed", CellState::Closed}, {"_blocked", CellState::Blocked}};
    for (const auto& state : states) {
        const CellState kind = state.state;
        list.AddOpaqueTexture(textures + "cell_1" + state.suffix,
                              [kind] { return ManaPicture(kSingleMana, kSingleLayers, kind); });
        list.AddOpaqueTexture(textures + "cell_2" + state.suffix,
                              [kind] { return ManaPicture(kDoubleMana, kDoubleLayers, kind); });
    }
    list.AddTexture(textures + "cell_select", RingPicture);
    list.AddTexture(textures + "cell_block", WebPicture);
    list.AddTexture(textures + "cell_tip", ArrowPicture);
}

} // namespace Content
