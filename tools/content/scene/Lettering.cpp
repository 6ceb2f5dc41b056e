#include "tools/content/scene/Lettering.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace Content {
namespace {

using Stroke = std::vector<Point>;

struct Glyph
{
    float width = 0.0f;
    std::vector<Stroke> strokes;
};

constexpr float kDegree = 0.017453292f;
constexpr float kSpacing = 0.22f;

// Points of the elliptic arc about centre from angle `from` to angle `to` (degrees, either direction).
Stroke Arc(Point centre, float radiusX, float radiusY, float from, float to)
{
    const int pieces = std::max(4, static_cast<int>(std::fabs(to - from) / 12.0f));
    Stroke arc;
    for (int i = 0; i <= pieces; ++i) {
        const float angle = (from + (to - from) * static_cast<float>(i) / static_cast<float>(pieces)) * kDegree;
        arc.push_back({centre.x + radiusX * std::cos(angle), centre.y + radiusY * std::sin(angle)});
    }
    return arc;
}

// The polyline's points followed by the arc's.
Stroke Then(Stroke line, const Stroke& more)
{
    line.insert(line.end(), more.begin(), more.end());
    return line;
}

Glyph Letter(char c)
{
    switch (c) {
    case ' ':
        return {0.35f, {}};
    case 'A':
        return {0.62f, {{{0, 0}, {0.31f, 1}, {0.62f, 0}}, {{0.13f, 0.38f}, {0.49f, 0.38f}}}};
    case 'B':
        return {0.64f,
                {Then({{0, 0.52f}, {0, 1}, {0.34f, 1}}, Arc({0.34f, 0.76f}, 0.24f, 0.24f, 90, -90)),
                 Then(Then({{0, 0.52f}, {0.38f, 0.52f}}, Arc({0.38f, 0.26f}, 0.26f, 0.26f, 90, -90)),
                      {{0, 0}, {0, 0.52f}})}};
    case 'C':
        return {0.62f, {Arc({0.34f, 0.5f}, 0.34f, 0.5f, 45, 315)}};
    case 'D':
        return {0.62f, {Then(Then({{0, 0}, {0, 1}, {0.22f, 1}}, Arc({0.22f, 0.5f}, 0.4f, 0.5f, 90, -90)), {{0, 0}})}};
    case 'E':
        return {0.52f, {{{0.52f, 1}, {0, 1}, {0, 0}, {0.52f, 0}}, {{0, 0.5f}, {0.4f, 0.5f}}}};
    case 'F':
        return {0.5f, {{{0.5f, 1}, {0, 1}, {0, 0}}, {{0, 0.5f}, {0.4f, 0.5f}}}};
    case 'G':
        return {0.66f, {Then(Arc({0.34f, 0.5f}, 0.34f, 0.5f, 50, 360), {{0.36f, 0.5f}})}};
    case 'H':
        return {0.6f, {{{0, 0}, {0, 1}}, {{0.6f, 0}, {0.6f, 1}}, {{0, 0.5f}, {0.6f, 0.5f}}}};
    case 'I':
        return {0.0f, {{{0, 0}, {0, 1}}}};
    case 'K':
        return {0.58f, {{{0, 0}, {0, 1}}, {{0.56f, 1}, {0, 0.42f}}, {{0.17f, 0.6f}, {0.58f, 0}}}};
    case 'L':
        return {0.5f, {{{0, 1}, {0, 0}, {0.5f, 0}}}};
    case 'M':
        return {0.74f, {{{0, 0}, {0, 1}, {0.37f, 0.4f}, {0.74f, 1}, {0.74f, 0}}}};
    case 'N':
        return {0.6f, {{{0, 0}, {0, 1}, {0.6f, 0}, {0.6f, 1}}}};
    case 'O':
        return {0.68f, {Arc({0.34f, 0.5f}, 0.34f, 0.5f, 0, 360)}};
    case 'P':
        return {0.58f,
                {Then(Then({{0, 0}, {0, 1}, {0.33f, 1}}, Arc({0.33f, 0.75f}, 0.25f, 0.25f, 90, -90)), {{0, 0.5f}})}};
    case 'Q':
        return {0.7f, {Arc({0.34f, 0.5f}, 0.34f, 0.5f, 0, 360), {{0.4f, 0.26f}, {0.72f, -0.08f}}}};
    case 'R':
        return {0.6f,
                {Then(Then({{0, 0}, {0, 1}, {0.34f, 1}}, Arc({0.34f, 0.75f}, 0.25f, 0.25f, 90, -90)), {{0, 0.5f}}),
                 {{0.28f, 0.5f}, {0.6f, 0}}}};
    case 'S':
        return {0.58f, {Then(Arc({0.29f, 0.75f}, 0.27f, 0.25f, 25, 270), Arc({0.29f, 0.25f}, 0.29f, 0.25f, 90, -155))}};
    case 'T':
        return {0.62f, {{{0, 1}, {0.62f, 1}}, {{0.31f, 1}, {0.31f, 0}}}};
    case 'U':
        return {0.6f, {Then(Then({{0, 1}, {0, 0.32f}}, Arc({0.3f, 0.32f}, 0.3f, 0.32f, 180, 360)), {{0.6f, 1}})}};
    case 'V':
        return {0.62f, {{{0, 1}, {0.31f, 0}, {0.62f, 1}}}};
    case 'W':
        return {0.86f, {{{0, 1}, {0.2f, 0}, {0.43f, 0.72f}, {0.66f, 0}, {0.86f, 1}}}};
    case 'Y':
        return {0.62f, {{{0, 1}, {0.31f, 0.5f}, {0.62f, 1}}, {{0.31f, 0.5f}, {0.31f, 0}}}};
    default:
        throw std::invalid_argument(std::string("no strokes for the letter '") + c + "'");
    }
}

// A round-ended stroke from a to b: the segment grown by half the weight.
Shape Segment(Point a, Point b, float weight)
{
    return Shape::Polygon({a, b}).Grown(0.5f * weight);
}

} // namespace

void Lettering::Draw(Picture& picture, const std::string& text, Point origin, float height, float weight,
                     const Paint& paint)
{
    float x = origin.x;
    for (const char c : text) {
        const Glyph glyph = Letter(c);
        for (const Stroke& stroke : glyph.strokes) {
            for (std::size_t i = 0; i + 1 < stroke.size(); ++i) {
                const Point a{x + stroke[i].x * height, origin.y + stroke[i].y * height};
                const Point b{x + stroke[i + 1].x * height, origin.y + stroke[i + 1].y * height};
                picture.Draw(Segment(a, b, weight), paint);
            }
        }
        x += (glyph.width + kSpacing) * height;
    }
}

void Lettering::DrawCentred(Picture& picture, const std::string& text, Point centre, float height, float weight,
                            const Paint& paint)
{
    Draw(picture, text, {centre.x - 0.5f * Width(text, height), centre.y - 0.5f * height}, height, weight, paint);
}

float Lettering::Width(const std::string& text, float height)
{
    float width = 0.0f;
    for (const char c : text)
        width += (Letter(c).width + kSpacing) * height;
    return text.empty() ? 0.0f : width - kSpacing * height;
}

} // namespace Content
