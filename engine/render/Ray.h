// A ray for picking: an origin and a direction that need not be of unit length. The camera's screen operations
// build it from a point under the cursor; a model's IntersectRay takes it in world space.
#pragma once

#include "Matrix4.h"
#include "Vector3.h"

namespace KeystrelEngine {

struct Ray
{
    Vector3 m_origin;
    Vector3 m_direction;
};

// The ray through matrix x origin and matrix x (origin + direction), both taken as points.
inline Ray TransformRay(const Matrix4& matrix, const Ray& ray)
{
    const Vector3 origin = matrix.TransformPoint(ray.m_origin);
    return {origin, matrix.TransformPoint(ray.m_origin + ray.m_direction) - origin};
}

} // namespace KeystrelEngine
