#include "engine/render/BoundingBox.h"
#include "engine/foundation/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace KeystrelEngine;

namespace {

void ExpectNear(const Vector3& a, const Vector3& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

const BoundingBox kUnitBox({-1, -1, -1}, {1, 1, 1});

} // namespace

TEST(BoundingBox, CornersGiveCentreExtentAndRadius)
{
    const BoundingBox box({0, 2, -4}, {2, 6, 0});
    ExpectNear(box.m_worldMin, {0, 2, -4});
    ExpectNear(box.m_worldMax, {2, 6, 0});
    ExpectNear(box.m_centre, {1, 4, -2});
    ExpectNear(box.m_halfExtent, {1, 2, 2});
    EXPECT_FLOAT_EQ(box.m_radius, 3.0f);
}

TEST(BoundingBox, NoPointsLeaveTheBoxInsideOut)
{
    BoundingBox box;
    box.FromPoints(nullptr, 0);
    ExpectNear(box.m_localMin, {100000, 100000, 100000});
    ExpectNear(box.m_localMax, {-100000, -100000, -100000});
    ExpectNear(box.m_halfExtent, {-100000, -100000, -100000});
    ExpectNear(box.m_centre, {0, 0, 0});
    EXPECT_NEAR(box.m_radius, std::sqrt(3.0f) * 100000, 0.1f);

    // Growing the empty box by another gives exactly the other's world corners.
    BoundingBox other({-2, 0, 1}, {3, 4, 5});
    other.m_transformation.MakeTranslation({10, 0, 0});
    other.Update(true);
    box.ExpandMinMax(other);
    ExpectNear(box.m_localMin, {8, 0, 1}, 0);
    ExpectNear(box.m_localMax, {13, 4, 5}, 0);
}

TEST(BoundingBox, FromPointsEnclosesThePoints)
{
    const Vector3 points[] = {{1, -2, 3}, {-4, 5, 0}, {2, 2, -6}};
    BoundingBox box;
    box.FromPoints(points, 3);
    ExpectNear(box.m_localMin, {-4, -2, -6}, 0);
    ExpectNear(box.m_localMax, {2, 5, 3}, 0);
}

TEST(BoundingBox, RotatedBoxGrowsToHoldItsCorners)
{
    BoundingBox box = kUnitBox;
    box.m_transformation = Matrix4::RotationZ(std::numbers::pi_v<float> / 4);
    box.Update(true);
    const float root2 = std::sqrt(2.0f);
    ExpectNear(box.m_worldMin, {-root2, -root2, -1});
    ExpectNear(box.m_worldMax, {root2, root2, 1});
    EXPECT_NEAR(box.m_radius, std::sqrt(5.0f), 1e-5f);

    // An update without transformation drops the placement again.
    box.m_secondMatrix.m[3] = 7;
    box.Update(false);
    EXPECT_TRUE(box.m_transformation.IsIdentity());
    EXPECT_TRUE(box.m_secondMatrix.IsIdentity());
    ExpectNear(box.m_worldMax, {1, 1, 1}, 0);
}

TEST(BoundingBox, TransformedCornersMatchTheWorldBox)
{
    RandomSeed = 17;
    for (int i = 0; i < 100; ++i) {
        const Vector3 a{RandomSpread(0, 3), RandomSpread(0, 3), RandomSpread(0, 3)};
        const Vector3 size{RandomFloatRange(0.1f, 4), RandomFloatRange(0.1f, 4), RandomFloatRange(0.1f, 4)};
        BoundingBox box(a, a + size);
        box.m_transformation = Matrix4::FromQuaternion(
            Quaternion::FromAxisAngle({RandomSpread(0, 1), RandomSpread(0, 1), 1}, RandomSpread(0, 3)));
        box.m_transformation.Translate({RandomSpread(0, 5), RandomSpread(0, 5), RandomSpread(0, 5)});
        box.Update(true);

        // Every placed corner lies in the world box, and each face of the world box touches a corner.
        Vector3 lowest{1e9f, 1e9f, 1e9f}, highest{-1e9f, -1e9f, -1e9f};
        for (int corner = 0; corner < 8; ++corner) {
            const Vector3 local{corner & 1 ? a.x + size.x : a.x, corner & 2 ? a.y + size.y : a.y,
                                corner & 4 ? a.z + size.z : a.z};
            const auto p = box.m_transformation.Transform({local.x, local.y, local.z, 1});
            lowest = {std::min(lowest.x, p[0]), std::min(lowest.y, p[1]), std::min(lowest.z, p[2])};
            highest = {std::max(highest.x, p[0]), std::max(highest.y, p[1]), std::max(highest.z, p[2])};
        }
        ExpectNear(box.m_worldMin, lowest, 1e-4f);
        ExpectNear(box.m_worldMax, highest, 1e-4f);
        ExpectNear(box.m_centre, (lowest + highest) * 0.5f, 1e-4f);
    }
}

TEST(BoundingBox, SegmentTestTouchesButDoesNotReachBeyond)
{
    // Along x towards the face at x = -1.
    EXPECT_FALSE(kUnitBox.IntersectSegment({-5, 0, 0}, {3.99f, 0, 0}));
    EXPECT_TRUE(kUnitBox.IntersectSegment({-5, 0, 0}, {4.0f, 0, 0}));
    EXPECT_TRUE(kUnitBox.IntersectSegment({0.5f, 0.5f, 0.5f}, {10, 10, 10}));
    EXPECT_TRUE(kUnitBox.IntersectSegment({0.2f, -0.3f, 0}, {0, 0, 0}));
    EXPECT_FALSE(kUnitBox.IntersectSegment({3, 0, 0}, {0, 0, 0}));
    // Passes the three face tests but misses the corner: only a cross axis separates it.
    EXPECT_FALSE(kUnitBox.IntersectSegment({-1, 3.5f, 0}, {3, -3, 0}));
    EXPECT_TRUE(kUnitBox.IntersectSegment({-1, 2.5f, 0}, {3, -3, 0}));
}

TEST(BoundingBox, InterpolateBlendsTheLocalCorners)
{
    const BoundingBox a({0, 0, 0}, {2, 2, 2});
    BoundingBox b({-4, 2, 0}, {4, 6, 10});
    b.m_transformation.MakeTranslation({100, 0, 0});
    b.Update(true);
    const BoundingBox half = BoundingBox::Interpolate(a, b, 0.5f);
    ExpectNear(half.m_localMin, {-2, 1, 0});
    ExpectNear(half.m_localMax, {3, 4, 6});
    ExpectNear(half.m_worldMax, {3, 4, 6});
    EXPECT_TRUE(half.m_transformation.IsIdentity());
}
