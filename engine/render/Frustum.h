// The six planes of a camera's view volume, taken from the product of its view and projection matrices, and the
// visibility test of a bounding box against them.
#pragma once

#include "Plane.h"

namespace KeystrelEngine {

class BoundingBox;
struct Matrix4;

class Frustum
{
public:
    static constexpr int kPlaneCount = 6;

    Frustum() = default;
    virtual ~Frustum() = default;

    // The planes of view x projection (both in the row-vector layout), in the order right, left, bottom, top,
    // far, near, each normalised so that inside points give a positive distance.
    void Build(const Matrix4& projection, const Matrix4& view);
    // A sphere test with the box's world centre and radius: false as soon as one plane has the centre at a
    // distance of -radius or less.
    bool Test(const BoundingBox& box) const;

    const Plane& GetPlane(int index) const { return m_planes[index]; }

private:
    Plane m_planes[kPlaneCount];
};

} // namespace KeystrelEngine
