#include "tools/content/art/Shapes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Content {
namespace {

const Vector3 kUp{0.0f, 0.0f, 1.0f};

// Maps points of a box onto a part of the texture.
class PlanarMap
{
public:
    PlanarMap(Point minimum, Point maximum, const UvRect& uv) : m_minimum(minimum), m_maximum(maximum), m_uv(uv) {}

    static PlanarMap Around(const Outline& outline, const UvRect& uv)
    {
        Point minimum = outline.empty() ? Point{} : outline[0];
        Point maximum = minimum;
        for (const Point& p : outline) {
            minimum = {std::min(minimum.x, p.x), std::min(minimum.y, p.y)};
            maximum = {std::max(maximum.x, p.x), std::max(maximum.y, p.y)};
        }
        return {minimum, maximum, uv};
    }

    float U(float x) const { return Along(x, m_minimum.x, m_maximum.x, m_uv.u0, m_uv.u1); }
    float V(float y) const { return Along(y, m_minimum.y, m_maximum.y, m_uv.v0, m_uv.v1); }

    std::uint32_t Add(Mesh& mesh, Point p, float z) const { return mesh.AddVertex({p.x, p.y, z}, kUp, U(p.x), V(p.y)); }

private:
    static float Along(float value, float from, float to, float a, float b)
    {
        const float t = to > from ? (value - from) / (to - from) : 0.0f;
        return a + t * (b - a);
    }

    Point m_minimum;
    Point m_maximum;
    UvRect m_uv;
};

void Require(bool holds, const char* what)
{
    if (!holds)
        throw std::invalid_argument(what);
}

Outline CounterClockwise(const Outline& outline)
{
    return Outlines::SignedArea(outline) < 0.0f ? Outlines::Reversed(outline) : outline;
}

Vector3 EdgeNormal(Point a, Point b)
{
    return Vector3{b.y - a.y, a.x - b.x, 0.0f}.Normalized();
}

void AddWalls(Mesh& mesh, const Outline& outline, float bottom, float top, const ExtrudeOptions& options)
{
    const std::size_t n = outline.size();
    std::vector<float> along(n + 1, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        const Point a = outline[i], b = outline[(i + 1) % n];
        along[i + 1] = along[i] + std::hypot(b.x - a.x, b.y - a.y);
    }
    const UvRect& uv = options.side;
    for (std::size_t i = 0; i < n; ++i) {
        const Point a = outline[i], b = outline[(i + 1) % n];
        const Vector3 flat = EdgeNormal(a, b);
        Vector3 normalA = flat, normalB = flat;
        if (options.smoothSides) {
            normalA = (flat + EdgeNormal(outline[(i + n - 1) % n], a)).Normalized();
            normalB = (flat + EdgeNormal(b, outline[(i + 2) % n])).Normalized();
        }
        const float ua = uv.u0 + (uv.u1 - uv.u0) * along[i] / along[n];
        const float ub = uv.u0 + (uv.u1 - uv.u0) * along[i + 1] / along[n];
        const std::uint32_t first = mesh.AddVertex({a.x, a.y, bottom}, normalA, ua, uv.v0);
        mesh.AddVertex({b.x, b.y, bottom}, normalB, ub, uv.v0);
        mesh.AddVertex({b.x, b.y, top}, normalB, ub, uv.v1);
        mesh.AddVertex({a.x, a.y, top}, normalA, ua, uv.v1);
        mesh.AddQuad(first, first + 1, first + 2, first + 3);
    }
}

Outline Circle(float radius, int segments)
{
    return Outlines::RegularPolygon(segments, radius);
}

} // namespace

ExtrudeOptions& ExtrudeOptions::Caps(const UvRect& uv)
{
    cap = uv;
    return *this;
}

ExtrudeOptions& ExtrudeOptions::Sides(const UvRect& uv)
{
    side = uv;
    return *this;
}

ExtrudeOptions& ExtrudeOptions::SmoothSides()
{
    smoothSides = true;
    return *this;
}

ExtrudeOptions& ExtrudeOptions::NoBottom()
{
    bottomCap = false;
    return *this;
}

Mesh Shapes::Panel(const LayoutRect& rect, const UvRect& uv, float z)
{
    return Sheet(rect, 1, 1, uv, z);
}

Mesh Shapes::Sheet(const LayoutRect& rect, int columns, int rows, const UvRect& uv, float z)
{
    Require(columns >= 1 && rows >= 1, "a sheet needs a column and a row");
    const PlanarMap map({rect.left, rect.bottom}, {rect.Right(), rect.Top()}, uv);
    Mesh mesh;
    for (int y = 0; y <= rows; ++y) {
        for (int x = 0; x <= columns; ++x) {
            map.Add(mesh,
                    {rect.left + rect.width * static_cast<float>(x) / static_cast<float>(columns),
                     rect.bottom + rect.height * static_cast<float>(y) / static_cast<float>(rows)},
                    z);
        }
    }
    const auto stride = static_cast<std::uint32_t>(columns + 1);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const auto a = static_cast<std::uint32_t>(y) * stride + static_cast<std::uint32_t>(x);
            mesh.AddQuad(a, a + 1, a + stride + 1, a + stride);
        }
    }
    return mesh;
}

Mesh Shapes::Frame(const LayoutRect& rect, float border, float radius, int cornerSegments, bool withCentre,
                   const UvRect& uv)
{
    const Outline outer = Outlines::RoundedRect(rect, radius, cornerSegments);
    const float inset = std::min(border, 0.5f * std::min(rect.width, rect.height));
    const LayoutRect innerRect{rect.left + inset, rect.bottom + inset, rect.width - 2.0f * inset,
                               rect.height - 2.0f * inset};
    const Outline inner = Outlines::RoundedRect(innerRect, std::max(radius - inset, 0.0f), cornerSegments);
    const PlanarMap map = PlanarMap::Around(outer, uv);
    const auto n = static_cast<std::uint32_t>(outer.size());
    Mesh mesh;
    for (const Point& p : outer)
        map.Add(mesh, p, 0.0f);
    for (const Point& p : inner)
        map.Add(mesh, p, 0.0f);
    for (std::uint32_t i = 0; i < n; ++i)
        mesh.AddQuad(i, (i + 1) % n, n + (i + 1) % n, n + i);
    if (withCentre) {
        const std::uint32_t centre =
            map.Add(mesh, {innerRect.left + 0.5f * innerRect.width, innerRect.bottom + 0.5f * innerRect.height}, 0.0f);
        for (std::uint32_t i = 0; i < n; ++i)
            mesh.AddTriangle(centre, n + i, n + (i + 1) % n);
    }
    return mesh;
}

Mesh Shapes::Flat(const Outline& outline, const UvRect& uv, float z)
{
    Require(outline.size() >= 3, "a flat shape needs an outline of three points or more");
    const PlanarMap map = PlanarMap::Around(outline, uv);
    Mesh mesh;
    for (const Point& p : outline)
        map.Add(mesh, p, z);
    mesh.indices = Outlines::Triangulate(outline);
    return mesh;
}

Mesh Shapes::Disc(float radius, int segments, const UvRect& uv)
{
    Require(segments >= 3, "a disc needs three segments or more");
    const PlanarMap map({-radius, -radius}, {radius, radius}, uv);
    Mesh mesh;
    const std::uint32_t centre = map.Add(mesh, {}, 0.0f);
    for (const Point& p : Circle(radius, segments))
        map.Add(mesh, p, 0.0f);
    const auto n = static_cast<std::uint32_t>(segments);
    for (std::uint32_t i = 0; i < n; ++i)
        mesh.AddTriangle(centre, 1 + i, 1 + (i + 1) % n);
    return mesh;
}

Mesh Shapes::Ring(float inner, float outer, int segments, const UvRect& uv)
{
    Require(segments >= 3, "a ring needs three segments or more");
    const PlanarMap map({-outer, -outer}, {outer, outer}, uv);
    Mesh mesh;
    for (const Point& p : Circle(outer, segments))
        map.Add(mesh, p, 0.0f);
    for (const Point& p : Circle(inner, segments))
        map.Add(mesh, p, 0.0f);
    const auto n = static_cast<std::uint32_t>(segments);
    for (std::uint32_t i = 0; i < n; ++i)
        mesh.AddQuad(i, (i + 1) % n, n + (i + 1) % n, n + i);
    return mesh;
}

Mesh Shapes::Extrude(const Outline& outline, float bottom, float top, const ExtrudeOptions& options)
{
    const Outline ring = CounterClockwise(outline);
    Mesh mesh = Flat(ring, options.cap, top);
    if (options.bottomCap)
        mesh.Append(Flat(ring, options.cap, bottom).Flip());
    AddWalls(mesh, ring, bottom, top, options);
    return mesh;
}

Mesh Shapes::Prism(int sides, float radius, float height, float firstCorner, const ExtrudeOptions& options)
{
    return Extrude(Outlines::RegularPolygon(sides, radius, firstCorner), -0.5f * height, 0.5f * height, options);
}

Mesh Shapes::Box(const Vector3& minimum, const Vector3& maximum, const ExtrudeOptions& options)
{
    const LayoutRect base{minimum.x, minimum.y, maximum.x - minimum.x, maximum.y - minimum.y};
    return Extrude(Outlines::RoundedRect(base, 0.0f, 0), minimum.z, maximum.z, options);
}

Mesh Shapes::Ribbon(const std::vector<Vector3>& path, const std::vector<float>& widths, const Vector3& facing,
                    const UvRect& uv)
{
    Require(path.size() >= 2 && (widths.size() == 1 || widths.size() == path.size()),
            "a ribbon needs two points or more and one width or one per point");
    const std::size_t n = path.size();
    std::vector<float> along(n, 0.0f);
    for (std::size_t i = 1; i < n; ++i)
        along[i] = along[i - 1] + (path[i] - path[i - 1]).Length();
    const Vector3 normal = facing.Normalized();
    Mesh mesh;
    for (std::size_t i = 0; i < n; ++i) {
        const Vector3 tangent = path[std::min(i + 1, n - 1)] - path[i == 0 ? 0 : i - 1];
        const Vector3 side = Cross(normal, tangent).Normalized() * (0.5f * widths[widths.size() == 1 ? 0 : i]);
        const float v = uv.v0 + (uv.v1 - uv.v0) * along[i] / along[n - 1];
        mesh.AddVertex(path[i] - side, normal, uv.u0, v);
        mesh.AddVertex(path[i] + side, normal, uv.u1, v);
    }
    for (std::uint32_t i = 0; i + 1 < n; ++i)
        mesh.AddQuad(2 * i, 2 * i + 2, 2 * i + 3, 2 * i + 1);
    return mesh;
}

} // namespace Content
