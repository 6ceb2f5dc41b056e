#include "tools/content/scene/DecorationPictures.h"

#include "tools/content/Layout.h"
#include "tools/content/scene/Lettering.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace {

constexpr Color kGold{1.0f, 0.84f, 0.45f, 1.0f};
constexpr Color kDeepGold{0.7f, 0.5f, 0.2f, 1.0f};
constexpr Color kWoodDark{0.24f, 0.15f, 0.08f, 1.0f};
constexpr Color kWoodLight{0.48f, 0.33f, 0.18f, 1.0f};

Color Mix(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The distance of a point inside the rounded screen rectangle from its edge (negative outside).
float InsideScreen(Point p, float radius)
{
    const float qx = std::fabs(p.x - 400.0f) - (400.0f - radius), qy = std::fabs(p.y - 300.0f) - (300.0f - radius);
    return -(std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius);
}

// A plank with a light top edge, a gold rim and wood grain, over the whole picture's rounded rectangle.
void DrawBoard(Picture& picture, float radius, const Color& dark, const Color& light, std::uint32_t seed)
{
    const float w = static_cast<float>(picture.Width()), h = static_cast<float>(picture.Height());
    const Shape board = Shape::RoundedRect({1.0f, 1.0f, w - 2.0f, h - 2.0f}, radius);
    const Paint grain = Paint::Noise(ValueNoise(seed), 10.0f, 3, {{0.0f, dark}, {1.0f, light}});
    picture.Draw(board, Paint([&](Point p) {
                     const float stretch = ValueNoise(seed + 1).Fbm(p.x / 60.0f, p.y / 6.0f, 3);
                     return Mix(grain.At(p), Mix(dark, light, stretch), 0.6f);
                 }));
    picture.Draw(board.Grown(-0.1f * h).Stroke(0.03f * h), Color{0.0f, 0.0f, 0.0f, 0.25f});
    picture.Draw(board.Grown(-0.04f * h).Stroke(0.05f * h),
                 Paint::Linear({0.0f, 0.0f}, {0.0f, h}, {{0.0f, kDeepGold}, {1.0f, kGold}}));
}

} // namespace

Picture DecorationPictures::Frame()
{
    // 1024 x 1024 over the 800 x 600 screen: each pixel is painted from the screen point it shows.
    Picture picture(1024, 1024, kWoodDark);
    const ValueNoise grain(149), leaves(151);
    const float sx = 800.0f / 1024.0f, sy = 600.0f / 1024.0f;
    picture.Fill(Paint([&](Point pixel) {
        const Point p{pixel.x * sx, pixel.y * sy};
        const float d = InsideScreen(p, 30.0f);
        const float along = (p.x + p.y) / 40.0f;
        Color c = Mix(kWoodDark, kWoodLight, grain.Fbm(along, d / 5.0f, 3));
        c = Mix(c, Color{1.0f, 0.95f, 0.75f, 1.0f}, 0.35f * std::clamp(1.0f - std::fabs(d - 4.0f) / 2.5f, 0.0f, 1.0f));
        const float rim = std::clamp(1.0f - std::fabs(d - (kFrameBorder - 2.5f)) / 2.2f, 0.0f, 1.0f);
        c = Mix(c, kGold, rim);
        // Ivy: leaf-shaped patches of green along the band.
        const float ivy = leaves.Fbm(p.x / 14.0f, p.y / 14.0f, 3);
        if (ivy > 0.58f && d < kFrameBorder - 5.0f)
            c = Mix(c, Mix(Color{0.18f, 0.4f, 0.16f, 1.0f}, Color{0.45f, 0.7f, 0.3f, 1.0f}, (ivy - 0.58f) * 4.0f),
                    std::clamp((ivy - 0.58f) * 12.0f, 0.0f, 1.0f));
        c.a = std::clamp(kFrameBorder + 1.0f - d, 0.0f, 1.0f) * std::clamp(d + 1.0f, 0.0f, 1.0f);
        return c;
    }));
    return picture;
}

Picture DecorationPictures::Vine()
{
    Picture picture(64, 64, {0.3f, 0.45f, 0.2f, 0.0f});
    picture.Draw(Shape::RoundedRect({4.0f, 0.0f, 24.0f, 64.0f}, 10.0f), Paint([](Point p) {
                     const float twist = 0.5f + 0.5f * std::sin(p.y * 0.6f + p.x * 0.35f);
                     return Mix(Color{0.22f, 0.36f, 0.14f, 1.0f}, Color{0.5f, 0.68f, 0.3f, 1.0f}, twist);
                 }));
    Outline leaf{{48.0f, 2.0f}};
    Outlines::AppendBezier(leaf, {62.0f, 20.0f}, {60.0f, 46.0f}, {48.0f, 62.0f}, 10);
    Outlines::AppendBezier(leaf, {36.0f, 46.0f}, {34.0f, 20.0f}, {48.0f, 2.0f}, 10);
    leaf.pop_back();
    picture.Draw(Shape::Polygon(leaf),
                 Paint::Linear({36.0f, 0.0f}, {60.0f, 64.0f},
                               {{0.0f, Color{0.2f, 0.45f, 0.18f, 1.0f}}, {1.0f, Color{0.55f, 0.8f, 0.35f, 1.0f}}}));
    picture.Draw(Shape::Polygon({{48.0f, 4.0f}, {48.0f, 58.0f}}).Grown(0.8f), Color{0.75f, 0.9f, 0.5f, 0.8f});
    return picture;
}

Picture DecorationPictures::Shine()
{
    Picture picture(128, 64, {1.0f, 0.95f, 0.75f, 0.0f});
    picture.Draw(Shape::Everywhere(), Paint([](Point p) {
                     const float x = (p.x - 64.0f) / 64.0f, y = (p.y - 32.0f) / 32.0f;
                     return Color{1.0f, 0.95f, 0.78f, std::clamp(1.0f - x * x, 0.0f, 1.0f) * (1.0f - 0.6f * y * y)};
                 }));
    return picture;
}

Picture DecorationPictures::Panel()
{
    Picture picture(512, 64, {0.06f, 0.2f, 0.22f, 0.0f});
    const Shape panel = Shape::RoundedRect({1.0f, 1.0f, 510.0f, 62.0f}, 14.0f);
    picture.Draw(panel, Paint::Linear({0.0f, 0.0f}, {0.0f, 64.0f},
                                      {{0.0f, Color{0.04f, 0.14f, 0.16f, 0.88f}},
                                       {0.6f, Color{0.08f, 0.24f, 0.26f, 0.86f}},
                                       {1.0f, Color{0.16f, 0.34f, 0.34f, 0.9f}}}));
    picture.Draw(panel.Grown(-2.0f).Stroke(3.0f), kGold);
    picture.Draw(panel.Grown(-7.0f).Stroke(1.0f), Color{1.0f, 0.9f, 0.6f, 0.4f});
    return picture;
}

Picture DecorationPictures::Plaque()
{
    Picture picture(512, 128, {0.4f, 0.28f, 0.15f, 0.0f});
    DrawBoard(picture, 28.0f, kWoodDark, kWoodLight, 157);
    return picture;
}

Picture DecorationPictures::Name(const std::string& name, float capHeight)
{
    Picture picture(1024, 128, {1.0f, 0.85f, 0.45f, 0.0f});
    const Point centre{512.0f, 64.0f};
    const float weight = 0.17f * capHeight;
    Lettering::DrawCentred(picture, name, {centre.x + 3.0f, centre.y - 4.0f}, capHeight, weight + 10.0f,
                           Color{0.12f, 0.06f, 0.02f, 0.9f});
    Lettering::DrawCentred(picture, name, centre, capHeight, weight,
                           Paint::Linear({0.0f, centre.y - 0.5f * capHeight}, {0.0f, centre.y + 0.5f * capHeight},
                                         {{0.0f, kDeepGold}, {0.55f, kGold}, {1.0f, Color{1.0f, 0.97f, 0.85f, 1.0f}}}));
    return picture;
}

} // namespace Content
