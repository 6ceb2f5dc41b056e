// Closed 2D outlines (polygons without the first point repeated) for the mesh shapes and the picture painter:
// regular polygons, rounded rectangles, ellipses, stars, Bézier curves, and the triangulation of any simple
// outline. Builders return outlines counter-clockwise (x right, y up), the winding the shapes expect; a
// clockwise outline is turned round where it is used.
#pragma once

#include "tools/content/Layout.h"

#include <cstdint>
#include <vector>

namespace Content {

struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

using Outline = std::vector<Point>;

class Outlines
{
public:
    // sides corners on a circle of the given radius (circumradius) about centre, the first at firstCorner
    // radians from +x. A hexagon with firstCorner 0 is flat-topped (corners at 0, 60, ... degrees).
    static Outline RegularPolygon(int sides, float radius, float firstCorner = 0.0f, Point centre = {});
    // The rectangle with its corners rounded by radius (clamped to half the shorter side), each corner in
    // cornerSegments straight pieces: 1 gives a bevel, 0 or a zero radius sharp corners. Every call with the same
    // cornerSegments has the same number of points (4 (cornerSegments + 1), 4 for sharp corners), starting at
    // the bottom-right corner, so outlines of different sizes can be joined point by point.
    static Outline RoundedRect(const LayoutRect& rect, float radius, int cornerSegments);
    static Outline Ellipse(Point centre, float radiusX, float radiusY, int segments);
    // points tips at radius outer and notches at radius inner, the first tip at firstTip radians from +x.
    static Outline Star(int points, float outer, float inner, float firstTip = 1.5707964f, Point centre = {});
    // Appends the cubic Bézier curve from the outline's last point through the control points to end, in
    // segments pieces (end included).
    static void AppendBezier(Outline& outline, Point control1, Point control2, Point end, int segments);

    // Positive for counter-clockwise outlines.
    static float SignedArea(const Outline& outline);
    static Outline Reversed(Outline outline);
    // Triangles over a simple outline (concave allowed, no holes) by ear clipping, as index triples into the
    // outline, each counter-clockwise (x right, y up) whatever the outline's own winding.
    static std::vector<std::uint32_t> Triangulate(const Outline& outline);
};

} // namespace Content
