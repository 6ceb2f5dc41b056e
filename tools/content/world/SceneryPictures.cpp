#include "tools/content/world/SceneryPictures.h"

#include <cmath>
#include <functional>

namespace Content {
namespace {

constexpr float kPi = 3.14159265f;
constexpr std::uint32_t kAtlas = 256;
constexpr float kCell = 128.0f;

// Paints each of the four atlas cells with draw(picture, left, bottom, variant).
Picture Atlas(const Color& background, const std::function<void(Picture&, float, float, int)>& draw)
{
    Picture picture(kAtlas, kAtlas, background);
    for (int variant = 0; variant < 4; ++variant)
        draw(picture, kCell * static_cast<float>(variant % 2), kCell * static_cast<float>(variant / 2), variant);
    return picture;
}

// A thin blade from the base point, bending towards the tip.
Shape Blade(Point base, float height, float lean, float width)
{
    Outline outline{{base.x - width, base.y}, {base.x + width, base.y}};
    Outlines::AppendBezier(outline, {base.x + width, base.y + 0.5f * height},
                           {base.x + 0.6f * lean, base.y + 0.9f * height}, {base.x + lean, base.y + height}, 6);
    Outlines::AppendBezier(outline, {base.x + 0.6f * lean - width, base.y + 0.9f * height},
                           {base.x - width, base.y + 0.5f * height}, {base.x - width, base.y + 1.0f}, 6);
    return Shape::Polygon(outline);
}

} // namespace

Picture SceneryPictures::Ground(std::uint32_t seed, const Color& dark, const Color& light)
{
    Picture picture(128, 128);
    picture.Fill(Paint::Noise(ValueNoise(seed, 8), 16.0f, 5, {{0.0f, dark}, {1.0f, light}}));
    return picture;
}

Picture SceneryPictures::Water(const Color& deep, const Color& light)
{
    Picture picture(128, 128);
    picture.Fill(Paint::Noise(ValueNoise(5, 4), 32.0f, 3, {{0.0f, deep}, {0.7f, deep}, {1.0f, light}}));
    for (int ripple = 0; ripple < 6; ++ripple) {
        const float y = 10.0f + 21.0f * static_cast<float>(ripple);
        picture.Draw(Shape::Ellipse({64.0f + 17.0f * static_cast<float>(ripple % 3), y}, 40.0f, 2.0f).Soft(3.0f),
                     Color{light.r, light.g, light.b, 0.5f});
    }
    return picture;
}

Picture SceneryPictures::Stone(std::uint32_t seed)
{
    Picture picture(64, 64);
    picture.Fill(Paint::Noise(ValueNoise(seed, 4), 16.0f, 4,
                              {{0.0f, {0.4f, 0.39f, 0.36f, 1.0f}}, {1.0f, {0.7f, 0.68f, 0.62f, 1.0f}}}));
    return picture;
}

Picture SceneryPictures::Grass(const Color& colour)
{
    return Atlas({colour.r, colour.g, colour.b, 0.0f}, [colour](Picture& picture, float left, float bottom, int v) {
        for (int blade = 0; blade < 9; ++blade) {
            const float x = left + 16.0f + 12.0f * static_cast<float>(blade);
            const float lean = 14.0f * std::sin(static_cast<float>(blade * 7 + v));
            const float shade = 0.7f + 0.05f * static_cast<float>((blade + v) % 6);
            picture.Draw(Blade({x, bottom + 2.0f}, 80.0f + 10.0f * static_cast<float>((blade * 3 + v) % 5), lean, 3.0f),
                         Color{colour.r * shade, colour.g * shade, colour.b * shade, 1.0f});
        }
    });
}

Picture SceneryPictures::Flowers(const Color& petals)
{
    return Atlas({0.3f, 0.6f, 0.2f, 0.0f}, [petals](Picture& picture, float left, float bottom, int v) {
        const Point head{left + 64.0f, bottom + 88.0f};
        picture.Draw(Blade({left + 64.0f, bottom + 2.0f}, 90.0f, 2.0f, 2.5f), Color{0.25f, 0.55f, 0.15f, 1.0f});
        picture.Draw(Blade({left + 60.0f, bottom + 2.0f}, 40.0f, -22.0f, 5.0f), Color{0.3f, 0.62f, 0.2f, 1.0f});
        const float shift = 0.15f * static_cast<float>(v);
        const Color colour{std::fmin(1.0f, petals.r + shift), petals.g, std::fmin(1.0f, petals.b + shift), 1.0f};
        for (int petal = 0; petal < 6; ++petal) {
            const float angle = 2.0f * kPi * static_cast<float>(petal) / 6.0f;
            picture.Draw(
                Shape::Ellipse({head.x + 14.0f * std::cos(angle), head.y + 14.0f * std::sin(angle)}, 11.0f, 11.0f),
                colour);
        }
        picture.Draw(Shape::Circle(head, 8.0f), Color{1.0f, 0.85f, 0.2f, 1.0f});
    });
}

Picture SceneryPictures::Trees()
{
    return Atlas({0.2f, 0.45f, 0.15f, 0.0f}, [](Picture& picture, float left, float bottom, int v) {
        picture.Draw(Shape::RoundedRect({left + 56.0f, bottom, 16.0f, 60.0f}, 3.0f), Color{0.35f, 0.22f, 0.12f, 1.0f});
        const float green = 0.4f + 0.05f * static_cast<float>(v);
        for (const Point& lobe : {Point{64.0f, 80.0f}, Point{44.0f, 70.0f}, Point{84.0f, 72.0f}, Point{64.0f, 104.0f}})
            picture.Draw(Shape::Circle({left + lobe.x, bottom + lobe.y}, 24.0f).Soft(2.0f),
                         Paint::Radial(
                             {left + lobe.x - 6.0f, bottom + lobe.y + 8.0f}, 30.0f,
                             {{0.0f, {0.35f, green + 0.25f, 0.2f, 1.0f}}, {1.0f, {0.1f, green - 0.15f, 0.08f, 1.0f}}}));
    });
}

Picture SceneryPictures::Ferns()
{
    return Atlas({0.2f, 0.5f, 0.2f, 0.0f}, [](Picture& picture, float left, float bottom, int v) {
        for (int frond = -2; frond <= 2; ++frond) {
            const float lean = 26.0f * static_cast<float>(frond) + 4.0f * static_cast<float>(v);
            picture.Draw(
                Blade({left + 64.0f, bottom + 2.0f}, 90.0f - 12.0f * std::fabs(static_cast<float>(frond)), lean, 7.0f),
                Color{0.15f, 0.45f + 0.04f * static_cast<float>(frond + 2), 0.15f, 1.0f});
        }
    });
}

Picture SceneryPictures::Reeds()
{
    return Atlas({0.45f, 0.55f, 0.25f, 0.0f}, [](Picture& picture, float left, float bottom, int v) {
        for (int reed = 0; reed < 5; ++reed) {
            const float x = left + 24.0f + 20.0f * static_cast<float>(reed);
            const float height = 96.0f + 6.0f * static_cast<float>((reed + v) % 4);
            const float lean = 6.0f * std::sin(static_cast<float>(reed + 3 * v));
            picture.Draw(Blade({x, bottom + 2.0f}, height, lean, 2.5f), Color{0.45f, 0.6f, 0.25f, 1.0f});
            if ((reed + v) % 2 == 0)
                picture.Draw(Shape::RoundedRect({x + lean - 4.0f, bottom + height - 30.0f, 8.0f, 22.0f}, 4.0f),
                             Color{0.4f, 0.25f, 0.12f, 1.0f});
        }
    });
}

} // namespace Content
