// A plane in normal-and-distance form: a point p lies on it when a * p.x + b * p.y + c * p.z + d = 0. The
// frustum holds six of them; model picking builds one per triangle and then asks IsPointInTriangle.
#pragma once

#include "Vector3.h"

namespace KeystrelEngine {

class Plane
{
public:
    Plane() = default;
    virtual ~Plane() = default;

    Vector3 GetNormal() const { return {a, b, c}; }

    // The plane through three points, normal (p1 - p0) x (p2 - p0), normalised: the normal faces the side from
    // which the points run counter-clockwise. Collinear points give a zero normal and d = 0.
    void FromPoints(const Vector3& p0, const Vector3& p1, const Vector3& p2);
    // Divides a, b, c and d by the normal's length, unless that length is below the tolerance.
    void Normalize();
    // Where the ray origin + t * direction meets the plane. A ray parallel to the plane (within the tolerance)
    // gives false and leaves t alone; otherwise t is written and the result is whether t > 0.
    bool IntersectRay(const Vector3& origin, const Vector3& direction, float& t) const;

    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;
};

// Whether P, taken to lie on the plane, lies inside the triangle A, B, C; edges and corners count as inside.
// Only the plane's normal is read. A degenerate triangle contains no point.
bool IsPointInTriangle(const Plane& plane, const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c);

} // namespace KeystrelEngine
