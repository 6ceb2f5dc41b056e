// A region of a picture for Picture::Draw, in pixels (x right, y up from the bottom row; pixel (x, y) covers
// x..x+1, y..y+1). A shape is its signed distance (negative inside) and a box outside which it covers nothing;
// coverage falls from 1 to 0 across an edge band (one pixel by default: anti-aliasing; wider: soft shapes).
#pragma once

#include "tools/content/Layout.h"
#include "tools/content/art/Outlines.h"

#include <functional>

namespace Content {

class Shape
{
public:
    static Shape Circle(Point centre, float radius);
    // Distances are exact on the axes and approximate elsewhere, close enough for soft edges.
    static Shape Ellipse(Point centre, float radiusX, float radiusY);
    static Shape RoundedRect(const LayoutRect& rect, float radius);
    // Any closed outline (stars, leaves, wings); self-crossing outlines fill by the even-odd rule.
    static Shape Polygon(const Outline& outline);
    // The whole picture.
    static Shape Everywhere();

    // The band of the given width centred on this shape's edge (borders, rings, strokes).
    Shape Stroke(float width) const;
    // The shape grown outwards by distance (inwards for a negative one).
    Shape Grown(float distance) const;
    // The width of the edge band in pixels.
    Shape Soft(float edge) const;

    // 0..1 at the point.
    float Coverage(Point p) const;
    // Beyond this box (the shape's with its edge band) the coverage is 0.
    LayoutRect Bounds() const;

private:
    using Distance = std::function<float(Point)>;

    Shape(Distance distance, const LayoutRect& bounds) : m_distance(std::move(distance)), m_bounds(bounds) {}
    Shape Widened(Distance distance, float margin) const;

    Distance m_distance;
    LayoutRect m_bounds;
    float m_edge = 1.0f;
};

} // namespace Content
