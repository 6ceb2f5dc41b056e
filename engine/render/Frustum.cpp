#include "Frustum.h"

#include "BoundingBox.h"
#include "Matrix4.h"

namespace KeystrelEngine {

namespace {

// The plane column 3 + sign x column k of the matrix.
void SetPlane(Plane& plane, const Matrix4& m, int column, float sign)
{
    plane.a = m.m[3] + sign * m.m[column];
    plane.b = m.m[7] + sign * m.m[4 + column];
    plane.c = m.m[11] + sign * m.m[8 + column];
    plane.d = m.m[15] + sign * m.m[12 + column];
    plane.Normalize();
}

} // namespace

void Frustum::Build(const Matrix4& projection, const Matrix4& view)
{
    const Matrix4 m = view * projection;
    SetPlane(m_planes[0], m, 0, -1.0f);
    SetPlane(m_planes[1], m, 0, 1.0f);
    SetPlane(m_planes[2], m, 1, 1.0f);
    SetPlane(m_planes[3], m, 1, -1.0f);
    SetPlane(m_planes[4], m, 2, -1.0f);
    SetPlane(m_planes[5], m, 2, 1.0f);
}

bool Frustum::Test(const BoundingBox& box) const
{
    for (const Plane& plane : m_planes) {
        if (Dot(plane.GetNormal(), box.m_centre) + plane.d <= -box.m_radius)
            return false;
    }
    return true;
}

} // namespace KeystrelEngine
