#include "engine/render/Plane.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;

namespace {

Plane PlaneThrough(const Vector3& a, const Vector3& b, const Vector3& c)
{
    Plane plane;
    plane.FromPoints(a, b, c);
    return plane;
}

} // namespace

TEST(Plane, FromPointsFacesTheCounterClockwiseSide)
{
    const Plane plane = PlaneThrough({0, 0, 2}, {3, 0, 2}, {0, 5, 2});
    EXPECT_FLOAT_EQ(plane.a, 0);
    EXPECT_FLOAT_EQ(plane.b, 0);
    EXPECT_FLOAT_EQ(plane.c, 1);
    EXPECT_FLOAT_EQ(plane.d, -2);

    const Plane line = PlaneThrough({1, 1, 1}, {2, 2, 2}, {4, 4, 4});
    EXPECT_EQ(line.GetNormal().Length(), 0.0f);
    EXPECT_EQ(line.d, 0.0f);
}

TEST(Plane, RayHitsOnlyInFrontOfItsOrigin)
{
    const Plane plane = PlaneThrough({0, 0, 2}, {3, 0, 2}, {0, 5, 2});
    float t = -1;
    EXPECT_TRUE(plane.IntersectRay({1, 1, 0}, {0, 0, 0.5f}, t));
    EXPECT_FLOAT_EQ(t, 4);

    t = 42;
    EXPECT_FALSE(plane.IntersectRay({1, 1, 0}, {1, 0, 0}, t)); // parallel
    EXPECT_FALSE(plane.IntersectRay({1, 1, 0}, {1, 0, 0.00005f}, t));
    EXPECT_EQ(t, 42.0f);

    EXPECT_FALSE(plane.IntersectRay({1, 1, 0}, {0, 0, -1}, t)); // pointing away: t is written
    EXPECT_FLOAT_EQ(t, -2);
    EXPECT_FALSE(plane.IntersectRay({1, 1, 2}, {0, 0, 1}, t)); // starting on the plane
    EXPECT_EQ(t, 0.0f);
}

TEST(PointInTriangle, EdgesCountAsInside)
{
    const Vector3 a{0, 0, 0}, b{4, 0, 0}, c{0, 4, 0};
    const Plane plane = PlaneThrough(a, b, c);
    EXPECT_TRUE(IsPointInTriangle(plane, {1, 1, 0}, a, b, c));
    EXPECT_TRUE(IsPointInTriangle(plane, {0, 2, 0}, a, b, c)); // on the edge from A to C
    EXPECT_TRUE(IsPointInTriangle(plane, {4, 0, 0}, a, b, c));
    EXPECT_TRUE(IsPointInTriangle(plane, {2, 2, 0}, a, b, c));
    EXPECT_FALSE(IsPointInTriangle(plane, {2.001f, 2, 0}, a, b, c)); // just beyond B-C
    EXPECT_FALSE(IsPointInTriangle(plane, {-0.001f, 1, 0}, a, b, c));
}

TEST(PointInTriangle, WorksInTheCoordinatesTheNormalLeaves)
{
    // Normal (0, 0, 1): x and y decide, z is ignored.
    Plane flat;
    flat.c = 1;
    EXPECT_TRUE(IsPointInTriangle(flat, {1, 1, 50}, {0, 0, 0}, {4, 0, 0}, {0, 4, 0}));

    // Normal (1, 1, 0): the tie drops x, so y and z decide.
    Plane tilted;
    tilted.a = 1;
    tilted.b = 1;
    const Vector3 a{9, 0, 0}, b{-9, 4, 0}, c{5, 0, 4};
    EXPECT_TRUE(IsPointInTriangle(tilted, {100, 1, 1}, a, b, c));
    EXPECT_FALSE(IsPointInTriangle(tilted, {0, 3, 3}, a, b, c));

    // A triangle whose first edge has no extent in the first kept coordinate takes the other branch.
    const Vector3 p{0, 0, 0}, q{0, 4, 0}, r{4, 0, 0};
    EXPECT_TRUE(IsPointInTriangle(flat, {1, 1, 0}, p, q, r));
    EXPECT_FALSE(IsPointInTriangle(flat, {3, 3, 0}, p, q, r));
}

TEST(PointInTriangle, DegenerateTrianglesHoldNoPoint)
{
    Plane flat;
    flat.c = 1;
    EXPECT_FALSE(IsPointInTriangle(flat, {1, 1, 0}, {0, 0, 0}, {2, 2, 0}, {4, 4, 0}));
    EXPECT_FALSE(IsPointInTriangle(flat, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}));
    EXPECT_FALSE(IsPointInTriangle(flat, {0, 1, 0}, {0, 0, 0}, {0, 2, 0}, {0, 4, 0}));
    EXPECT_FALSE(IsPointInTriangle(flat, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {4, 0, 0}));
}
