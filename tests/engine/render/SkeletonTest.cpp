#include "engine/render/Skeleton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace KeystrelEngine;

namespace {

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5);
    EXPECT_NEAR(actual.y, expected.y, 1e-5);
    EXPECT_NEAR(actual.z, expected.z, 1e-5);
}

// A bone posed by a key: a quarter turn about z, moved by (10, 0, 0), scaled by 2.
void Pose(Bone& bone)
{
    bone.m_animatedRotation = Quaternion::FromAxisAngle({0.0f, 0.0f, 1.0f}, kQuarterTurn);
    bone.m_animatedTranslation = {10.0f, 0.0f, 0.0f};
    bone.m_animatedScale = {2.0f, 2.0f, 2.0f};
}

} // namespace

TEST(Skeleton, UnposedBonesBuildFiniteMatrices)
{
    Skeleton empty(nullptr, 0);
    EXPECT_EQ(empty.GetBoneCount(), 0);
    empty.UpdateMatrices();

    // Never written by a model: the zero quaternion and a zero scale.
    Skeleton skeleton(nullptr, 2);
    skeleton.UpdateMatrices();
    const Bone& bone = skeleton.GetBone(1);
    EXPECT_TRUE(bone.m_rotationMatrix.IsIdentity());
    for (float element : bone.m_combinedMatrix.m)
        EXPECT_TRUE(std::isfinite(element));
    EXPECT_EQ(bone.m_combinedMatrix.m[15], 1.0f);
}

TEST(Skeleton, SingleBoneSkinningPlacesPointsAndNormalsByItsKey)
{
    Skeleton skeleton(nullptr, 1);
    Bone& bone = skeleton.GetBone(0);
    bone.m_box.Set({-1.0f, -1.0f, -1.0f}, {1.0f, 1.0f, 1.0f});
    Pose(bone);
    skeleton.UpdateMatrices();

    // Scale first, then the rotation, then the translation.
    ExpectNear(bone.m_combinedMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {10.0f, 2.0f, 0.0f});
    ExpectNear(bone.m_combinedMatrix.TransformPoint({0.0f, 1.0f, 3.0f}), {8.0f, 0.0f, 6.0f});
    // Normals turn with the rotation alone.
    ExpectNear(bone.m_rotationMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {0.0f, 1.0f, 0.0f});

    // A vertex weighted half to the bone and half to its rest (identity) place.
    const Vector3 rest{1.0f, 0.0f, 0.0f};
    const Vector3 skinned = 0.5f * bone.m_combinedMatrix.TransformPoint(rest) + 0.5f * rest;
    ExpectNear(skinned, {5.5f, 1.0f, 0.0f});

    // The bone's box follows it into the model's space.
    ExpectNear(bone.m_box.m_worldMin, {8.0f, -2.0f, -2.0f});
    ExpectNear(bone.m_box.m_worldMax, {12.0f, 2.0f, 2.0f});
    ExpectNear(bone.m_box.m_centre, {10.0f, 0.0f, 0.0f});
}

TEST(Skeleton, BaseValuesComposeWithTheKeyAndBonesStayIndependent)
{
    Skeleton skeleton(nullptr, 2);
    Pose(skeleton.GetBone(0));
    Pose(skeleton.GetBone(1));
    Bone& based = skeleton.GetBone(1);
    based.m_baseTranslation = {0.0f, 0.0f, 5.0f};
    based.m_baseRotation = Quaternion::FromAxisAngle({0.0f, 0.0f, 1.0f}, kQuarterTurn);
    skeleton.UpdateMatrices();

    // The key's rotation applies after the base rotation: a half turn in all; the translations add up.
    ExpectNear(based.m_combinedMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {8.0f, 0.0f, 5.0f});
    // No bone is combined with another.
    ExpectNear(skeleton.GetBone(0).m_combinedMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {10.0f, 2.0f, 0.0f});

    Skeleton copy(skeleton);
    copy.GetBone(0).m_name = "wing";
    copy.GetBone(0).m_animatedTranslation = {0.0f, 0.0f, 0.0f};
    copy.UpdateMatrices();
    EXPECT_TRUE(skeleton.GetBone(0).m_name.empty());
    ExpectNear(skeleton.GetBone(0).m_combinedMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {10.0f, 2.0f, 0.0f});
    ExpectNear(copy.GetBone(0).m_combinedMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {0.0f, 2.0f, 0.0f});
    ExpectNear(copy.GetBone(1).m_combinedMatrix.TransformPoint({1.0f, 0.0f, 0.0f}), {8.0f, 0.0f, 5.0f});
}
