#include "tools/content/scene/LandscapePictures.h"

#include "tools/content/art/RandomSequence.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace Content {
namespace {

constexpr float kTurn = 6.2831853f;

// The source of scatter positions and sizes.
using Scatter = RandomSequence;

Color Rgb(float r, float g, float b, float a = 1.0f)
{
    return {r, g, b, a};
}

Color Mix(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

float Fw(std::uint32_t value)
{
    return static_cast<float>(value);
}

// The paint laid over everything below the ridge line y = ridge(x), with an anti-aliased edge.
void FillBelow(Picture& picture, const std::function<float(float)>& ridge, const Paint& paint)
{
    picture.Draw(Shape::Everywhere(), Paint([&](Point p) {
                     Color c = paint.At(p);
                     c.a *= std::clamp(ridge(p.x) - p.y + 0.5f, 0.0f, 1.0f);
                     return c;
                 }));
}

// A tuft of grass blades rising from the foot: tapered, leaning, darker at the root.
void DrawBlade(Picture& picture, Point foot, float width, float height, float lean, const Color& root, const Color& tip)
{
    Outline blade{{foot.x - 0.5f * width, foot.y}, {foot.x + 0.5f * width, foot.y}};
    Outlines::AppendBezier(blade, {foot.x + 0.4f * width, foot.y + 0.5f * height},
                           {foot.x + 0.6f * lean, foot.y + 0.8f * height}, {foot.x + lean, foot.y + height}, 6);
    Outlines::AppendBezier(blade, {foot.x + 0.5f * lean, foot.y + 0.8f * height},
                           {foot.x - 0.4f * width, foot.y + 0.5f * height}, {foot.x - 0.5f * width, foot.y}, 6);
    blade.pop_back();
    picture.Draw(Shape::Polygon(blade), Paint::Linear(foot, {foot.x, foot.y + height}, {{0.0f, root}, {1.0f, tip}}));
}

// A five-petalled flower of petal radius r (squash stretches it upwards, for cards drawn flattened).
void DrawFlower(Picture& picture, Point centre, float r, float squash, const Color& petal, const Color& heart)
{
    for (int k = 0; k < 5; ++k) {
        const float angle = kTurn * static_cast<float>(k) / 5.0f + 0.3f;
        picture.Draw(
            Shape::Ellipse({centre.x + r * std::cos(angle), centre.y + r * squash * std::sin(angle)}, r, r * squash),
            petal);
    }
    picture.Draw(Shape::Ellipse(centre, 0.6f * r, 0.6f * r * squash), heart);
}

// A cloud of soft puffs over a flat base, lighter at its top.
void DrawCloud(Picture& picture, Point centre, float size, float squash, Scatter& scatter)
{
    const Paint shade = Paint::Linear({centre.x, centre.y - size * squash}, {centre.x, centre.y + 1.2f * size * squash},
                                      {{0.0f, Rgb(0.78f, 0.82f, 0.9f, 0.95f)}, {1.0f, Rgb(1.0f, 1.0f, 1.0f, 0.95f)}});
    picture.Draw(Shape::Ellipse(centre, 2.2f * size, 0.45f * size * squash).Soft(4.0f), shade);
    for (int k = 0; k < 7; ++k) {
        const float x = centre.x + scatter.Between(-1.6f, 1.6f) * size;
        const float r = size * scatter.Between(0.45f, 0.85f) * (1.0f - 0.25f * std::fabs(x - centre.x) / size);
        picture.Draw(Shape::Ellipse({x, centre.y + 0.3f * r * squash}, r, r * squash).Soft(4.0f), shade);
    }
}

} // namespace

Picture LandscapePictures::Sky(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height), squash = (h / 600.0f) / (w / 800.0f);
    Picture picture(width, height);
    picture.Fill(Paint::Linear({0.0f, 0.0f}, {0.0f, h},
                               {{0.0f, Rgb(0.99f, 0.87f, 0.7f)},
                                {0.3f, Rgb(0.86f, 0.9f, 0.88f)},
                                {0.65f, Rgb(0.55f, 0.76f, 0.94f)},
                                {1.0f, Rgb(0.3f, 0.52f, 0.86f)}}));
    const Point sun{0.8f * w, 0.8f * h};
    picture.Draw(Shape::Everywhere(), Paint([&](Point p) {
                     const float dx = (p.x - sun.x) / w, dy = (p.y - sun.y) / (h * squash);
                     const float glow = std::exp(-14.0f * (dx * dx + dy * dy));
                     return Rgb(1.0f, 0.96f, 0.82f, 0.75f * glow);
                 }));
    picture.Draw(Shape::Ellipse(sun, 0.035f * w, 0.035f * w * squash).Soft(3.0f), Rgb(1.0f, 0.98f, 0.9f));
    return picture;
}

Picture LandscapePictures::Clouds(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height), squash = (h / 270.0f) / (w / 880.0f);
    Picture picture(width, height, Rgb(1.0f, 1.0f, 1.0f, 0.0f));
    Scatter scatter(11);
    const Point places[] = {{0.12f, 0.62f}, {0.36f, 0.4f}, {0.6f, 0.7f}, {0.86f, 0.45f}, {0.5f, 0.22f}};
    const float sizes[] = {0.06f, 0.045f, 0.055f, 0.05f, 0.03f};
    for (std::size_t k = 0; k < std::size(places); ++k)
        DrawCloud(picture, {places[k].x * w, places[k].y * h}, sizes[k] * w, squash, scatter);
    return picture;
}

Picture LandscapePictures::FarHills(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height);
    const ValueNoise noise(23);
    Picture picture(width, height, Rgb(0.5f, 0.64f, 0.76f, 0.0f));
    FillBelow(
        picture, [&](float x) { return h * (0.42f + 0.38f * noise.Fbm(x / w * 4.0f, 0.5f, 4)); },
        Paint::Linear({0.0f, 0.0f}, {0.0f, h}, {{0.0f, Rgb(0.42f, 0.56f, 0.66f)}, {0.8f, Rgb(0.64f, 0.75f, 0.84f)}}));
    return picture;
}

Picture LandscapePictures::NearHills(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height);
    const ValueNoise noise(37);
    const auto ridge = [&](float x) {
        return h * (0.56f + 0.16f * std::sin(x / w * kTurn * 1.3f + 0.8f) + 0.12f * noise.Fbm(x / w * 6.0f, 1.5f, 3));
    };
    Picture picture(width, height, Rgb(0.4f, 0.6f, 0.33f, 0.0f));
    const Paint grass =
        Paint::Noise(ValueNoise(41), 24.0f, 4, {{0.0f, Rgb(0.36f, 0.56f, 0.3f)}, {1.0f, Rgb(0.52f, 0.7f, 0.36f)}});
    FillBelow(picture, ridge, Paint([&](Point p) {
                  return Mix(grass.At(p), Rgb(0.62f, 0.76f, 0.5f), std::clamp(p.y / h - 0.2f, 0.0f, 0.6f));
              }));
    Scatter scatter(5);
    for (int k = 0; k < 28; ++k) {
        const float x = scatter.Between(0.0f, w), r = scatter.Between(0.004f, 0.008f) * w;
        picture.Draw(Shape::Ellipse({x, ridge(x) - 0.2f * r}, r, 1.5f * r).Soft(2.0f), Rgb(0.3f, 0.48f, 0.3f));
    }
    return picture;
}

Picture LandscapePictures::Meadow(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height), squash = (h / 200.0f) / (w / 800.0f);
    const ValueNoise noise(53);
    const auto ridge = [&](float x) {
        return h * (0.7f + 0.1f * std::sin(x / w * kTurn * 0.9f + 2.0f) + 0.08f * noise.Fbm(x / w * 5.0f, 0.5f, 3));
    };
    Picture picture(width, height, Rgb(0.4f, 0.66f, 0.28f, 0.0f));
    const Paint grass =
        Paint::Noise(ValueNoise(59), 20.0f, 4, {{0.0f, Rgb(0.3f, 0.55f, 0.22f)}, {1.0f, Rgb(0.5f, 0.74f, 0.3f)}});
    FillBelow(picture, ridge, Paint([&](Point p) {
                  return Mix(grass.At(p), Rgb(0.2f, 0.38f, 0.16f),
                             0.45f * std::clamp(1.0f - p.y / h * 1.6f, 0.0f, 1.0f));
              }));
    Scatter scatter(61);
    const Color petals[] = {Rgb(1.0f, 1.0f, 0.96f), Rgb(1.0f, 0.86f, 0.3f), Rgb(0.98f, 0.62f, 0.76f),
                            Rgb(0.72f, 0.66f, 1.0f)};
    for (int k = 0; k < 150; ++k) {
        const float x = scatter.Between(0.0f, w), y = scatter.Between(0.04f * h, ridge(x) - 0.06f * h);
        const float r = 1.2f + 1.8f * (1.0f - y / h);
        DrawFlower(picture, {x, y}, r, squash * 0.6f, petals[k % 4], Rgb(1.0f, 0.75f, 0.2f));
    }
    return picture;
}

Picture LandscapePictures::Grass(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height);
    Picture picture(width, height, Rgb(0.3f, 0.55f, 0.2f, 0.0f));
    Scatter scatter(71);
    for (int k = 0; k < 320; ++k) {
        const float x = scatter.Between(-0.02f * w, 1.02f * w);
        // Taller tufts towards the sides, so the middle of the screen stays open.
        const float side = std::fabs(x / w - 0.5f) * 2.0f;
        const float tall = h * scatter.Between(0.2f, 0.45f + 0.5f * side);
        const float shade = scatter.Between(0.0f, 1.0f);
        DrawBlade(picture, {x, -2.0f}, scatter.Between(5.0f, 10.0f), tall, scatter.Between(-0.08f, 0.08f) * w,
                  Mix(Rgb(0.12f, 0.3f, 0.1f), Rgb(0.2f, 0.4f, 0.14f), shade),
                  Mix(Rgb(0.52f, 0.74f, 0.28f), Rgb(0.74f, 0.84f, 0.4f), shade));
    }
    return picture;
}

Picture LandscapePictures::Tree(std::uint32_t width, std::uint32_t height, std::uint32_t seed)
{
    const float w = Fw(width), h = Fw(height);
    Picture picture(width, height, Rgb(0.3f, 0.45f, 0.22f, 0.0f));
    Scatter scatter(seed);
    const Paint bark = Paint::Noise(ValueNoise(seed + 3), 6.0f, 3,
                                    {{0.0f, Rgb(0.28f, 0.19f, 0.12f)}, {1.0f, Rgb(0.45f, 0.32f, 0.2f)}});
    const float cx = 0.5f * w;
    Outline trunk{{cx - 0.09f * w, 0.0f}, {cx + 0.09f * w, 0.0f}};
    Outlines::AppendBezier(trunk, {cx + 0.05f * w, 0.2f * h}, {cx + 0.03f * w, 0.4f * h}, {cx + 0.05f * w, 0.62f * h},
                           6);
    trunk.push_back({cx - 0.04f * w, 0.62f * h});
    Outlines::AppendBezier(trunk, {cx - 0.03f * w, 0.4f * h}, {cx - 0.05f * w, 0.2f * h}, {cx - 0.09f * w, 0.0f}, 6);
    trunk.pop_back();
    picture.Draw(Shape::Polygon(trunk), bark);
    for (const float side : {-1.0f, 1.0f}) {
        picture.Draw(Shape::Polygon({{cx, 0.42f * h}, {cx + side * 0.3f * w, 0.6f * h}}).Grown(0.018f * w), bark);
    }
    const Point crown{cx, 0.7f * h};
    const float rx = 0.44f * w, ry = 0.25f * h;
    for (int layer = 0; layer < 3; ++layer) {
        const float light = static_cast<float>(layer) / 2.0f;
        for (int k = 0; k < 34; ++k) {
            const float angle = scatter.Between(0.0f, kTurn), reach = std::sqrt(scatter.Between(0.0f, 1.0f));
            const float r = scatter.Between(0.07f, 0.13f) * w * (1.0f - 0.25f * light);
            // Leaf clusters stay inside the card, so no crown is cut off at its edge.
            const Point at{
                std::clamp(crown.x + rx * reach * std::cos(angle) + 0.03f * w * light, r + 2.0f, w - r - 2.0f),
                std::min(crown.y + ry * reach * std::sin(angle) + 0.03f * h * light, h - r - 2.0f)};
            const float sun =
                std::clamp(0.5f + 0.5f * ((at.x - crown.x) / rx + (at.y - crown.y) / ry) * 0.5f, 0.0f, 1.0f);
            const Color leaf = Mix(Mix(Rgb(0.12f, 0.3f, 0.14f), Rgb(0.3f, 0.52f, 0.22f), light),
                                   Rgb(0.56f, 0.74f, 0.32f), 0.5f * sun * light);
            picture.Draw(Shape::Circle(at, r).Soft(2.0f),
                         Paint::Radial({at.x + 0.3f * r, at.y + 0.3f * r}, 1.3f * r,
                                       {{0.0f, Mix(leaf, Rgb(0.7f, 0.85f, 0.4f), 0.25f)}, {1.0f, leaf}}));
        }
    }
    for (int k = 0; k < 40; ++k) {
        DrawBlade(picture, {cx + scatter.Between(-0.3f, 0.3f) * w, -2.0f}, 5.0f, scatter.Between(0.03f, 0.07f) * h,
                  scatter.Between(-8.0f, 8.0f), Rgb(0.14f, 0.32f, 0.1f), Rgb(0.5f, 0.72f, 0.28f));
    }
    return picture;
}

Picture LandscapePictures::Pond(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height), squash = (h / 110.0f) / (w / 520.0f);
    Picture picture(width, height, Rgb(0.3f, 0.55f, 0.7f, 0.0f));
    const Point centre{0.5f * w, 0.48f * h};
    const float rx = 0.46f * w, ry = 0.4f * h;
    picture.Draw(Shape::Ellipse(centre, rx + 10.0f, ry + 10.0f * squash).Soft(6.0f), Rgb(0.38f, 0.42f, 0.26f));
    picture.Draw(Shape::Ellipse(centre, rx, ry).Soft(3.0f),
                 Paint::Linear({0.0f, centre.y - ry}, {0.0f, centre.y + ry},
                               {{0.0f, Rgb(0.2f, 0.45f, 0.6f)}, {1.0f, Rgb(0.5f, 0.76f, 0.88f)}}));
    Scatter scatter(83);
    for (int k = 0; k < 26; ++k) {
        const float x = centre.x + scatter.Between(-0.8f, 0.8f) * rx;
        const float y =
            centre.y + scatter.Between(-0.7f, 0.7f) * ry * std::sqrt(1.0f - std::pow((x - centre.x) / rx, 2.0f));
        picture.Draw(Shape::Ellipse({x, y}, scatter.Between(0.02f, 0.06f) * w, 1.5f).Soft(2.0f),
                     Rgb(0.9f, 0.97f, 1.0f, 0.45f));
    }
    for (const float at : {0.22f, 0.7f, 0.58f}) {
        const Point pad{centre.x + (at - 0.5f) * 1.6f * rx, centre.y - 0.25f * ry + 0.4f * ry * (at - 0.5f)};
        picture.Draw(Shape::Ellipse(pad, 0.035f * w, 0.035f * w * squash * 0.45f).Soft(2.0f), Rgb(0.3f, 0.56f, 0.25f));
        DrawFlower(picture, {pad.x + 0.01f * w, pad.y + 0.01f * h}, 4.0f, squash * 0.5f, Rgb(1.0f, 0.8f, 0.88f),
                   Rgb(1.0f, 0.9f, 0.4f));
    }
    for (int k = 0; k < 30; ++k) {
        const float angle = scatter.Between(0.0f, kTurn);
        const Point stone{centre.x + (rx + 6.0f) * std::cos(angle), centre.y + (ry + 6.0f * squash) * std::sin(angle)};
        const float r = scatter.Between(6.0f, 13.0f);
        picture.Draw(Shape::Ellipse(stone, r, 0.6f * r * squash).Soft(2.0f),
                     Paint::Linear({stone.x, stone.y - r * squash}, {stone.x, stone.y + r * squash},
                                   {{0.0f, Rgb(0.4f, 0.4f, 0.38f)}, {1.0f, Rgb(0.72f, 0.7f, 0.66f)}}));
    }
    return picture;
}

Picture LandscapePictures::Brook(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height);
    Picture picture(width, height, Rgb(0.4f, 0.65f, 0.8f, 0.0f));
    Outline path{{0.62f * w, h}};
    Outlines::AppendBezier(path, {0.2f * w, 0.75f * h}, {0.85f * w, 0.35f * h}, {0.45f * w, 0.0f}, 48);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(path.size() - 1);
            const float r = (0.02f + 0.07f * t) * w + (pass == 0 ? 0.025f * w : 0.0f);
            Color colour =
                pass == 0 ? Rgb(0.36f, 0.5f, 0.3f) : Mix(Rgb(0.5f, 0.75f, 0.88f), Rgb(0.3f, 0.56f, 0.72f), t);
            // The brook springs from the hillside: it fades in over its first stretch.
            colour.a = std::clamp(t * 5.0f, 0.0f, 1.0f);
            picture.Draw(Shape::Circle(path[i], r).Soft(3.0f), colour);
        }
    }
    for (std::size_t i = 2; i + 2 < path.size(); i += 3) {
        picture.Draw(Shape::Polygon({path[i], path[i + 2]}).Grown(1.2f).Soft(2.0f), Rgb(0.92f, 0.98f, 1.0f, 0.5f));
    }
    return picture;
}

Picture LandscapePictures::Reeds(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height);
    Picture picture(width, height, Rgb(0.35f, 0.55f, 0.25f, 0.0f));
    Scatter scatter(97);
    for (int k = 0; k < 26; ++k) {
        const float x = scatter.Between(0.08f, 0.92f) * w, tall = scatter.Between(0.45f, 0.92f) * h;
        const float lean = scatter.Between(-0.12f, 0.12f) * w;
        DrawBlade(picture, {x, -2.0f}, scatter.Between(7.0f, 12.0f), tall, lean, Rgb(0.16f, 0.32f, 0.12f),
                  Rgb(0.5f, 0.7f, 0.3f));
        if (k % 3 == 0) {
            const Point top{x + lean * 0.9f, tall * 0.9f};
            picture.Draw(Shape::Polygon({{top.x, top.y - 0.09f * h}, {top.x + 0.02f * lean, top.y}}).Grown(0.022f * w),
                         Rgb(0.45f, 0.28f, 0.14f));
        }
    }
    return picture;
}

Picture LandscapePictures::Rainbow(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height);
    Picture picture(width, height);
    const Point centre{0.5f * w, -0.2f * h};
    const float outer = 1.1f * h, band = 0.09f * h;
    const std::vector<ColourStop> bands{{0.0f, Rgb(1.0f, 0.4f, 0.4f)},   {0.2f, Rgb(1.0f, 0.7f, 0.35f)},
                                        {0.4f, Rgb(1.0f, 0.95f, 0.45f)}, {0.6f, Rgb(0.45f, 0.9f, 0.45f)},
                                        {0.8f, Rgb(0.4f, 0.65f, 1.0f)},  {1.0f, Rgb(0.7f, 0.45f, 0.95f)}};
    picture.Fill(Paint([&](Point p) {
        const float d = std::hypot(p.x - centre.x, p.y - centre.y);
        const float t = (outer - d) / band;
        Color c = Paint::Between(bands, t);
        const float edge = std::clamp(std::min(t, 1.0f - t) * 8.0f, 0.0f, 1.0f);
        c.a = 0.5f * edge * std::clamp(p.y / h * 3.0f, 0.0f, 1.0f);
        return c;
    }));
    return picture;
}

Picture LandscapePictures::Blossoms(std::uint32_t width, std::uint32_t height)
{
    const float w = Fw(width), h = Fw(height), squash = (h / 220.0f) / (w / 800.0f);
    Picture picture(width, height, Rgb(0.25f, 0.45f, 0.22f, 0.0f));
    Scatter scatter(101);
    const Color blossoms[] = {Rgb(1.0f, 0.75f, 0.85f), Rgb(1.0f, 0.95f, 0.97f), Rgb(0.98f, 0.55f, 0.7f)};
    for (const float side : {0.1f, 0.9f}) {
        const Point bush{side * w, 0.25f * h};
        for (int k = 0; k < 40; ++k) {
            const Point at{bush.x + scatter.Between(-0.13f, 0.13f) * w, bush.y + scatter.Between(-0.3f, 0.35f) * h};
            const float r = scatter.Between(0.025f, 0.05f) * w;
            picture.Draw(Shape::Ellipse(at, r, r * squash).Soft(2.0f),
                         Mix(Rgb(0.16f, 0.34f, 0.16f), Rgb(0.36f, 0.58f, 0.26f), (at.y - bush.y) / h + 0.4f));
        }
        for (int k = 0; k < 45; ++k) {
            const Point at{bush.x + scatter.Between(-0.14f, 0.14f) * w, bush.y + scatter.Between(-0.2f, 0.5f) * h};
            DrawFlower(picture, at, scatter.Between(2.5f, 4.5f), squash, blossoms[k % 3], Rgb(1.0f, 0.85f, 0.35f));
        }
    }
    return picture;
}

} // namespace Content
