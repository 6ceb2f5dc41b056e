#include "tools/content/art/Paint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Content {
namespace {

Color Mix(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

void Check(const std::vector<ColourStop>& stops)
{
    if (stops.empty())
        throw std::invalid_argument("a gradient needs a colour stop");
}

} // namespace

Paint::Paint(const Color& colour) : m_colourAt([colour](Point) { return colour; }) {}

Paint Paint::Linear(Point from, Point to, std::vector<ColourStop> stops)
{
    Check(stops);
    const float dx = to.x - from.x, dy = to.y - from.y;
    const float length = dx * dx + dy * dy;
    return Paint([=, stops = std::move(stops)](Point p) {
        const float t = length > 0.0f ? ((p.x - from.x) * dx + (p.y - from.y) * dy) / length : 0.0f;
        return Between(stops, t);
    });
}

Paint Paint::Radial(Point centre, float radius, std::vector<ColourStop> stops)
{
    Check(stops);
    return Paint([=, stops = std::move(stops)](Point p) {
        return Between(stops, std::hypot(p.x - centre.x, p.y - centre.y) / radius);
    });
}

Paint Paint::Noise(const ValueNoise& noise, float cellSize, int octaves, std::vector<ColourStop> stops)
{
    Check(stops);
    return Paint([=, stops = std::move(stops)](Point p) {
        return Between(stops, noise.Fbm(p.x / cellSize, p.y / cellSize, octaves));
    });
}

Color Paint::Between(const std::vector<ColourStop>& stops, float t)
{
    if (t <= stops.front().at)
        return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const float span = stops[i].at - stops[i - 1].at;
            return Mix(stops[i - 1].colour, stops[i].colour, span > 0.0f ? (t - stops[i - 1].at) / span : 1.0f);
        }
    }
    return stops.back().colour;
}

} // namespace Content
