// Mesh builders for the shapes the game's models are made of. Every shape follows Mesh's conventions (front
// faces counter-clockwise about their normals, v = 0 at the picture's bottom). Flat shapes lie in the plane z
// (0 unless given) facing +z and map the texture over their box (planar: x to u, y to v), so one picture painted
// with the same outline in pixels covers them exactly. Solids face outwards.
//
// For morph models build every frame with the same call and the same counts (segments, columns, points):
// convex outlines of equal point count always triangulate alike; for concave outlines build frame 0 and move
// its vertices (Mesh::Warp, transforms) for the other frames, so the topology cannot change.
//
// Counts below the least that makes a shape (a sheet without columns, a disc of two segments, an outline of two
// points) throw std::invalid_argument.
#pragma once

#include "tools/content/Layout.h"
#include "tools/content/art/Mesh.h"
#include "tools/content/art/Outlines.h"

#include <vector>

namespace Content {

// The part of the texture a shape is mapped onto (u0, v0 at the box's bottom left).
struct UvRect
{
    float u0 = 0.0f;
    float v0 = 0.0f;
    float u1 = 1.0f;
    float v1 = 1.0f;
};

// How Extrude maps and shades, set up by chained calls: ExtrudeOptions().SmoothSides().Sides({0, 0, 1, 0.25f}).
struct ExtrudeOptions
{
    ExtrudeOptions& Caps(const UvRect& uv);
    ExtrudeOptions& Sides(const UvRect& uv);
    ExtrudeOptions& SmoothSides();
    ExtrudeOptions& NoBottom();

    UvRect cap;               // both caps, planar over the outline's box
    UvRect side;              // u runs once round the outline (from its first point), v from bottom to top
    bool smoothSides = false; // corner normals averaged (round outlines) instead of flat per side
    bool bottomCap = true;
};

class Shapes
{
public:
    // A rectangle of two triangles: GUI panels in virtual-screen units, cards, billboards.
    static Mesh Panel(const LayoutRect& rect, const UvRect& uv = {}, float z = 0.0f);
    // The rectangle cut into columns x rows quads, for models that bend (swaying cards, waves).
    static Mesh Sheet(const LayoutRect& rect, int columns, int rows, const UvRect& uv = {}, float z = 0.0f);
    // A window or button frame: the ring between the rounded rectangle (Outlines::RoundedRect) and the same
    // inset by border, and with withCentre the centre panel inside the ring. The texture spans the outer box.
    static Mesh Frame(const LayoutRect& rect, float border, float radius, int cornerSegments, bool withCentre = true,
                      const UvRect& uv = {});
    // Any simple outline filled (logos, markers, leaves, wings, silhouettes).
    static Mesh Flat(const Outline& outline, const UvRect& uv = {}, float z = 0.0f);
    // About the origin; the texture spans the square of the outer radius.
    static Mesh Disc(float radius, int segments, const UvRect& uv = {});
    static Mesh Ring(float inner, float outer, int segments, const UvRect& uv = {});
    // The outline stood up from z = bottom to z = top with caps (top facing +z, bottom -z) and walls.
    static Mesh Extrude(const Outline& outline, float bottom, float top, const ExtrudeOptions& options = {});
    // The regular prism about the origin, z from -height / 2 to height / 2 (a flat-topped hexagonal cell:
    // sides 6, firstCorner 0).
    static Mesh Prism(int sides, float radius, float height, float firstCorner = 0.0f,
                      const ExtrudeOptions& options = {});
    static Mesh Box(const Vector3& minimum, const Vector3& maximum, const ExtrudeOptions& options = {});
    // A strip along the path, facing the given direction, widths per point (or one for all); u runs across
    // the strip (0 on its right, looking along the path from the facing side), v along it by length.
    static Mesh Ribbon(const std::vector<Vector3>& path, const std::vector<float>& widths, const Vector3& facing,
                       const UvRect& uv = {});
};

} // namespace Content
