#include "tools/content/art/Outlines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Content {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float Cross(Point o, Point a, Point b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool Same(Point a, Point b)
{
    return a.x == b.x && a.y == b.y;
}

bool InsideTriangle(Point p, Point a, Point b, Point c)
{
    return Cross(a, b, p) >= 0.0f && Cross(b, c, p) >= 0.0f && Cross(c, a, p) >= 0.0f;
}

// Whether corner i of the ring (a counter-clockwise polygon) is an ear: convex, with no other corner inside.
bool IsEar(const Outline& outline, const std::vector<std::uint32_t>& ring, std::size_t i)
{
    const std::size_t n = ring.size();
    const Point a = outline[ring[(i + n - 1) % n]];
    const Point b = outline[ring[i]];
    const Point c = outline[ring[(i + 1) % n]];
    if (Cross(a, b, c) <= 0.0f)
        return false;
    for (std::size_t k = 0; k < n; ++k) {
        if (k == i || k == (i + 1) % n || k == (i + n - 1) % n)
            continue;
        const Point p = outline[ring[k]];
        if (InsideTriangle(p, a, b, c) && !Same(p, a) && !Same(p, b) && !Same(p, c))
            return false;
    }
    return true;
}

} // namespace

Outline Outlines::RegularPolygon(int sides, float radius, float firstCorner, Point centre)
{
    Outline outline;
    for (int k = 0; k < sides; ++k) {
        const float angle = firstCorner + 2.0f * kPi * static_cast<float>(k) / static_cast<float>(sides);
        outline.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return outline;
}

Outline Outlines::RoundedRect(const LayoutRect& rect, float radius, int cornerSegments)
{
    const float r = std::clamp(radius, 0.0f, 0.5f * std::min(rect.width, rect.height));
    const int pieces = std::max(cornerSegments, 0);
    // Corner centres from the bottom-right one, counter-clockwise; each corner's arc starts at its own angle.
    const Point centres[4] = {{rect.Right() - r, rect.bottom + r},
                              {rect.Right() - r, rect.Top() - r},
                              {rect.left + r, rect.Top() - r},
                              {rect.left + r, rect.bottom + r}};
    Outline outline;
    for (int corner = 0; corner < 4; ++corner) {
        const float start = -0.5f * kPi + 0.5f * kPi * static_cast<float>(corner);
        if (pieces == 0) {
            const float middle = start + 0.25f * kPi;
            outline.push_back({centres[corner].x + std::sqrt(2.0f) * r * std::cos(middle),
                               centres[corner].y + std::sqrt(2.0f) * r * std::sin(middle)});
            continue;
        }
        for (int k = 0; k <= pieces; ++k) {
            const float angle = start + 0.5f * kPi * static_cast<float>(k) / static_cast<float>(pieces);
            outline.push_back({centres[corner].x + r * std::cos(angle), centres[corner].y + r * std::sin(angle)});
        }
    }
    return outline;
}

Outline Outlines::Ellipse(Point centre, float radiusX, float radiusY, int segments)
{
    Outline outline;
    for (int k = 0; k < segments; ++k) {
        const float angle = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(segments);
        outline.push_back({centre.x + radiusX * std::cos(angle), centre.y + radiusY * std::sin(angle)});
    }
    return outline;
}

Outline Outlines::Star(int points, float outer, float inner, float firstTip, Point centre)
{
    Outline outline;
    for (int k = 0; k < 2 * points; ++k) {
        const float angle = firstTip + kPi * static_cast<float>(k) / static_cast<float>(points);
        const float radius = k % 2 == 0 ? outer : inner;
        outline.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return outline;
}

void Outlines::AppendBezier(Outline& outline, Point control1, Point control2, Point end, int segments)
{
    const Point start = outline.empty() ? Point{} : outline.back();
    for (int k = 1; k <= segments; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(segments);
        const float s = 1.0f - t;
        const float w0 = s * s * s, w1 = 3.0f * s * s * t, w2 = 3.0f * s * t * t, w3 = t * t * t;
        outline.push_back({w0 * start.x + w1 * control1.x + w2 * control2.x + w3 * end.x,
                           w0 * start.y + w1 * control1.y + w2 * control2.y + w3 * end.y});
    }
}

float Outlines::SignedArea(const Outline& outline)
{
    float twice = 0.0f;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point a = outline[i];
        const Point b = outline[(i + 1) % outline.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return 0.5f * twice;
}

Outline Outlines::Reversed(Outline outline)
{
    std::reverse(outline.begin(), outline.end());
    return outline;
}

std::vector<std::uint32_t> Outlines::Triangulate(const Outline& outline)
{
    std::vector<std::uint32_t> ring(outline.size());
    for (std::uint32_t i = 0; i < ring.size(); ++i)
        ring[i] = i;
    if (SignedArea(outline) < 0.0f)
        std::reverse(ring.begin(), ring.end());
    std::vector<std::uint32_t> triangles;
    while (ring.size() > 3) {
        std::size_t ear = 0;
        while (ear < ring.size() && !IsEar(outline, ring, ear))
            ++ear;
        // Only a self-crossing or degenerate outline has no ear; cutting any corner still ends the loop.
        if (ear == ring.size())
            ear = 0;
        const std::size_t n = ring.size();
        triangles.insert(triangles.end(), {ring[(ear + n - 1) % n], ring[ear], ring[(ear + 1) % n]});
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(ear));
    }
    if (ring.size() == 3)
        triangles.insert(triangles.end(), ring.begin(), ring.end());
    return triangles;
}

} // namespace Content
