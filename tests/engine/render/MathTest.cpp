#include "engine/foundation/Random.h"
#include "engine/render/Color.h"
#include "engine/render/Matrix4.h"
#include "engine/render/Quaternion.h"
#include "engine/render/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace KeystrelEngine;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void ExpectNear(const Vector3& a, const Vector3& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

void ExpectNear(const Quaternion& a, const Quaternion& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
    EXPECT_NEAR(a.w, b.w, tolerance);
}

// Values drawn from the engine's generator, so every run checks the same cases.
Vector3 RandomVector()
{
    return {RandomFloatRange(-5, 5), RandomFloatRange(-5, 5), RandomFloatRange(-5, 5)};
}

Quaternion RandomRotation()
{
    Vector3 axis = RandomVector();
    axis.x += 0.5f; // never the zero axis
    return Quaternion::FromAxisAngle(axis, RandomFloatRange(-kPi, kPi));
}

// v rotated by q as q * (v, 0) * conjugate(q), independent of the matrix code.
Vector3 Rotate(const Quaternion& q, const Vector3& v)
{
    const Quaternion conjugate{-q.x, -q.y, -q.z, q.w};
    const Quaternion r = Quaternion::Multiply(Quaternion::Multiply(q, {v.x, v.y, v.z, 0}), conjugate);
    return {r.x, r.y, r.z};
}

Vector3 Apply(const Matrix4& m, const Vector3& v)
{
    const auto out = m.Transform({v.x, v.y, v.z, 0.0f});
    return {out[0], out[1], out[2]};
}

} // namespace

TEST(Vector3, SetLengthScalesOrLeavesDegenerateVectors)
{
    Vector3 v{3, 0, 4};
    v.SetLength(10);
    ExpectNear(v, {6, 0, 8});

    Vector3 zero;
    zero.SetLength(5);
    ExpectNear(zero, {0, 0, 0});
    zero.SetLength(0); // 0 / 0 must not turn into NaN
    ExpectNear(zero, {0, 0, 0});

    Vector3 shrunk{1, 2, 3};
    shrunk.SetLength(0);
    ExpectNear(shrunk, {0, 0, 0});

    Vector3 exact{0, 2, 0};
    exact.SetLength(2);
    EXPECT_EQ(exact.y, 2.0f);
}

TEST(Vector3, NormalizedCopiesAndLerpBlends)
{
    const Vector3 v{0, 0, -7};
    ExpectNear(v.Normalized(), {0, 0, -1});
    EXPECT_EQ(v.z, -7.0f);
    ExpectNear(Vector3::Lerp({0, 10, -2}, {4, 20, 2}, 0.25f), {1, 12.5f, -1});
    ExpectNear(Vector3::Lerp({1, 2, 3}, {4, 5, 6}, 1.0f), {4, 5, 6});
}

TEST(Color, DiffersBeyondTheToleranceOnly)
{
    EXPECT_FALSE(Color::Differs({0, 0, 0, 0}, {0.0001f, 0.00005f, 0, 0.0001f}));
    EXPECT_TRUE(Color::Differs({0.5f, 0.5f, 0.5f, 1.0f}, {0.5f, 0.5f, 0.5f, 0.9998f}));
    EXPECT_TRUE(Color::Differs({0, 0, 0, 0}, {0, 0, 0.0002f, 0}));
}

TEST(Quaternion, IdentityAndDegenerateCases)
{
    const Quaternion q{0.1f, -0.2f, 0.3f, 0.9f};
    ExpectNear(Quaternion::Multiply({}, q), q);
    ExpectNear(Quaternion::Multiply(q, {}), q);

    Quaternion tiny{0.00005f, 0, 0, 0.00005f};
    tiny.Normalize();
    ExpectNear(tiny, {0.00005f, 0, 0, 0.00005f}, 0);

    Quaternion longer{0, 3, 0, 4};
    longer.Normalize();
    ExpectNear(longer, {0, 0.6f, 0, 0.8f});

    ExpectNear(Quaternion::FromAxisAngle({0, 0, 0}, 1.3f), {0, 0, 0, 1}, 0);
    ExpectNear(Quaternion::FromAxisAngle({2, -1, 5}, 0.0f), {0, 0, 0, 1}, 0);
    ExpectNear(Quaternion::FromAxisAngle({0, 0, 2}, kPi / 2), {0, 0, std::sin(kPi / 4), std::cos(kPi / 4)});
}

TEST(Quaternion, RotationsComposeOnTheLeft)
{
    Quaternion q{0.2f, 0.1f, -0.3f, 0.9f};
    q.Normalize();
    const Quaternion start = q;
    q.RotateZ(0.7f);
    q.RotateZ(-0.7f);
    ExpectNear(q, start);

    q.RotateX(0.4f);
    q.RotateZ(1.1f);
    const Quaternion expected =
        Quaternion::Multiply(Quaternion::FromAxisAngle({0, 0, 1}, 1.1f),
                             Quaternion::Multiply(Quaternion::FromAxisAngle({1, 0, 0}, 0.4f), start));
    ExpectNear(q, expected);
}

TEST(Quaternion, SlerpFollowsTheShorterArc)
{
    const Quaternion a{};
    const Quaternion b = Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2);
    ExpectNear(Quaternion::Slerp(a, b, 0), a);
    ExpectNear(Quaternion::Slerp(a, b, 1), b);
    ExpectNear(Quaternion::Slerp(a, b, 0.5f), Quaternion::FromAxisAngle({0, 0, 1}, kPi / 4));

    // The negated end point names the same rotation: the path is the same.
    const Quaternion negated{-b.x, -b.y, -b.z, -b.w};
    ExpectNear(Quaternion::Slerp(a, negated, 0.5f), Quaternion::FromAxisAngle({0, 0, 1}, kPi / 4));

    // Ends closer than 1e-6 (1 - cos) are blended linearly.
    const Quaternion near{0, 0, 0.0001f, 1};
    ExpectNear(Quaternion::Slerp(a, near, 0.5f), {0, 0, 0.00005f, 1}, 1e-7f);
}

TEST(Quaternion, SlerpOfAQuaternionAndItsNegationIsTheQuaternion)
{
    RandomSeed = 11;
    for (int i = 0; i < 200; ++i) {
        const Quaternion a = RandomRotation();
        const Quaternion negated{-a.x, -a.y, -a.z, -a.w};
        ExpectNear(Quaternion::Slerp(a, negated, RandomFloat()), a);
    }
}

TEST(Matrix4, IdentityTestsUseTheTolerance)
{
    Matrix4 m;
    EXPECT_TRUE(m.IsIdentity());
    m.m[5] = 1.00009f;
    m.m[14] = -0.00009f;
    EXPECT_TRUE(m.IsIdentity());
    m.m[3] = 0.001f;
    EXPECT_FALSE(m.IsIdentity());
    m.MakeIdentity();
    EXPECT_TRUE(Matrix4::Equals(m, Matrix4()));
}

TEST(Matrix4, TranslationAndTransposeKeepTheirLayout)
{
    Matrix4 t;
    t.MakeTranslation({1, 2, 3});
    EXPECT_EQ(t.m[3], 1.0f);
    EXPECT_EQ(t.m[7], 2.0f);
    EXPECT_EQ(t.m[11], 3.0f);
    const auto moved = t.Transform({10, 20, 30, 1});
    EXPECT_EQ(moved, (std::array<float, 4>{11, 22, 33, 1}));

    Matrix4 transposed = t;
    transposed.Transpose();
    EXPECT_EQ(transposed.m[12], 1.0f);
    EXPECT_EQ(transposed.m[13], 2.0f);
    EXPECT_EQ(transposed.m[14], 3.0f);
    transposed.Transpose();
    EXPECT_TRUE(Matrix4::Equals(transposed, t));

    // Translate moves in the matrix's own frame: a rotation then the translation rotated.
    Matrix4 r = Matrix4::RotationZ(kPi / 2);
    r.Translate({1, 0, 0});
    ExpectNear(r.TransformPoint({0, 0, 0}), {0, 1, 0});
}

TEST(Matrix4, RotationsAgreeWithEachOther)
{
    const float angle = 0.8f;
    const Matrix4 z = Matrix4::RotationZ(angle);
    EXPECT_TRUE(Matrix4::Equals(Matrix4::FromQuaternion({0, 0, std::sin(angle / 2), std::cos(angle / 2)}), z));
    EXPECT_TRUE(Matrix4::FromQuaternion({}).IsIdentity());
    Matrix4 axis;
    axis.MakeRotationAxis({0, 0, 5}, angle);
    EXPECT_TRUE(Matrix4::Equals(axis, z));
    ExpectNear(Apply(z, {1, 0, 0}), {std::cos(angle), std::sin(angle), 0});
}

TEST(Matrix4, ZeroQuaternionGivesTheIdentity)
{
    const Matrix4 m = Matrix4::FromQuaternion({0, 0, 0, 0});
    EXPECT_TRUE(m.IsIdentity());
    EXPECT_TRUE(Matrix4::FromQuaternion({1e-30f, 0, 0, 0}).IsIdentity());
}

TEST(Matrix4, FromQuaternionRotatesLikeTheQuaternion)
{
    RandomSeed = 3;
    for (int i = 0; i < 200; ++i) {
        const Quaternion q = RandomRotation();
        const Vector3 v = RandomVector();
        const Matrix4 m = Matrix4::FromQuaternion(q);
        ExpectNear(Apply(m, v), Rotate(q, v), 1e-4f);

        // Non-unit quaternions name the same rotation.
        const Quaternion scaled{q.x * 3, q.y * 3, q.z * 3, q.w * 3};
        EXPECT_TRUE(Matrix4::Equals(Matrix4::FromQuaternion(scaled), m));

        // Products match: the matrix of a * b is the matrix of a times that of b.
        const Quaternion other = RandomRotation();
        EXPECT_TRUE(Matrix4::Equals(Matrix4::FromQuaternion(Quaternion::Multiply(q, other)),
                                    m * Matrix4::FromQuaternion(other)));
    }
}

TEST(Matrix4, MatrixTimesItsInverseIsTheIdentity)
{
    RandomSeed = 5;
    for (int i = 0; i < 200; ++i) {
        Matrix4 scale;
        scale.m[0] = RandomFloatRange(0.5f, 2);
        scale.m[5] = RandomFloatRange(0.5f, 2);
        scale.m[10] = RandomFloatRange(0.5f, 2);
        scale.m[12] = RandomFloatRange(-0.3f, 0.3f); // a perspective-like bottom row
        Matrix4 m = Matrix4::FromQuaternion(RandomRotation()) * scale;
        m.Translate(RandomVector());
        Matrix4 inverse = m;
        inverse.Inverse();
        EXPECT_TRUE((m * inverse).IsIdentity());
        EXPECT_TRUE((inverse * m).IsIdentity());
    }
}
