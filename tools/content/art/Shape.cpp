#include "tools/content/art/Shape.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Content {
namespace {

constexpr float kFar = 1.0e7f;

float SegmentDistance(Point p, Point a, Point b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = dx * dx + dy * dy;
    const float t = length > 0.0f ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0f, 1.0f) : 0.0f;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

LayoutRect BoxOf(const Outline& outline)
{
    float left = kFar, bottom = kFar, right = -kFar, top = -kFar;
    for (const Point& p : outline) {
        left = std::min(left, p.x);
        bottom = std::min(bottom, p.y);
        right = std::max(right, p.x);
        top = std::max(top, p.y);
    }
    return {left, bottom, right - left, top - bottom};
}

} // namespace

Shape Shape::Circle(Point centre, float radius)
{
    return {[centre, radius](Point p) { return std::hypot(p.x - centre.x, p.y - centre.y) - radius; },
            {centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius}};
}

Shape Shape::Ellipse(Point centre, float radiusX, float radiusY)
{
    const float smaller = std::min(radiusX, radiusY);
    return {[=](Point p) {
                const float nx = (p.x - centre.x) / radiusX, ny = (p.y - centre.y) / radiusY;
                return (std::sqrt(nx * nx + ny * ny) - 1.0f) * smaller;
            },
            {centre.x - radiusX, centre.y - radiusY, 2.0f * radiusX, 2.0f * radiusY}};
}

Shape Shape::RoundedRect(const LayoutRect& rect, float radius)
{
    const float r = std::clamp(radius, 0.0f, 0.5f * std::min(rect.width, rect.height));
    const Point centre{rect.left + 0.5f * rect.width, rect.bottom + 0.5f * rect.height};
    const float halfWidth = 0.5f * rect.width - r, halfHeight = 0.5f * rect.height - r;
    return {[=](Point p) {
                const float qx = std::fabs(p.x - centre.x) - halfWidth, qy = std::fabs(p.y - centre.y) - halfHeight;
                return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
            },
            rect};
}

Shape Shape::Polygon(const Outline& outline)
{
    return {[outline](Point p) {
                float nearest = std::numeric_limits<float>::max();
                bool inside = false;
                for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
                    const Point a = outline[i], b = outline[j];
                    nearest = std::min(nearest, SegmentDistance(p, a, b));
                    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                        inside = !inside;
                }
                return inside ? -nearest : nearest;
            },
            BoxOf(outline)};
}

Shape Shape::Everywhere()
{
    return {[](Point) { return -kFar; }, {-kFar, -kFar, 2.0f * kFar, 2.0f * kFar}};
}

Shape Shape::Stroke(float width) const
{
    return Widened([inner = m_distance, half = 0.5f * width](Point p) { return std::fabs(inner(p)) - half; },
                   0.5f * width);
}

Shape Shape::Grown(float distance) const
{
    return Widened([inner = m_distance, distance](Point p) { return inner(p) - distance; }, distance);
}

Shape Shape::Soft(float edge) const
{
    Shape soft = *this;
    soft.m_edge = std::max(edge, 1.0e-3f);
    return soft;
}

float Shape::Coverage(Point p) const
{
    return std::clamp(0.5f - m_distance(p) / m_edge, 0.0f, 1.0f);
}

LayoutRect Shape::Bounds() const
{
    const float band = 0.5f * m_edge;
    return {m_bounds.left - band, m_bounds.bottom - band, m_bounds.width + m_edge, m_bounds.height + m_edge};
}

Shape Shape::Widened(Distance distance, float margin) const
{
    const float grow = std::max(margin, 0.0f);
    Shape widened(
        {std::move(distance),
         {m_bounds.left - grow, m_bounds.bottom - grow, m_bounds.width + 2.0f * grow, m_bounds.height + 2.0f * grow}});
    widened.m_edge = m_edge;
    return widened;
}

} // namespace Content
