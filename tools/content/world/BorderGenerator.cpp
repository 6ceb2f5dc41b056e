#include "tools/content/world/BorderGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"
#include "tools/content/world/WorldGrid.h"

#include <cmath>
#include <string>

namespace Content {
namespace {

constexpr const char* kTexture = "game_objects\\board_border\\textures\\border";

// The cell's two corners either side of the direction's angle, at the given radius.
Point Corner(float directionAngle, float side, float radius)
{
    const float angle = directionAngle + side * 0.5235988f;
    return {radius * std::cos(angle), radius * std::sin(angle)};
}

Mesh WallMesh(int direction)
{
    const float angle = WorldGrid::kDirectionAngles[direction];
    const float inner = WorldGrid::kCellRadius;
    const float outer = inner + BorderGenerator::kThickness * 1.1547005f; // the edge pushed out by the thickness
    const Outline sector{Corner(angle, -1.0f, inner), Corner(angle, -1.0f, outer), Corner(angle, 1.0f, outer),
                         Corner(angle, 1.0f, inner)};
    return Shapes::Extrude(sector, BorderGenerator::kBottom, BorderGenerator::kTop,
                           ExtrudeOptions().Caps({0.0f, 0.75f, 1.0f, 1.0f}).Sides({0.0f, 0.0f, 1.0f, 0.75f}));
}

// Mossy stone: grey blocks with dark joints below, a green crown above (the caps' rows).
Picture WallPicture()
{
    Picture picture(64, 64);
    picture.Fill(Paint::Noise(ValueNoise(23, 4), 16.0f, 4,
                              {{0.0f, {0.38f, 0.36f, 0.33f, 1.0f}}, {1.0f, {0.62f, 0.6f, 0.55f, 1.0f}}}));
    for (float y : {16.0f, 32.0f})
        picture.Draw(Shape::RoundedRect({0.0f, y - 1.0f, 64.0f, 2.0f}, 0.0f), Color{0.22f, 0.2f, 0.18f, 1.0f});
    for (float x : {10.0f, 42.0f})
        picture.Draw(Shape::RoundedRect({x, 16.0f, 2.0f, 16.0f}, 0.0f), Color{0.22f, 0.2f, 0.18f, 1.0f});
    for (float x : {26.0f, 58.0f})
        picture.Draw(Shape::RoundedRect({x, 0.0f, 2.0f, 16.0f}, 0.0f), Color{0.22f, 0.2f, 0.18f, 1.0f});
    picture.Draw(Shape::RoundedRect({0.0f, 44.0f, 64.0f, 20.0f}, 0.0f).Soft(6.0f),
                 Paint::Noise(ValueNoise(29, 4), 8.0f, 3,
                              {{0.0f, {0.2f, 0.38f, 0.12f, 1.0f}}, {1.0f, {0.42f, 0.62f, 0.22f, 1.0f}}}));
    return picture;
}

} // namespace

void BorderGenerator::List(ArtList& list) const
{
    for (int direction = 0; direction < 6; ++direction) {
        list.AddModel("game_objects\\board_border\\border_" + std::to_string(direction), [direction] {
            return ModelArt{ModelFiles::Static(WallMesh(direction), ModelFiles::kWorld),
                            Surface::Describe(SurfaceLook(std::string(kTexture) + ".jpg"))};
        });
    }
    list.AddOpaqueTexture(kTexture, WallPicture);
}

} // namespace Content
