#include "tools/content/menus/ValleyPicture.h"

#include "tools/content/Layout.h"
#include "tools/content/art/RandomSequence.h"
#include "tools/content/art/Shape.h"
#include "tools/content/menus/MenuPictures.h"
#include "tools/content/world/LevelGenerator.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace {

constexpr float kRim = 28.0f;       // pixels, as the other frames' rim on their smaller pictures
constexpr float kPathWidth = 11.0f; // virtual units
constexpr float kClearOfPath = 24.0f;

struct Land
{
    Color low;
    Color high;
};

// By stage, from the bottom: meadow, grove, spring; later stages take the last one's.
const Land kLands[] = {{{0.45f, 0.70f, 0.30f, 1.0f}, {0.62f, 0.82f, 0.40f, 1.0f}},
                       {{0.17f, 0.42f, 0.20f, 1.0f}, {0.28f, 0.55f, 0.27f, 1.0f}},
                       {{0.26f, 0.55f, 0.52f, 1.0f}, {0.45f, 0.72f, 0.66f, 1.0f}}};

const LayoutRect& Window()
{
    return Layout::Area("start_game\\window");
}

const LayoutRect& Area()
{
    return Layout::Area("start_game\\window_area");
}

float ScaleX()
{
    return static_cast<float>(ValleyPicture::kSize) / Window().width;
}

float ScaleY()
{
    return static_cast<float>(ValleyPicture::kSize) / Window().height;
}

Outline Mapped(const Outline& outline)
{
    Outline pixels;
    for (const Point& p : outline)
        pixels.push_back(ValleyPicture::PixelOf(p));
    return pixels;
}

Shape Disc(Point centre, float radius)
{
    return Shape::Ellipse(ValleyPicture::PixelOf(centre), radius * ScaleX(), radius * ScaleY());
}

Shape Oval(Point centre, float radiusX, float radiusY)
{
    return Shape::Ellipse(ValleyPicture::PixelOf(centre), radiusX * ScaleX(), radiusY * ScaleY());
}

// The height where stage s's land gives way to the next: halfway between their rows of markers, waving.
float BandTop(int stage, int stages, float x)
{
    const LayoutRect& area = Area();
    if (stage + 1 >= stages)
        return area.Top();
    const float rows = area.height / static_cast<float>(stages);
    return area.bottom + rows * static_cast<float>(stage + 1) + 9.0f * std::sin(0.03f * x + 1.7f * stage);
}

// Stage s's land: from the area's foot up to its wavy top (the bands above are drawn over it later).
void DrawLand(Picture& picture, int stage, int stages)
{
    const LayoutRect& area = Area();
    Outline outline{{area.left, area.bottom}, {area.Right(), area.bottom}};
    for (float x = area.Right(); x >= area.left - 0.5f; x -= 10.0f)
        outline.push_back({x, BandTop(stage, stages, x)});
    const Land& land = kLands[std::min(stage, 2)];
    const Point low = ValleyPicture::PixelOf({0.0f, area.bottom});
    const Point high = ValleyPicture::PixelOf({0.0f, BandTop(stage, stages, 0.0f)});
    const Shape shape = Shape::Polygon(Mapped(outline));
    picture.Draw(shape, Paint::Linear(low, high, {{0.0f, land.low}, {1.0f, land.high}}));
    picture.Draw(shape, Paint::Noise(ValueNoise(40 + stage, 8), 48.0f, 3,
                                     {{0.0f, {0.0f, 0.1f, 0.0f, 0.0f}}, {1.0f, {0.0f, 0.1f, 0.0f, 0.25f}}}));
}

float DistanceToSegment(Point p, Point a, Point b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = dx * dx + dy * dy;
    const float t = length > 0.0f ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0f, 1.0f) : 0.0f;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

bool ClearOfPath(Point p, const std::vector<Point>& path)
{
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        if (DistanceToSegment(p, path[i], path[i + 1]) < kClearOfPath)
            return false;
    return path.size() != 1 || std::hypot(p.x - path[0].x, p.y - path[0].y) >= kClearOfPath;
}

void DrawFlower(Picture& picture, Point at, RandomSequence& random)
{
    const Color petals[] = {{1.0f, 0.95f, 0.95f, 1.0f}, {1.0f, 0.85f, 0.3f, 1.0f}, {0.95f, 0.5f, 0.7f, 1.0f}};
    const Color& petal = petals[static_cast<int>(random.Between(0.0f, 2.99f))];
    for (int i = 0; i < 5; ++i) {
        const float a = 1.2566371f * static_cast<float>(i);
        picture.Draw(Disc({at.x + 2.2f * std::cos(a), at.y + 2.2f * std::sin(a)}, 1.8f), petal);
    }
    picture.Draw(Disc(at, 1.3f), Color{0.95f, 0.75f, 0.2f, 1.0f});
}

void DrawTree(Picture& picture, Point at, RandomSequence& random)
{
    const float size = random.Between(9.0f, 13.0f);
    picture.Draw(Oval({at.x + 3.0f, at.y - 2.0f}, size, 0.4f * size), Color{0.0f, 0.1f, 0.0f, 0.35f});
    const LayoutRect trunk{at.x - 1.8f, at.y, 3.6f, size};
    picture.Draw(Shape::Polygon(Mapped({{trunk.left, trunk.bottom},
                                        {trunk.Right(), trunk.bottom},
                                        {trunk.Right(), trunk.Top()},
                                        {trunk.left, trunk.Top()}})),
                 Color{0.4f, 0.26f, 0.12f, 1.0f});
    const Point crown{at.x, at.y + 1.3f * size};
    picture.Draw(Disc(crown, size),
                 Paint::Radial(ValleyPicture::PixelOf(crown), size * ScaleY(),
                               {{0.0f, {0.3f, 0.62f, 0.25f, 1.0f}}, {1.0f, {0.1f, 0.35f, 0.12f, 1.0f}}}));
}

void DrawPond(Picture& picture, Point at, RandomSequence& random)
{
    const float size = random.Between(10.0f, 16.0f);
    picture.Draw(Oval(at, 1.6f * size + 2.0f, size * 0.7f + 2.0f), Color{0.75f, 0.85f, 0.8f, 1.0f});
    picture.Draw(Oval(at, 1.6f * size, size * 0.7f),
                 Paint::Radial(ValleyPicture::PixelOf(at), 1.6f * size * ScaleX(),
                               {{0.0f, {0.45f, 0.75f, 0.95f, 1.0f}}, {1.0f, {0.15f, 0.4f, 0.7f, 1.0f}}}));
    picture.Draw(Oval({at.x + 1.8f * size, at.y + 0.2f * size}, 0.35f * size, 0.25f * size),
                 Color{0.55f, 0.55f, 0.52f, 1.0f});
}

using Landmark = void (*)(Picture&, Point, RandomSequence&);

// The landmarks of a stage scattered over its band, away from the path and the band's edges.
void DrawLandmarks(Picture& picture, int stage, int stages, const std::vector<Point>& path)
{
    const Landmark kinds[] = {DrawFlower, DrawTree, DrawPond};
    const int counts[] = {90, 26, 7};
    const int kind = std::min(stage, 2);
    const LayoutRect& area = Area();
    RandomSequence random(77 + static_cast<std::uint32_t>(stage));
    for (int placed = 0, tries = 0; placed < counts[kind] && tries < 4000; ++tries) {
        const float x = random.Between(area.left + 20.0f, area.Right() - 30.0f);
        const float low = stage == 0 ? area.bottom + 10.0f : BandTop(stage - 1, stages, x) + 14.0f;
        const Point at{x, random.Between(low, BandTop(stage, stages, x) - 26.0f)};
        if (!ClearOfPath(at, path))
            continue;
        kinds[kind](picture, at, random);
        ++placed;
    }
}

// A sandy track through the places, its edge darker, round at every bend.
void DrawPath(Picture& picture, const std::vector<Point>& path)
{
    const Color edge{0.5f, 0.36f, 0.2f, 1.0f};
    for (const auto& [width, colour] :
         {std::pair{kPathWidth + 3.0f, edge}, std::pair{kPathWidth, ValleyPicture::kPath}}) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            picture.Draw(Disc(path[i], 0.5f * width), colour);
            if (i + 1 == path.size())
                continue;
            const Point a = path[i], b = path[i + 1];
            const float length = std::hypot(b.x - a.x, b.y - a.y);
            const float nx = -(b.y - a.y) / length * 0.5f * width, ny = (b.x - a.x) / length * 0.5f * width;
            picture.Draw(Shape::Polygon(Mapped(
                             {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}})),
                         colour);
        }
    }
}

} // namespace

const Color ValleyPicture::kPath{0.86f, 0.74f, 0.52f, 1.0f};

Point ValleyPicture::PixelOf(Point place)
{
    return {(place.x - Window().left) * ScaleX(), (place.y - Window().bottom) * ScaleY()};
}

Picture ValleyPicture::Draw(const std::vector<Point>& markers)
{
    Picture picture = MenuPictures::Frame(kSize, kSize, kRim);
    const int stages = static_cast<int>(LevelGenerator::Stages().size());
    for (int stage = stages - 1; stage >= 0; --stage)
        DrawLand(picture, stage, stages);
    DrawPath(picture, markers);
    for (int stage = 0; stage < stages; ++stage)
        DrawLandmarks(picture, stage, stages, markers);
    const LayoutRect& area = Area();
    picture.Draw(Shape::Polygon(Mapped({{area.left, area.bottom},
                                        {area.Right(), area.bottom},
                                        {area.Right(), area.Top()},
                                        {area.left, area.Top()}}))
                     .Stroke(4.0f),
                 Color{0.96f, 0.82f, 0.45f, 1.0f});
    return picture;
}

} // namespace Content
