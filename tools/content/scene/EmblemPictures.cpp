#include "tools/content/scene/EmblemPictures.h"

#include "tools/content/scene/Lettering.h"

#include <cmath>

namespace Content {
namespace {

constexpr Color kGold{1.0f, 0.82f, 0.4f, 1.0f};
constexpr Color kDeepGold{0.72f, 0.5f, 0.18f, 1.0f};

Paint Glow(Point centre, float radius, const Color& colour)
{
    Color clear = colour;
    clear.a = 0.0f;
    return Paint::Radial(centre, radius, {{0.0f, colour}, {1.0f, clear}});
}

// One wing: a rounded lobe from the body out to the tip, mirrored by side (-1 left, 1 right).
Outline Wing(Point root, float size, float side, float lift, float span)
{
    Outline wing{root};
    Outlines::AppendBezier(wing, {root.x + side * 0.2f * size, root.y + lift * size},
                           {root.x + side * span * size, root.y + (lift + 0.1f) * size},
                           {root.x + side * span * size, root.y + 0.5f * lift * size}, 10);
    Outlines::AppendBezier(wing, {root.x + side * span * size, root.y - 0.05f * size},
                           {root.x + side * 0.15f * size, root.y - 0.02f * size}, root, 10);
    wing.pop_back();
    return wing;
}

void DrawLetters(Picture& picture, const std::string& text, Point centre, float height)
{
    const float weight = 0.16f * height;
    Lettering::DrawCentred(picture, text, {centre.x + 0.05f * height, centre.y - 0.05f * height}, height,
                           weight + 0.08f * height, Color{0.1f, 0.06f, 0.02f, 0.8f});
    Lettering::DrawCentred(picture, text, centre, height, weight,
                           Paint::Linear({0.0f, centre.y - 0.5f * height}, {0.0f, centre.y + 0.5f * height},
                                         {{0.0f, kDeepGold}, {1.0f, kGold}}));
}

// The moth spanning size pixels across its wings, centred on the point.
void DrawMoth(Picture& picture, Point centre, float size)
{
    const Color upper{0.95f, 0.78f, 0.42f, 1.0f}, lower{0.85f, 0.55f, 0.3f, 1.0f};
    for (const float side : {-1.0f, 1.0f}) {
        const Shape top = Shape::Polygon(Wing({centre.x, centre.y + 0.02f * size}, size, side, 0.42f, 0.5f));
        const Shape bottom = Shape::Polygon(Wing({centre.x, centre.y - 0.04f * size}, size, side, -0.3f, 0.34f));
        picture.Draw(bottom, lower);
        picture.Draw(bottom.Stroke(0.02f * size), kDeepGold);
        picture.Draw(top, Paint::Radial(centre, 0.5f * size, {{0.0f, Color{1.0f, 0.95f, 0.7f, 1.0f}}, {1.0f, upper}}));
        picture.Draw(top.Stroke(0.02f * size), kDeepGold);
        picture.Draw(Shape::Circle({centre.x + side * 0.28f * size, centre.y + 0.2f * size}, 0.05f * size),
                     Color{0.55f, 0.3f, 0.15f, 1.0f});
        picture.Draw(Shape::Polygon({{centre.x, centre.y + 0.16f * size},
                                     {centre.x + side * 0.1f * size, centre.y + 0.34f * size}})
                         .Grown(0.008f * size),
                     Color{0.3f, 0.2f, 0.1f, 1.0f});
    }
    picture.Draw(Shape::Ellipse(centre, 0.045f * size, 0.2f * size), Color{0.35f, 0.22f, 0.12f, 1.0f});
}

} // namespace

Picture EmblemPictures::PublisherBig()
{
    Picture picture(1024, 1024, {0.05f, 0.06f, 0.12f, 1.0f});
    picture.Fill(Paint::Radial({400.0f, 330.0f}, 520.0f,
                               {{0.0f, Color{0.16f, 0.14f, 0.26f, 1.0f}}, {1.0f, Color{0.03f, 0.03f, 0.08f, 1.0f}}}));
    picture.Draw(Shape::Everywhere(), Glow({400.0f, 360.0f}, 230.0f, Color{1.0f, 0.8f, 0.4f, 0.55f}));
    DrawMoth(picture, {400.0f, 370.0f}, 300.0f);
    DrawLetters(picture, "BRIGHTMOTH", {400.0f, 150.0f}, 56.0f);
    return picture;
}

Picture EmblemPictures::PublisherSmall()
{
    Picture picture(128, 128, {0.9f, 0.75f, 0.4f, 0.0f});
    picture.Draw(Shape::Everywhere(), Glow({64.0f, 76.0f}, 56.0f, Color{1.0f, 0.85f, 0.45f, 0.7f}));
    DrawMoth(picture, {64.0f, 76.0f}, 96.0f);
    DrawLetters(picture, "BRIGHTMOTH", {64.0f, 18.0f}, 11.0f);
    return picture;
}

Picture EmblemPictures::MakerSeal()
{
    Picture picture(256, 256, {0.2f, 0.3f, 0.5f, 0.0f});
    const Point centre{128.0f, 150.0f};
    picture.Draw(Shape::Circle(centre, 96.0f),
                 Paint::Radial({110.0f, 175.0f}, 110.0f,
                               {{0.0f, Color{0.3f, 0.5f, 0.75f, 1.0f}}, {1.0f, Color{0.1f, 0.2f, 0.4f, 1.0f}}}));
    picture.Draw(Shape::Circle(centre, 92.0f).Stroke(9.0f), kGold);
    // The tower: a body with battlements, a door and a pointed roof.
    const Color stone{0.88f, 0.84f, 0.74f, 1.0f};
    picture.Draw(Shape::Polygon({{104.0f, 70.0f}, {152.0f, 70.0f}, {146.0f, 170.0f}, {110.0f, 170.0f}}), stone);
    for (int k = 0; k < 3; ++k) {
        const float x = 106.0f + 17.0f * static_cast<float>(k);
        picture.Draw(Shape::RoundedRect({x, 168.0f, 10.0f, 12.0f}, 1.0f), stone);
    }
    picture.Draw(Shape::Polygon({{100.0f, 180.0f}, {156.0f, 180.0f}, {128.0f, 226.0f}}),
                 Color{0.75f, 0.3f, 0.22f, 1.0f});
    picture.Draw(Shape::RoundedRect({120.0f, 70.0f, 16.0f, 26.0f}, 7.0f), Color{0.3f, 0.2f, 0.14f, 1.0f});
    picture.Draw(Shape::RoundedRect({123.0f, 126.0f, 10.0f, 16.0f}, 4.0f), Color{1.0f, 0.85f, 0.45f, 1.0f});
    // The swallow: two swept wings.
    Outline bird{{170.0f, 190.0f}};
    Outlines::AppendBezier(bird, {178.0f, 200.0f}, {190.0f, 204.0f}, {204.0f, 202.0f}, 6);
    Outlines::AppendBezier(bird, {192.0f, 198.0f}, {184.0f, 194.0f}, {182.0f, 188.0f}, 6);
    Outlines::AppendBezier(bird, {178.0f, 194.0f}, {164.0f, 200.0f}, {150.0f, 198.0f}, 6);
    Outlines::AppendBezier(bird, {160.0f, 196.0f}, {166.0f, 194.0f}, {170.0f, 190.0f}, 6);
    bird.pop_back();
    picture.Draw(Shape::Polygon(bird), Color{0.1f, 0.12f, 0.2f, 1.0f});
    picture.Draw(Shape::RoundedRect({14.0f, 8.0f, 228.0f, 44.0f}, 18.0f), Color{0.1f, 0.2f, 0.4f, 0.85f});
    DrawLetters(picture, "TARROWBY", {128.0f, 30.0f}, 28.0f);
    return picture;
}

Picture EmblemPictures::Cursor()
{
    Picture picture(64, 64, {1.0f, 0.9f, 0.5f, 0.0f});
    // The tip at the top-left corner, the shaft leaning down to the right.
    const Outline arrow{{0.5f, 63.5f},  {2.0f, 20.0f},  {13.0f, 31.0f}, {24.0f, 8.0f},
                        {33.0f, 13.0f}, {22.0f, 35.0f}, {38.0f, 36.0f}};
    picture.Draw(Shape::Polygon(arrow).Grown(2.5f), Color{0.15f, 0.08f, 0.02f, 0.85f});
    picture.Draw(Shape::Polygon(arrow),
                 Paint::Linear({0.0f, 63.0f}, {30.0f, 10.0f}, {{0.0f, Color{1.0f, 0.97f, 0.8f, 1.0f}}, {1.0f, kGold}}));
    picture.Draw(Shape::Circle({8.0f, 50.0f}, 3.0f).Soft(2.0f), Color{1.0f, 1.0f, 1.0f, 0.9f});
    return picture;
}

Picture EmblemPictures::Console()
{
    Picture picture(256, 256);
    picture.Fill(Paint::Noise(ValueNoise(131, 8), 32.0f, 4,
                              {{0.0f, Color{0.03f, 0.07f, 0.09f, 1.0f}}, {1.0f, Color{0.08f, 0.15f, 0.17f, 1.0f}}}));
    for (int row = 0; row < 256; row += 4)
        picture.Draw(Shape::RoundedRect({0.0f, static_cast<float>(row), 256.0f, 1.0f}, 0.0f),
                     Color{0.0f, 0.0f, 0.0f, 0.18f});
    return picture;
}

} // namespace Content
