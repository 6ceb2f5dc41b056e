#include "Plane.h"

#include <algorithm>
#include <cmath>

namespace KeystrelEngine {
namespace {

struct Point2
{
    float first;
    float second;
};

} // namespace

void Plane::FromPoints(const Vector3& p0, const Vector3& p1, const Vector3& p2)
{
    const Vector3 n = Cross(p1 - p0, p2 - p0);
    a = n.x;
    b = n.y;
    c = n.z;
    d = -Dot(n, p0);
    Normalize();
}

void Plane::Normalize()
{
    const float length = GetNormal().Length();
    if (length < kTolerance)
        return;
    a /= length;
    b /= length;
    c /= length;
    d /= length;
}

bool Plane::IntersectRay(const Vector3& origin, const Vector3& direction, float& t) const
{
    const float q = Dot(GetNormal(), direction);
    if (std::fabs(q) < kTolerance)
        return false;
    t = -(Dot(GetNormal(), origin) + d) / q;
    return t > 0.0f;
}

// The test works in the two coordinates that the normal's largest component leaves (on a tie x is dropped before
// y, and y before z) and solves P - A = u (C - A) + v (B - A) there.
bool IsPointInTriangle(const Plane& plane, const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c)
{
    const float nx = std::fabs(plane.a), ny = std::fabs(plane.b), nz = std::fabs(plane.c);
    const float largest = std::max({nx, ny, nz});
    auto project = [&](const Vector3& v) -> Point2 {
        if (std::fabs(largest - nx) < kTolerance)
            return {v.y, v.z};
        if (std::fabs(largest - ny) < kTolerance)
            return {v.x, v.z};
        return {v.x, v.y};
    };
    const Point2 pa = project(p - a), e1 = project(b - a), e2 = project(c - a);

    float u = 0.0f;
    float v = 0.0f;
    if (std::fabs(e1.first) >= kTolerance) {
        const float determinant = e2.second * e1.first - e2.first * e1.second;
        if (determinant == 0.0f)
            return false;
        u = (e1.first * pa.second - pa.first * e1.second) / determinant;
        if (u < 0.0f || u > 1.0f)
            return false;
        v = (pa.first - u * e2.first) / e1.first;
    } else {
        if (e2.first == 0.0f || e1.second == 0.0f)
            return false;
        u = pa.first / e2.first;
        if (u < 0.0f || u > 1.0f)
            return false;
        v = (pa.second - u * e2.second) / e1.second;
    }
    return v >= 0.0f && u + v <= 1.0f;
}

} // namespace KeystrelEngine
