#include "tools/content/world/ButterflyGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/art/Surface.h"

#include <algorithm>
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

// The marks painted over a colour's wings, each of its own kind so that the colours differ by more than hue.
enum class Marks
{
    Spots, // pale spots on a dark forewing tip
    Bands, // dark bands across both wings
    Rim,   // pale dots along the wings' edges
    Veins, // dark veins from the body to the edges
    Eyes,  // an eye on each hindwing
};

// How one colour's wings look: the outline's proportions and edge, and the paint. The colours are picked so
// that every pair of them and of the cells stays apart in lightness or tint for the colour blind as well.
struct WingLook
{
    float foreReach; // how far the forewing's tip sweeps out and up
    float hindReach; // the hindwing's size
    bool tail;       // a swallow tail on the hindwing
    bool hookedTip;  // a pointed forewing tip
    int scallops;    // notches along the hindwing's edge (0: smooth)
    Color base;      // the wing's main colour (inner)
    Color edge;      // the colour towards the wing's edge
    Color mark;
    Marks marks;
};

// clang-format off
const WingLook kLooks[ButterflyGenerator::kColours] = {
    // reach: fore, hind; tail, hooked tip, scallops; base, edge and mark colours; marks
    {1.0f,  1.05f, false, false, 0, {0.95f, 0.05f, 0.1f, 1.0f},  {0.65f, 0.0f, 0.05f, 1.0f}, {1.0f, 0.95f, 0.9f, 1.0f},
     Marks::Spots},
    {0.95f, 1.0f,  true,  false, 0, {1.0f, 0.7f, 0.05f, 1.0f},   {1.0f, 0.55f, 0.0f, 1.0f},  {0.1f, 0.08f, 0.05f, 1.0f},
     Marks::Bands},
    {1.05f, 1.0f,  false, false, 7, {0.25f, 0.05f, 0.8f, 1.0f},  {0.1f, 0.0f, 0.45f, 1.0f},  {0.9f, 0.95f, 1.0f, 1.0f},
     Marks::Rim},
    {1.0f,  0.9f,  false, true,  0, {0.92f, 1.0f, 0.85f, 1.0f},  {0.8f, 0.97f, 0.7f, 1.0f}, {0.45f, 0.62f, 0.38f, 1.0f},
     Marks::Veins},
    {1.1f,  0.95f, false, false, 4, {0.32f, 0.06f, 0.28f, 1.0f}, {0.15f, 0.0f, 0.13f, 1.0f}, {1.0f, 0.8f, 0.2f, 1.0f},
     Marks::Eyes},
};
// clang-format on

constexpr float kPixels = 128.0f / (2.0f * kHalfSpan);
constexpr Color kOutlineColour{0.08f, 0.05f, 0.05f, 1.0f};

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
    if (look.hookedTip)
        outline.push_back(ToPixels(side, 15.2f, 12.4f));
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

// The point a fraction of the way from the wing's root to p.
Point Towards(float side, const Point& p, float fraction)
{
    const Point root = ToPixels(side, 1.0f, 0.0f);
    return {root.x + fraction * (p.x - root.x), root.y + fraction * (p.y - root.y)};
}

// A thin straight stroke from a to b, width pixels wide.
Shape Line(const Point& a, const Point& b, float width)
{
    const float length = std::max(1e-3f, std::hypot(b.x - a.x, b.y - a.y));
    const Point across{-0.5f * width * (b.y - a.y) / length, 0.5f * width * (b.x - a.x) / length};
    return Shape::Polygon({{a.x - across.x, a.y - across.y},
                           {b.x - across.x, b.y - across.y},
                           {b.x + across.x, b.y + across.y},
                           {a.x + across.x, a.y + across.y}});
}

// Notches cut into the hindwing's outer edge, evenly along its outline away from the body.
void CutScallops(Picture& picture, const Outline& hindwing, int scallops)
{
    const std::size_t first = 3, last = hindwing.size() - 4;
    for (int k = 0; k < scallops; ++k) {
        const std::size_t at = first + static_cast<std::size_t>(k) * (last - first) / std::max(1, scallops - 1);
        picture.Cut(Shape::Circle(hindwing[at], 0.9f * kPixels).Soft(1.5f));
    }
}

void DrawMarks(Picture& picture, const WingLook& look, float side, const Outline& forewing, const Outline& hindwing)
{
    switch (look.marks) {
    case Marks::Spots:
        picture.Draw(Shape::Ellipse(ToPixels(side, 12.0f, 8.5f), 3.6f * kPixels, 2.6f * kPixels).Soft(3.0f),
                     kOutlineColour);
        for (const Point& spot : {Point{11.5f, 8.5f}, Point{13.3f, 7.0f}, Point{7.0f, -5.0f}})
            picture.Draw(Shape::Circle(ToPixels(side, spot.x, spot.y), 1.0f * kPixels).Soft(2.0f), look.mark);
        break;
    case Marks::Bands:
        for (const Point& band : {Point{6.0f, 6.5f}, Point{10.5f, 8.0f}, Point{6.0f, -4.5f}})
            picture.Draw(Shape::Ellipse(ToPixels(side, band.x, band.y), 0.6f * kPixels, 3.0f * kPixels).Soft(2.0f),
                         look.mark);
        break;
    case Marks::Rim:
        for (const Outline* wing : {&forewing, &hindwing}) {
            for (std::size_t k = 2; k + 2 < wing->size(); k += 2)
                picture.Draw(Shape::Circle(Towards(side, (*wing)[k], 0.85f), 0.5f * kPixels).Soft(1.5f), look.mark);
        }
        break;
    case Marks::Veins:
        for (const Outline* wing : {&forewing, &hindwing}) {
            for (std::size_t k = 2; k + 2 < wing->size(); k += 3)
                picture.Draw(Line(ToPixels(side, 1.0f, 0.0f), Towards(side, (*wing)[k], 0.9f), 1.3f).Soft(1.5f),
                             look.mark);
        }
        break;
    case Marks::Eyes:
        picture.Draw(Shape::Circle(ToPixels(side, 7.0f, -5.0f), 2.6f * kPixels).Soft(1.5f), look.mark);
        picture.Draw(Shape::Circle(ToPixels(side, 7.0f, -5.0f), 1.6f * kPixels).Soft(1.5f), kOutlineColour);
        picture.Draw(Shape::Circle(ToPixels(side, 7.4f, -4.6f), 0.5f * kPixels).Soft(1.5f), look.mark);
        break;
    }
}

Picture ButterflyPicture(int colour)
{
    const WingLook& look = kLooks[colour];
    Picture picture(128, 128, {look.base.r, look.base.g, look.base.b, 0.0f});
    for (float side : {-1.0f, 1.0f}) {
        const Outline forewing = Forewing(look, side);
        const Outline hindwing = Hindwing(look, side);
        for (const Outline* wing : {&forewing, &hindwing}) {
            const Shape shape = Shape::Polygon(*wing);
            picture.Draw(shape, Paint::Radial(ToPixels(side, 1.0f, 0.0f), 15.0f * kPixels,
                                              {{0.2f, look.base}, {1.0f, look.edge}}));
            picture.Draw(shape.Stroke(3.0f), kOutlineColour);
        }
        DrawMarks(picture, look, side, forewing, hindwing);
        CutScallops(picture, hindwing, look.scallops);
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
