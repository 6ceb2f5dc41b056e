#include "tools/content/world/ButterflyGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"

#include <cmath>
#include <string>

namespace Content {
namespace {

constexpr float kPi = 3.14159265f;
constexpr float kHalfSpan = 16.0f; // the pictures cover x and y from -16 to 16 units
constexpr float kHinge = 1.0f;     // the wings turn about the lines x = +-1
constexpr float kWingHalfLength = 12.0f;
constexpr const char* kButterflyTextures = "game_objects\\butterfly\\textures\\butterfly_";
// Shadows lie on the cells' tops: drawn unlit after the opaque world and without writing depth, so the clear
// parts of their pictures never hide the cell they fall on.
constexpr std::uint32_t kShadowFlags = ModelFiles::Model::kTriangleList | ModelFiles::Model::kZTest |
                                       ModelFiles::Model::kDrawLast | ModelFiles::Model::kShown |
                                       ModelFiles::Model::kNoZWrite;
constexpr const char* kShadowTextures = "game_objects\\shadow\\textures\\butterfly_shadow";

float Cycle(float t)
{
    return std::cos(2.0f * kPi * t);
}

// The wings' lift above the horizontal in degrees at a frame (folded upright near 70).
float WingAngle(int frame)
{
    const float k = static_cast<float>(frame);
    if (frame <= 10) // one full beat, frame 10 as frame 0
        return 27.5f + 42.5f * Cycle(k / 10.0f);
    if (frame <= 15) // gliding with the wings spread
        return 70.0f - 60.0f * (k - 10.0f) / 5.0f;
    if (frame <= 25) // folding up while it settles
        return 10.0f + 60.0f * std::sin(0.5f * kPi * (k - 15.0f) / 10.0f);
    if (frame <= 60) { // two slow openings, folded at both ends
        const float s = std::sin(2.0f * kPi * (k - 25.0f) / 35.0f);
        return 70.0f - 50.0f * s * s;
    }
    if (frame <= 70) // two strong beats to lift off
        return 27.5f + 42.5f * Cycle((k - 60.0f) / 5.0f);
    return 70.0f - 30.0f * std::sin(kPi * (k - 70.0f) / 5.0f);
}

// Texture coordinates of a rectangle of model units under the square map of the pictures.
UvRect UvOf(const LayoutRect& rect)
{
    const auto at = [](float units) { return (units + kHalfSpan) / (2.0f * kHalfSpan); };
    return {at(rect.left), at(rect.bottom), at(rect.Right()), at(rect.Top())};
}

const LayoutRect kRightWing{kHinge, -kWingHalfLength, kHalfSpan - kHinge, 2.0f * kWingHalfLength};
const LayoutRect kLeftWing{-kHalfSpan, -kWingHalfLength, kHalfSpan - kHinge, 2.0f * kWingHalfLength};

// One wing flat, turned up by the angle (radians) about its hinge; side +1 right, -1 left.
Mesh Wing(float side, float angle)
{
    const LayoutRect& rect = side > 0.0f ? kRightWing : kLeftWing;
    return Shapes::Panel(rect, UvOf(rect))
        .Translate({-side * kHinge, 0.0f, 0.0f})
        .RotateY(-side * angle)
        .Translate({side * kHinge, 0.0f, 0.0f});
}

Mesh ButterflyMesh(int frame)
{
    const float angle = WingAngle(frame) * kPi / 180.0f;
    const LayoutRect body{-1.2f, -10.0f, 2.4f, 19.0f};
    Mesh mesh = Shapes::Box({body.left, body.bottom, -1.2f}, {body.Right(), body.Top(), 1.2f},
                            ExtrudeOptions().Caps(UvOf(body)).Sides(UvOf({-0.5f, -4.0f, 1.0f, 8.0f})));
    mesh.Append(Wing(1.0f, angle)).Append(Wing(-1.0f, angle));
    // Antennae: two thin strips from the head, standing up.
    for (float side : {-1.0f, 1.0f})
        mesh.Append(Shapes::Ribbon({{0.4f * side, 9.0f, 0.8f}, {2.0f * side, 12.5f, 2.5f}, {3.2f * side, 14.5f, 3.0f}},
                                   {0.5f}, {0.0f, 0.0f, 1.0f}, UvOf({-0.5f, -4.0f, 1.0f, 8.0f})));
    return mesh;
}

// The wings as their shadow falls straight down: each wing's width shrinks by the cosine of its angle.
Mesh ShadowMesh(int frame)
{
    const float squeeze = std::max(0.05f, std::cos(WingAngle(frame) * kPi / 180.0f));
    const LayoutRect body{-1.2f, -10.0f, 2.4f, 19.0f};
    Mesh mesh = Shapes::Panel(body, UvOf(body));
    for (float side : {-1.0f, 1.0f}) {
        const LayoutRect& rect = side > 0.0f ? kRightWing : kLeftWing;
        mesh.Append(Shapes::Panel(rect, UvOf(rect)).Warp([side, squeeze](const Vector3& p) {
            return Vector3{side * (kHinge + (std::fabs(p.x) - kHinge) * squeeze), p.y, p.z};
        }));
    }
    return mesh;
}

// How one colour's wings look: the outline's proportions and the paint.
struct WingLook
{
    float foreReach; // how far the forewing's tip sweeps out and up
    float hindReach; // the hindwing's size
    bool tail;       // a swallow tail on the hindwing
    Color base;      // the wing's main colour (inner)
    Color edge;      // the colour towards the wing's edge
    Color mark;      // spots or bands
    bool bands;      // bands across instead of spots
};

const WingLook kLooks[ButterflyGenerator::kColours] = {
    {1.0f, 1.0f, false, {1.0f, 0.45f, 0.1f, 1.0f}, {0.55f, 0.1f, 0.05f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, false},
    {0.9f, 1.1f, false, {1.0f, 0.92f, 0.2f, 1.0f}, {0.85f, 0.6f, 0.05f, 1.0f}, {0.1f, 0.08f, 0.05f, 1.0f}, true},
    {1.05f, 0.95f, false, {0.3f, 0.75f, 1.0f, 1.0f}, {0.05f, 0.15f, 0.6f, 1.0f}, {0.85f, 0.95f, 1.0f, 1.0f}, false},
    {1.0f, 0.9f, true, {0.45f, 0.95f, 0.35f, 1.0f}, {0.05f, 0.4f, 0.15f, 1.0f}, {0.1f, 0.15f, 0.05f, 1.0f}, true},
    {1.1f, 0.85f, false, {0.85f, 0.45f, 1.0f, 1.0f}, {0.35f, 0.05f, 0.55f, 1.0f}, {1.0f, 0.85f, 0.3f, 1.0f}, false},
};

constexpr float kPixels = 128.0f / (2.0f * kHalfSpan);

Point ToPixels(float side, float x, float y)
{
    return {64.0f + side * x * kPixels, 64.0f + y * kPixels};
}

Outline Forewing(const WingLook& look, float side)
{
    const float r = look.foreReach;
    Outline outline{ToPixels(side, 1.0f, 0.5f)};
    Outlines::AppendBezier(outline, ToPixels(side, 4.0f, 8.0f * r), ToPixels(side, 9.0f * r, 11.5f),
                           ToPixels(side, 14.5f * r, 11.0f), 8);
    Outlines::AppendBezier(outline, ToPixels(side, 15.5f, 8.0f), ToPixels(side, 14.0f, 3.0f),
                           ToPixels(side, 9.0f, 0.5f), 6);
    outline.push_back(ToPixels(side, 1.0f, -0.5f));
    return side > 0.0f ? outline : Outlines::Reversed(outline);
}

Outline Hindwing(const WingLook& look, float side)
{
    const float r = look.hindReach;
    Outline outline{ToPixels(side, 1.0f, -0.5f)};
    Outlines::AppendBezier(outline, ToPixels(side, 7.0f * r, 0.5f), ToPixels(side, 12.5f * r, -3.0f),
                           ToPixels(side, 11.5f * r, -7.0f * r), 6);
    if (look.tail)
        outline.push_back(ToPixels(side, 9.0f, -11.8f));
    Outlines::AppendBezier(outline, ToPixels(side, 10.0f * r, -10.0f * r), ToPixels(side, 4.5f, -11.0f * r),
                           ToPixels(side, 1.2f, -6.0f), 6);
    return side > 0.0f ? outline : Outlines::Reversed(outline);
}

Picture ButterflyPicture(int colour)
{
    const WingLook& look = kLooks[colour];
    Picture picture(128, 128, {look.base.r, look.base.g, look.base.b, 0.0f});
    for (float side : {-1.0f, 1.0f}) {
        for (const Outline& wing : {Forewing(look, side), Hindwing(look, side)}) {
            const Shape shape = Shape::Polygon(wing);
            picture.Draw(shape, Paint::Radial(ToPixels(side, 1.0f, 0.0f), 15.0f * kPixels,
                                              {{0.2f, look.base}, {1.0f, look.edge}}));
            picture.Draw(shape.Stroke(3.0f), Color{0.08f, 0.05f, 0.05f, 1.0f});
        }
        if (look.bands) {
            for (float y : {6.0f, -4.0f})
                picture.Draw(Shape::Ellipse(ToPixels(side, 8.0f, y), 3.0f * kPixels, 1.0f * kPixels).Soft(3.0f),
                             look.mark);
        } else {
            for (const Point& spot : {Point{11.0f, 8.0f}, Point{13.0f, 5.0f}, Point{7.0f, -5.0f}})
                picture.Draw(Shape::Circle(ToPixels(side, spot.x, spot.y), 1.1f * kPixels).Soft(2.0f), look.mark);
        }
    }
    picture.Draw(Shape::Ellipse({64.0f, 60.0f}, 1.3f * kPixels, 9.5f * kPixels), Color{0.12f, 0.08f, 0.06f, 1.0f});
    picture.Draw(Shape::Circle(ToPixels(1.0f, 0.0f, 9.5f), 1.6f * kPixels), Color{0.1f, 0.07f, 0.05f, 1.0f});
    return picture;
}

// A colour's silhouette, soft-edged, at the opacity of the shadow.
Picture ShadowPicture(int colour)
{
    const Picture butterfly = ButterflyPicture(colour);
    Picture shadow(64, 64, {0.08f, 0.08f, 0.1f, 0.0f});
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 64; ++x) {
            float alpha = 0.0f;
            for (std::uint32_t k = 0; k < 4; ++k)
                alpha += butterfly.At(2 * x + k % 2, 2 * y + k / 2).a;
            shadow.At(x, y) = {0.08f, 0.08f, 0.1f, 0.6f * alpha / 4.0f};
        }
    }
    shadow.Blur(1.5f);
    return shadow;
}

} // namespace

void ButterflyGenerator::List(ArtList& list) const
{
    list.AddModel("game_objects\\butterfly\\butterfly", [] {
        return ModelArt{ModelFiles::Morph(kFrames, 30.0f, ButterflyMesh, ModelFiles::kWorld),
                        Surface::Describe(SurfaceLook(std::string(kButterflyTextures) + "0.jpg")
                                              .Opacity(std::string(kButterflyTextures) + "0_alpha.jpg")
                                              .Blending(Blend::Alpha))};
    });
    for (int colour = 0; colour < kColours; ++colour)
        list.AddTexture(kButterflyTextures + std::to_string(colour), [colour] { return ButterflyPicture(colour); });

    const std::string shadow = kShadowTextures;
    list.AddModel("game_objects\\shadow\\shadow", [shadow] {
        return ModelArt{
            ModelFiles::Morph(kFrames, 30.0f, ShadowMesh, kShadowFlags),
            Surface::Describe(SurfaceLook(shadow + ".jpg").Opacity(shadow + "_0_alpha.jpg").Blending(Blend::Alpha))};
    });
    list.AddTexture(shadow + ".jpg", shadow + "_0_alpha.jpg", [] { return ShadowPicture(0); });
    for (int colour = 1; colour < kColours; ++colour)
        list.AddTexture("", shadow + "_" + std::to_string(colour) + "_alpha.jpg",
                        [colour] { return ShadowPicture(colour); });
}

} // namespace Content
