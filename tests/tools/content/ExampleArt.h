// A small art generator of the kind the game's generators are, for the art-kit tests: a lit hexagonal cell with a
// painted texture, a button base that unfolds over 16 frames with a grid of four state pictures, a two-bone
// skeletal figure, a reference rectangle that is never drawn, and a glowing particle system.
#pragma once

#include "tests/support/TestEnvironment.h"
#include "tools/content/ContentTool.h"
#include "tools/content/art/ArtGenerator.h"
#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/ParticleKeys.h"
#include "tools/content/art/Rig.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

namespace ArtTesting {

using namespace Content;

constexpr int kUnfoldFrames = 16;
const LayoutRect kButton{100.0f, 420.0f, 300.0f, 140.0f};

// The cell's walls show the picture's bottom rows, below the disc and the border.
const ExtrudeOptions kCellWalls = ExtrudeOptions().Sides({0.0f, 0.0f, 1.0f, 0.06f});

// The cell's picture: a warm disc in a hexagonal border, as the cell's planar map lays the top face on it.
inline Picture CellPicture()
{
    Picture picture(128, 128, {0.35f, 0.25f, 0.15f, 1.0f});
    picture.Fill(Paint::Noise(ValueNoise(7, 8), 16.0f, 3,
                              {{0.0f, {0.55f, 0.42f, 0.25f, 1.0f}}, {1.0f, {0.75f, 0.62f, 0.40f, 1.0f}}}));
    picture.Draw(Shape::Polygon(Outlines::RegularPolygon(6, 60.0f, 0.0f, {64.0f, 64.0f})).Stroke(6.0f),
                 Color{0.25f, 0.15f, 0.08f, 1.0f});
    picture.Draw(
        Shape::Circle({64.0f, 64.0f}, 30.0f).Soft(8.0f),
        Paint::Radial({64.0f, 64.0f}, 30.0f, {{0.0f, {0.4f, 0.8f, 1.0f, 1.0f}}, {1.0f, {0.1f, 0.3f, 0.9f, 1.0f}}}));
    return picture;
}

// Four button states side by side: a lighter face as the state rises, a dark rounded border, light at the top.
inline Picture ButtonPicture()
{
    std::vector<Picture> states;
    for (int state = 0; state < 4; ++state) {
        const float lift = 0.12f * static_cast<float>(state);
        Picture cell(64, 32, {0.2f, 0.3f, 0.6f, 0.0f});
        const Shape face = Shape::RoundedRect({1.0f, 1.0f, 62.0f, 30.0f}, 8.0f);
        cell.Draw(face, Paint::Linear({0.0f, 0.0f}, {0.0f, 32.0f},
                                      {{0.0f, {0.15f + lift, 0.25f + lift, 0.55f + lift, 1.0f}},
                                       {1.0f, {0.45f + lift, 0.6f + lift, 0.9f, 1.0f}}}));
        cell.Draw(face.Stroke(3.0f), Color{0.95f, 0.85f, 0.4f, 1.0f});
        states.push_back(std::move(cell));
    }
    return Picture::Grid(states, 4, 1);
}

inline Picture GlowPicture()
{
    Picture picture(32, 32, {1.0f, 0.9f, 0.5f, 0.0f});
    picture.Draw(
        Shape::Everywhere(),
        Paint::Radial({16.0f, 16.0f}, 15.0f, {{0.0f, {1.0f, 0.95f, 0.7f, 1.0f}}, {1.0f, {1.0f, 0.8f, 0.3f, 0.0f}}}));
    return picture;
}

// The button frame at frame k: grown from a line across its middle (frame 0) to the whole rectangle.
inline Mesh ButtonFrame(int k)
{
    const float open = static_cast<float>(k) / static_cast<float>(kUnfoldFrames - 1);
    const float height = kButton.height * open;
    return Shapes::Frame({kButton.left, kButton.bottom + 0.5f * (kButton.height - height), kButton.width, height},
                         14.0f, 24.0f, 6);
}

// Two bars on two bones; the upper one turns a quarter about x over the two frames.
inline Formats::ModelFile TwoBoneFigure()
{
    Rig rig;
    const std::uint16_t lower = rig.AddBone("lower");
    const std::uint16_t upper = rig.AddBone("upper");
    rig.Bind(lower, Shapes::Box({-2.0f, -2.0f, 0.0f}, {2.0f, 2.0f, 10.0f}));
    rig.Bind(upper, Shapes::Box({-1.5f, -1.5f, 0.0f}, {1.5f, 1.5f, 8.0f}));
    const RigKey still;
    RigKey raised;
    raised.translation = {0.0f, 0.0f, 10.0f};
    rig.AddFrame({still, raised});
    raised.rotation = KeystrelEngine::Quaternion::FromAxisAngle({1.0f, 0.0f, 0.0f}, 1.5707964f);
    rig.AddFrame({still, raised});
    return rig.Build(2.0f, ModelFiles::kWorld);
}

class ExampleArt : public ArtGenerator
{
protected:
    void List(ArtList& list) const override
    {
        list.AddModel("tests\\cell", [] {
            return ModelArt{ModelFiles::Static(Shapes::Prism(6, 20.0f, 8.0f, 0.0f, kCellWalls), ModelFiles::kWorld),
                            Surface::Describe(SurfaceLook("cell.jpg"))};
        });
        list.AddOpaqueTexture("tests\\cell", CellPicture);
        list.AddModel("tests\\controls\\button", [] {
            return ModelArt{ModelFiles::Morph(kUnfoldFrames, 25.0f, ButtonFrame),
                            Surface::Describe(SurfaceLook("tests\\textures\\button.jpg")
                                                  .Opacity("tests\\textures\\button_alpha.jpg")
                                                  .Blending(Blend::Alpha)
                                                  .Grid(4, 1))};
        });
        list.AddTexture("tests\\textures\\button", ButtonPicture);
        list.AddModel("tests\\controls\\button_text_area", [] {
            return ModelArt{ModelFiles::Static(Shapes::Panel({120.0f, 460.0f, 260.0f, 60.0f})), Surface::Untextured()};
        });
        list.AddModel("tests\\figure", [] { return ModelArt{TwoBoneFigure(), Surface::Untextured()}; });
        list.AddParticles("tests\\glow", [] {
            Formats::ParticleFile system;
            system.capacity = 40;
            system.rate = ParticleKeys::Burst(20.0f);
            system.colour = ParticleKeys::Fade({1.0f, 0.9f, 0.5f, 1.0f}, {1.0f, 0.6f, 0.2f, 0.0f});
            system.size = ParticleKeys::Ramp(4.0f, 0.0f);
            system.directionSpread = ParticleKeys::Same({1.0f, 1.0f, 0.0f});
            system.speedCentre = ParticleKeys::Ramp(0.3f, 0.1f);
            return ParticleArt{
                system, Surface::Describe(SurfaceLook("glow.jpg").Opacity("glow_alpha.jpg").Blending(Blend::Additive))};
        });
        list.AddTexture("tests\\glow", GlowPicture);
    }
};

// Writes the example art's files below "<base>/Data".
inline void WriteExampleArt()
{
    std::vector<std::unique_ptr<Generator>> generators;
    generators.push_back(std::make_unique<ExampleArt>());
    ContentTool(std::move(generators)).Run(std::filesystem::path(TestSupport::BaseFolder()) / "Data", "test");
}

} // namespace ArtTesting
