#include "tools/content/menus/MenuPictures.h"

#include "tools/content/world/LevelGenerator.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

namespace Content {
namespace {

const Color kGold{0.96f, 0.82f, 0.45f, 1.0f};
const Color kDarkGold{0.55f, 0.38f, 0.14f, 1.0f};
const Color kGlassTop{0.10f, 0.30f, 0.32f, 0.9f};
const Color kGlassBottom{0.03f, 0.12f, 0.16f, 0.92f};
const Color kLeafTop{0.52f, 0.78f, 0.40f, 1.0f};
const Color kLeafBottom{0.16f, 0.42f, 0.20f, 1.0f};
const Color kShadow{0.0f, 0.0f, 0.0f, 1.0f};

Color Scaled(const Color& colour, float factor, float alpha = 1.0f)
{
    return {std::min(colour.r * factor, 1.0f), std::min(colour.g * factor, 1.0f), std::min(colour.b * factor, 1.0f),
            colour.a * alpha};
}

Color Tinted(const Color& colour, const Color& tint)
{
    return {colour.r * tint.r, colour.g * tint.g, colour.b * tint.b, colour.a * tint.a};
}

Color Grey(const Color& colour)
{
    const float y = 0.3f * colour.r + 0.59f * colour.g + 0.11f * colour.b;
    return {0.6f * y + 0.15f, 0.6f * y + 0.15f, 0.6f * y + 0.17f, colour.a};
}

// How a button state lights a colour of its face: brighter under the cursor, darker while pressed, grey when
// disabled.
Color StateColour(const Color& colour, std::uint32_t state)
{
    switch (state) {
    case 1:
        return Scaled(colour, 1.3f);
    case 2:
        return Scaled(colour, 0.7f);
    case 3:
        return Grey(colour);
    default:
        return colour;
    }
}

LayoutRect Inset(std::uint32_t width, std::uint32_t height, float by)
{
    return {by, by, static_cast<float>(width) - 2.0f * by, static_cast<float>(height) - 2.0f * by};
}

Paint Vertical(float height, const Color& bottom, const Color& top)
{
    return Paint::Linear({0.0f, 0.0f}, {0.0f, height}, {{0.0f, bottom}, {1.0f, top}});
}

Outline Triangle(Point centre, float size, float angle)
{
    return Outlines::RegularPolygon(3, size, angle, centre);
}

// A bar of the given length and thickness through the centre, turned by angle.
Outline Stroke(Point centre, float length, float thickness, float angle)
{
    const float ax = 0.5f * length * std::cos(angle), ay = 0.5f * length * std::sin(angle);
    const float tx = -0.5f * thickness * std::sin(angle), ty = 0.5f * thickness * std::cos(angle);
    return {{centre.x - ax - tx, centre.y - ay - ty},
            {centre.x + ax - tx, centre.y + ay - ty},
            {centre.x + ax + tx, centre.y + ay + ty},
            {centre.x - ax + tx, centre.y - ay + ty}};
}

// The upper half of the ring between the two radii.
Outline HalfRing(Point centre, float inner, float outer)
{
    constexpr int kSteps = 16;
    Outline outline;
    for (int i = 0; i <= kSteps; ++i) {
        const float a = 3.14159265f * static_cast<float>(i) / kSteps;
        outline.push_back({centre.x + outer * std::cos(a), centre.y + outer * std::sin(a)});
    }
    for (int i = kSteps; i >= 0; --i) {
        const float a = 3.14159265f * static_cast<float>(i) / kSteps;
        outline.push_back({centre.x + inner * std::cos(a), centre.y + inner * std::sin(a)});
    }
    return outline;
}

void Recolour(Picture& picture, const std::function<Color(const Color&)>& change)
{
    for (std::uint32_t y = 0; y < picture.Height(); ++y) {
        for (std::uint32_t x = 0; x < picture.Width(); ++x)
            picture.At(x, y) = change(picture.At(x, y));
    }
}

// The charm a stage's upgrade awakens: a gold star, a blue whirl of three petals, a rainbow of three arcs.
void DrawCharm(Picture& cell, int stage)
{
    const Point c{32.0f, 32.0f};
    if (stage == 0) {
        cell.Draw(Shape::Polygon(Outlines::Star(5, 24.0f, 10.0f, 1.5707963f, c)), kGold);
        return;
    }
    if (stage == 1) {
        for (int petal = 0; petal < 3; ++petal) {
            const float a = 2.0943951f * static_cast<float>(petal);
            cell.Draw(Shape::Ellipse({c.x + 10.0f * std::cos(a), c.y + 10.0f * std::sin(a)}, 11.0f, 7.0f),
                      Color{0.35f, 0.65f, 1.0f, 1.0f});
        }
        return;
    }
    const Color arcs[] = {{0.95f, 0.3f, 0.3f, 1.0f}, {0.95f, 0.85f, 0.3f, 1.0f}, {0.3f, 0.6f, 0.95f, 1.0f}};
    for (int arc = 0; arc < 3; ++arc) {
        const float outer = 26.0f - 6.0f * static_cast<float>(arc);
        cell.Draw(Shape::Polygon(HalfRing({c.x, 20.0f}, outer - 5.0f, outer)), arcs[arc]);
    }
}

// A charm on its medallion; asleep, the whole medallion is grey and dim.
Picture UpgradeCell(int stage, bool asleep)
{
    const Point c{32.0f, 32.0f};
    Picture cell(64, 64, {0.1f, 0.2f, 0.25f, 0.0f});
    cell.Draw(Shape::Circle(c, 30.0f),
              Paint::Radial(c, 30.0f, {{0.0f, {0.25f, 0.45f, 0.45f, 1.0f}}, {1.0f, {0.06f, 0.16f, 0.2f, 1.0f}}}));
    DrawCharm(cell, stage);
    if (asleep) {
        Recolour(cell, [](const Color& p) {
            const Color grey = Grey(p);
            return Color{0.6f * grey.r, 0.6f * grey.g, 0.7f * grey.b, p.a};
        });
    }
    cell.Draw(Shape::Circle(c, 30.0f).Stroke(3.0f), asleep ? Color{0.4f, 0.4f, 0.45f, 1.0f} : kGold);
    return cell;
}

void DrawIcon(Picture& picture, ButtonIcon icon, const Color& ink)
{
    const float w = static_cast<float>(picture.Width()), h = static_cast<float>(picture.Height());
    const Point c{0.5f * w, 0.5f * h};
    const float s = 0.28f * std::min(w, h);
    switch (icon) {
    case ButtonIcon::Minimize:
        picture.Draw(Shape::RoundedRect({c.x - s, c.y - 0.7f * s, 2.0f * s, 0.5f * s}, 1.0f), ink);
        break;
    case ButtonIcon::Window:
        picture.Draw(Shape::RoundedRect({c.x - 0.7f * s, c.y - 0.6f * s, 1.4f * s, 1.2f * s}, 1.0f).Stroke(2.0f), ink);
        break;
    case ButtonIcon::FullScreen:
        picture.Draw(Shape::RoundedRect({c.x - s, c.y - s, 2.0f * s, 2.0f * s}, 1.0f).Stroke(2.5f), ink);
        break;
    case ButtonIcon::Close:
        picture.Draw(Shape::Polygon(Stroke(c, 2.0f * s, 3.0f, 0.785398f)), ink);
        picture.Draw(Shape::Polygon(Stroke(c, 2.0f * s, 3.0f, -0.785398f)), ink);
        break;
    case ButtonIcon::ArrowLeft:
    case ButtonIcon::ArrowRight:
    case ButtonIcon::ArrowUp:
    case ButtonIcon::ArrowDown: {
        const float angles[] = {3.14159265f, 0.0f, 1.5707963f, -1.5707963f};
        const float angle = angles[static_cast<int>(icon) - static_cast<int>(ButtonIcon::ArrowLeft)];
        picture.Draw(Shape::Polygon(Triangle(c, s, angle)), ink);
        break;
    }
    case ButtonIcon::None:
        break;
    }
}

// One button face in one state: a leaf-green gradient in a gilded rim, lit from above.
Picture ButtonFace(std::uint32_t width, std::uint32_t height, std::uint32_t state, ButtonIcon icon)
{
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const Color tint{0.8f, 0.8f, 0.8f, 1.0f};
    Picture cell(width, height, {kLeafBottom.r, kLeafBottom.g, kLeafBottom.b, 0.0f});
    const float radius = 0.4f * std::min(w, h);
    const Shape face = Shape::RoundedRect(Inset(width, height, 1.0f), radius);
    cell.Draw(face,
              Vertical(h, StateColour(Tinted(kLeafBottom, tint), state), StateColour(Tinted(kLeafTop, tint), state)));
    cell.Draw(Shape::RoundedRect({0.2f * w, 0.55f * h, 0.6f * w, 0.3f * h}, 0.15f * h).Soft(0.2f * h),
              Color{1.0f, 1.0f, 0.9f, 0.25f});
    cell.Draw(face.Stroke(std::max(2.0f, 0.08f * h)), StateColour(kGold, state == 1 ? 1 : state == 3 ? 3 : 0));
    DrawIcon(cell, icon, state == 3 ? Color{0.85f, 0.85f, 0.85f, 1.0f} : Color{1.0f, 0.97f, 0.8f, 1.0f});
    return cell;
}

// What a marker's state adds on its face: nothing, a won level's tick or a locked level's padlock.
enum class MarkerSign
{
    None,
    Won,
    Locked,
};

void DrawSign(Picture& cell, MarkerSign sign)
{
    const Color ink{1.0f, 0.98f, 0.9f, 1.0f};
    if (sign == MarkerSign::Won) {
        cell.Draw(Shape::Polygon(
                      {{17.0f, 33.0f}, {22.0f, 38.0f}, {28.0f, 30.0f}, {44.0f, 47.0f}, {48.0f, 42.0f}, {28.0f, 20.0f}}),
                  ink);
    } else if (sign == MarkerSign::Locked) {
        const Color iron{0.25f, 0.27f, 0.3f, 1.0f};
        cell.Draw(Shape::Polygon(HalfRing({32.0f, 34.0f}, 6.0f, 10.0f)), iron);
        cell.Draw(Shape::RoundedRect({20.0f, 17.0f, 24.0f, 18.0f}, 3.0f), iron);
        cell.Draw(Shape::Circle({32.0f, 27.0f}, 2.5f), ink);
    }
}

Picture MarkerCell(MarkerKind kind, const Color& colour, float ring, MarkerSign sign = MarkerSign::None)
{
    Picture cell(64, 64, {colour.r, colour.g, colour.b, 0.0f});
    const Point c{32.0f, 32.0f};
    switch (kind) {
    case MarkerKind::Start:
        cell.Draw(Shape::Circle(c, 27.0f), Paint::Radial(c, 27.0f, {{0.0f, Scaled(colour, 1.4f)}, {1.0f, colour}}));
        if (sign == MarkerSign::None)
            cell.Draw(Shape::Polygon(Triangle({34.0f, 32.0f}, 13.0f, 0.0f)), Color{1.0f, 1.0f, 0.95f, 1.0f});
        break;
    case MarkerKind::Finish:
        cell.Draw(Shape::Polygon(Outlines::Star(5, 30.0f, 13.0f, 1.5707963f, c)),
                  Paint::Radial(c, 30.0f, {{0.0f, Scaled(colour, 1.5f)}, {1.0f, colour}}));
        break;
    case MarkerKind::CheckPoint:
        cell.Draw(Shape::Polygon(Outlines::RegularPolygon(6, 28.0f, 0.0f, c)),
                  Paint::Radial(c, 28.0f, {{0.0f, Scaled(colour, 1.5f)}, {1.0f, colour}}));
        cell.Draw(Shape::Polygon(Outlines::RegularPolygon(6, 14.0f, 0.0f, c)), Scaled(colour, 1.7f));
        break;
    case MarkerKind::Path:
    case MarkerKind::PathCheckPoint:
        cell.Draw(Shape::Circle(c, 26.0f), Paint::Radial(c, 26.0f, {{0.0f, Scaled(colour, 1.5f)}, {1.0f, colour}}));
        if (kind == MarkerKind::PathCheckPoint)
            cell.Draw(Shape::Circle(c, 14.0f), Color{1.0f, 1.0f, 0.9f, 1.0f});
        break;
    }
    if (ring > 0.0f)
        cell.Draw(Shape::Circle(c, 29.0f).Stroke(ring), Color{1.0f, 0.98f, 0.85f, 1.0f});
    DrawSign(cell, sign);
    return cell;
}

// The same silhouette in black, soft, for the marker's shadow frame.
Picture MarkerShadow(MarkerKind kind)
{
    Picture shadow = MarkerCell(kind, kShadow, 0.0f);
    Recolour(shadow, [](const Color& p) { return Color{0.0f, 0.0f, 0.0f, 0.5f * p.a}; });
    shadow.Blur(2.0f);
    return shadow;
}

} // namespace

Picture MenuPictures::Frame(std::uint32_t width, std::uint32_t height, float rim)
{
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    Picture picture(width, height, {kGlassBottom.r, kGlassBottom.g, kGlassBottom.b, 0.0f});
    const float radius = 2.5f * rim;
    const Shape outer = Shape::RoundedRect(Inset(width, height, 1.0f), radius);
    picture.Draw(outer, Vertical(h, kGlassBottom, kGlassTop));
    picture.Draw(outer, Paint::Noise(ValueNoise(31, 8), w / 8.0f, 3,
                                     {{0.0f, {0.5f, 0.9f, 0.8f, 0.0f}}, {1.0f, {0.6f, 1.0f, 0.9f, 0.12f}}}));
    picture.Draw(Shape::RoundedRect(Inset(width, height, 1.0f + 0.5f * rim), radius - 0.5f * rim).Stroke(rim),
                 Paint::Linear({0.0f, 0.0f}, {w, h}, {{0.0f, kDarkGold}, {0.5f, kGold}, {1.0f, kDarkGold}}));
    picture.Draw(Shape::RoundedRect(Inset(width, height, 1.0f + 1.3f * rim), radius - rim).Stroke(1.5f),
                 Scaled(kGold, 1.0f, 0.8f));
    return picture;
}

Picture MenuPictures::Panel(std::uint32_t width, std::uint32_t height)
{
    const float h = static_cast<float>(height);
    Picture picture(width, height, {kGlassBottom.r, kGlassBottom.g, kGlassBottom.b, 0.0f});
    const Shape panel = Shape::RoundedRect(Inset(width, height, 1.0f), 0.3f * std::min(h, static_cast<float>(width)));
    picture.Draw(panel, Vertical(h, Scaled(kGlassBottom, 1.0f, 0.85f), Scaled(kGlassTop, 1.0f, 0.85f)));
    picture.Draw(panel.Stroke(2.0f), kGold);
    return picture;
}

Picture MenuPictures::Buttons(std::uint32_t width, std::uint32_t height, ButtonIcon icon)
{
    std::vector<Picture> states;
    for (std::uint32_t state = 0; state < kButtonStates; ++state)
        states.push_back(ButtonFace(width, height, state, icon));
    return Picture::Grid(states, kButtonStates, 1);
}

Picture MenuPictures::CheckBoxes(ButtonIcon icon)
{
    // Frame k: state (normal, hover, pressed) for 0-5, disabled for 6 and 7; checked from 3 on and in 7.
    std::vector<Picture> frames;
    for (std::uint32_t k = 0; k < kCheckBoxStates; ++k) {
        const bool checked = (k >= 3 && k <= 5) || k == 7;
        const std::uint32_t state = k >= 6 ? 3 : k % 3;
        Picture cell = ButtonFace(32, 32, state, icon);
        if (checked) {
            const Color ink = state == 3 ? Color{0.8f, 0.8f, 0.8f, 1.0f} : kGold;
            cell.Draw(
                Shape::Polygon(
                    {{7.0f, 17.0f}, {11.0f, 20.0f}, {14.0f, 14.0f}, {25.0f, 27.0f}, {27.0f, 24.0f}, {14.0f, 7.0f}}),
                ink);
        }
        frames.push_back(std::move(cell));
    }
    return Picture::Grid(frames, 4, 2);
}

Picture MenuPictures::Track(bool vertical)
{
    const std::uint32_t width = vertical ? 32 : 256, height = vertical ? 256 : 32;
    Picture picture(width, height, {0.02f, 0.08f, 0.1f, 0.0f});
    const LayoutRect groove =
        vertical ? LayoutRect{10.0f, 2.0f, 12.0f, 252.0f} : LayoutRect{2.0f, 10.0f, 252.0f, 12.0f};
    picture.Draw(Shape::RoundedRect(groove, 6.0f), Color{0.02f, 0.08f, 0.1f, 0.85f});
    picture.Draw(Shape::RoundedRect(groove, 6.0f).Stroke(1.5f), kDarkGold);
    return picture;
}

Picture MenuPictures::Bar(const Color& colour)
{
    std::vector<Picture> frames;
    for (std::uint32_t k = 0; k < kBarFrames; ++k) {
        const float fill = 1.0f - static_cast<float>(k) / static_cast<float>(kBarFrames - 1);
        Picture cell(128, 16, {colour.r, colour.g, colour.b, 0.0f});
        if (fill > 0.0f) {
            const Shape level = Shape::RoundedRect({1.0f, 1.0f, 126.0f * fill, 14.0f}, 6.0f);
            cell.Draw(level, Vertical(16.0f, Scaled(colour, 0.6f), Scaled(colour, 1.3f)));
            cell.Draw(Shape::RoundedRect({3.0f, 9.0f, std::max(124.0f * fill - 4.0f, 0.0f), 4.0f}, 2.0f),
                      Color{1.0f, 1.0f, 1.0f, 0.35f});
        }
        frames.push_back(std::move(cell));
    }
    return Picture::Grid(frames, 4, 4);
}

Picture MenuPictures::Band()
{
    Picture picture(8, 64, {kGlassBottom.r, kGlassBottom.g, kGlassBottom.b, 0.0f});
    picture.Fill(Vertical(64.0f, Scaled(kGlassBottom, 1.0f, 0.0f), Scaled(kGlassBottom, 1.0f, 0.85f)));
    picture.Draw(Shape::RoundedRect({-4.0f, 60.0f, 16.0f, 2.0f}, 0.0f), Scaled(kGold, 1.0f, 0.7f));
    return picture;
}

std::uint32_t MenuPictures::UpgradeFrames()
{
    const auto frames = static_cast<std::uint32_t>(2 * LevelGenerator::Stages().size());
    if (frames > 8)
        throw std::logic_error("the upgrade picture's 4 x 2 cells hold the upgrades of four stages at most");
    return frames;
}

Picture MenuPictures::Upgrades()
{
    std::vector<Picture> frames;
    for (int stage = 0; stage < static_cast<int>(UpgradeFrames() / 2); ++stage) {
        frames.push_back(UpgradeCell(stage, false));
        frames.push_back(UpgradeCell(stage, true));
    }
    return Picture::Grid(frames, 4, 2);
}

Picture MenuPictures::Marker(MarkerKind kind)
{
    const Color base[] = {{0.95f, 0.72f, 0.25f, 1.0f},
                          {0.95f, 0.72f, 0.25f, 1.0f},
                          {0.85f, 0.5f, 0.95f, 1.0f},
                          {0.8f, 0.62f, 0.35f, 1.0f},
                          {0.8f, 0.62f, 0.35f, 1.0f}};
    const Color colour = base[static_cast<int>(kind)];
    const Color passed{0.35f, 0.62f, 0.45f, 1.0f};
    const Color selected{1.0f, 0.45f, 0.2f, 1.0f};
    const Color ahead{0.62f, 0.65f, 0.68f, 0.8f};
    std::vector<Picture> frames{MarkerCell(kind, colour, 2.0f),
                                MarkerCell(kind, passed, 0.0f, MarkerSign::Won),
                                MarkerCell(kind, Scaled(colour, 1.3f), 2.5f),
                                MarkerCell(kind, selected, 3.5f),
                                MarkerCell(kind, ahead, 0.0f, MarkerSign::Locked),
                                MarkerShadow(kind)};
    return Picture::Grid(frames, 4, 2);
}

} // namespace Content
