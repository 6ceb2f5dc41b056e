// The bounding volume of every placed object: the local axis-aligned box, the matrix that places it, and the
// world-space axis-aligned box with its centre, half-extent and bounding-sphere radius. An owner moves the box by
// writing its world matrix into m_transformation and calling Update(true).
//
// The layout (51 floats, in this order) is part of the engine's data: nothing may be added or reordered.
#pragma once

#include "Matrix4.h"
#include "Vector3.h"

#include <cstdint>

namespace KeystrelEngine {

class BoundingBox
{
public:
    // The corners of an empty box: the bounds of the world turned inside out, so that the first point sets both.
    // They lie beyond every place a file can give (FileValues::kWorldExtent).
    static constexpr float kEmptyBound = 100000.0f;
    static constexpr Vector3 kEmptyMin{kEmptyBound, kEmptyBound, kEmptyBound};
    static constexpr Vector3 kEmptyMax{-kEmptyBound, -kEmptyBound, -kEmptyBound};

    BoundingBox() = default;
    BoundingBox(const Vector3& localMin, const Vector3& localMax);

    // Sets the local corners and updates without transformation.
    void Set(const Vector3& localMin, const Vector3& localMax);
    // The local box of count packed points. With no points the corners stay at the bounds of the world
    // (+100000 / -100000), so the box is inside out.
    void FromPoints(const Vector3* points, std::uint32_t count);
    // Grows the local corners to hold the other box's world corners, then updates without transformation.
    void ExpandMinMax(const BoundingBox& other);
    // Recomputes the world values: from the local corners as they are (both matrices become the identity), or,
    // with transform, from the eight local corners placed by m_transformation.
    void Update(bool transform);
    // True when the segment from start to start + vector touches the world box (a separating-axis test; equal
    // sides count as touching).
    bool IntersectSegment(const Vector3& start, const Vector3& vector) const;

    // The box between a and b: its local corners interpolated, updated without transformation.
    static BoundingBox Interpolate(const BoundingBox& a, const BoundingBox& b, float t);

    Vector3 m_localMin;
    Vector3 m_localMax;
    Matrix4 m_transformation;
    // Reset with the transformation by an update without transformation and copied with the box; nothing else
    // reads or writes it.
    Matrix4 m_secondMatrix;
    Vector3 m_worldMin;
    Vector3 m_worldMax;
    Vector3 m_centre;
    Vector3 m_halfExtent;
    float m_radius = 0.0f;
};

static_assert(sizeof(BoundingBox) == 51 * sizeof(float));

} // namespace KeystrelEngine
