#include "tools/content/world/BonusGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"

#include <cmath>
#include <string>

namespace Content {
namespace {

constexpr float kPi = 3.14159265f;
constexpr const char* kFolder = "game_objects\\bonuses\\";

float Turn(int frame)
{
    return 2.0f * kPi * static_cast<float>(frame) / BonusGenerator::kFrames;
}

Mesh StarMesh(int frame)
{
    const float bob = 1.5f * std::sin(Turn(frame));
    return Shapes::Extrude(Outlines::Star(6, 7.0f, 3.2f), -1.0f, 1.0f, ExtrudeOptions().Sides({0.4f, 0.4f, 0.6f, 0.6f}))
        .RotateZ(Turn(frame))
        .Translate({0.0f, 0.0f, 17.0f + bob});
}

Mesh OrbsMesh(int frame)
{
    Mesh mesh;
    for (int orb = 0; orb < 3; ++orb) {
        const float angle = Turn(frame) + 2.0f * kPi * static_cast<float>(orb) / 3.0f;
        mesh.Append(
            Shapes::Prism(8, 3.5f, 5.0f, 0.0f, ExtrudeOptions().SmoothSides().Sides({0.3f, 0.3f, 0.7f, 0.7f}))
                .Translate({17.0f * std::cos(angle), 17.0f * std::sin(angle), 2.0f + 2.0f * std::sin(3.0f * angle)}));
    }
    return mesh;
}

Mesh RainbowMesh(int frame)
{
    return Shapes::Ring(13.0f, 19.0f, 36).RotateZ(Turn(frame)).Translate({0.0f, 0.0f, -7.0f});
}

Color Hue(float turn)
{
    const auto channel = [turn](float offset) { return 0.5f + 0.5f * std::cos(2.0f * kPi * (turn - offset)); };
    return {channel(0.0f), channel(1.0f / 3.0f), channel(2.0f / 3.0f), 1.0f};
}

Picture StarPicture()
{
    Picture picture(64, 64, {1.0f, 0.8f, 0.2f, 1.0f});
    picture.Fill(Paint::Radial(
        {32.0f, 32.0f}, 32.0f,
        {{0.0f, {1.0f, 1.0f, 0.8f, 1.0f}}, {0.5f, {1.0f, 0.8f, 0.2f, 1.0f}}, {1.0f, {0.8f, 0.45f, 0.05f, 1.0f}}}));
    return picture;
}

Picture OrbPicture()
{
    Picture picture(64, 64);
    picture.Fill(Paint::Radial(
        {32.0f, 32.0f}, 32.0f,
        {{0.0f, {1.0f, 1.0f, 1.0f, 1.0f}}, {0.6f, {0.75f, 0.5f, 1.0f, 0.95f}}, {1.0f, {0.4f, 0.15f, 0.8f, 0.8f}}}));
    return picture;
}

// The hues run once round the ring; its edges fade out.
Picture RainbowPicture()
{
    Picture picture(128, 128);
    picture.Fill(Paint([](Point p) {
        const float dx = p.x - 64.0f, dy = p.y - 64.0f;
        Color colour = Hue(std::atan2(dy, dx) / (2.0f * kPi));
        const float band = std::fabs(std::hypot(dx, dy) - 52.0f) / 12.0f;
        colour.a = std::max(0.0f, 1.0f - band * band);
        return colour;
    }));
    return picture;
}

void AddToken(ArtList& list, const std::string& name, Mesh (*frame)(int), Picture (*picture)())
{
    const std::string texture = std::string(kFolder) + "textures\\" + name;
    list.AddModel(kFolder + name, [frame, texture] {
        return ModelArt{
            ModelFiles::Morph(BonusGenerator::kFrames, 12.0f, frame, ModelFiles::kWorld),
            Surface::Describe(SurfaceLook(texture + ".jpg").Opacity(texture + "_alpha.jpg").Blending(Blend::Alpha))};
    });
    list.AddTexture(texture, picture);
}

} // namespace

void BonusGenerator::List(ArtList& list) const
{
    AddToken(list, "item_destruction", StarMesh, StarPicture);
    AddToken(list, "combination_destruction", OrbsMesh, OrbPicture);
    AddToken(list, "color_destruction", RainbowMesh, RainbowPicture);
}

} // namespace Content
