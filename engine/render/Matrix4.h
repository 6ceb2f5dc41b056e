// A 4 x 4 matrix of floats in row-major order: m[4 * i + j] is row i, column j. The engine's own algebra treats
// vectors as columns, so a translation lies in elements 3, 7 and 11 and a product a * b applies b first. Matrices
// handed to Direct3D, and the cameras' view and projection matrices, are kept transposed (Direct3D's row-vector
// form, translation in elements 12, 13 and 14); Transpose converts between the two.
//
// The Make... operations overwrite the matrix they are called on; RotationZ and FromQuaternion return a new one.
#pragma once

#include "Quaternion.h"
#include "Scalar.h"
#include "Vector3.h"

#include <array>
#include <cassert>
#include <cmath>
#include <utility>

namespace KeystrelEngine {

struct Matrix4
{
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    void MakeIdentity() { *this = Matrix4(); }

    bool IsIdentity() const { return Equals(*this, Matrix4()); }

    // True when no two elements differ by more than the tolerance.
    static bool Equals(const Matrix4& a, const Matrix4& b)
    {
        for (int k = 0; k < 16; ++k) {
            if (std::fabs(a.m[k] - b.m[k]) > kTolerance)
                return false;
        }
        return true;
    }

    // out = a * b (b applied first). out must be neither a nor b.
    static void Multiply(Matrix4& out, const Matrix4& a, const Matrix4& b)
    {
        assert(&out != &a && &out != &b);
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                out.m[4 * i + j] = a.m[4 * i] * b.m[j] + a.m[4 * i + 1] * b.m[4 + j] + a.m[4 * i + 2] * b.m[8 + j] +
                                   a.m[4 * i + 3] * b.m[12 + j];
            }
        }
    }

    // The four-component column vector v multiplied by the matrix.
    std::array<float, 4> Transform(const std::array<float, 4>& v) const
    {
        std::array<float, 4> out;
        for (int i = 0; i < 4; ++i)
            out[i] = m[4 * i] * v[0] + m[4 * i + 1] * v[1] + m[4 * i + 2] * v[2] + m[4 * i + 3] * v[3];
        return out;
    }

    // A point (w = 1) through rows 0 to 2, without a division by w.
    Vector3 TransformPoint(const Vector3& p) const
    {
        return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
                m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
    }

    void Transpose()
    {
        std::swap(m[1], m[4]);
        std::swap(m[2], m[8]);
        std::swap(m[3], m[12]);
        std::swap(m[6], m[9]);
        std::swap(m[7], m[13]);
        std::swap(m[11], m[14]);
    }

    // The general inverse by cofactors, in place. The determinant is not tested: a singular matrix gives
    // infinite or undefined elements.
    void Inverse();

    void MakeTranslation(const Vector3& t)
    {
        MakeIdentity();
        m[3] = t.x;
        m[7] = t.y;
        m[11] = t.z;
    }

    // this = this * translation: the translation happens first, in the matrix's own frame.
    void Translate(const Vector3& t);

    void MakeRotationZ(float angle)
    {
        MakeIdentity();
        const float c = static_cast<float>(std::cos(angle));
        const float s = static_cast<float>(std::sin(angle));
        m[0] = c;
        m[1] = -s;
        m[4] = s;
        m[5] = c;
    }

    static Matrix4 RotationZ(float angle)
    {
        Matrix4 rotation;
        rotation.MakeRotationZ(angle);
        return rotation;
    }

    // The rotation of a quaternion of any length (it is divided out). The zero quaternion names no rotation and
    // gives the identity.
    static Matrix4 FromQuaternion(const Quaternion& q);

    // The rotation by angle about an arbitrary axis, which is scaled to length 1 first.
    void MakeRotationAxis(const Vector3& axis, float angle);
};

static_assert(sizeof(Matrix4) == 16 * sizeof(float));

inline Matrix4 operator*(const Matrix4& a, const Matrix4& b)
{
    Matrix4 out;
    Matrix4::Multiply(out, a, b);
    return out;
}

inline void Matrix4::Translate(const Vector3& t)
{
    Matrix4 translation;
    translation.MakeTranslation(t);
    *this = *this * translation;
}

inline Matrix4 Matrix4::FromQuaternion(const Quaternion& q)
{
    Matrix4 r;
    const float s = 2.0f / (q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (!std::isfinite(s))
        return r;
    const float xs = q.x * s, ys = q.y * s, zs = q.z * s;
    r.m[0] = 1.0f - (q.y * ys + q.z * zs);
    r.m[1] = q.x * ys - q.w * zs;
    r.m[2] = q.x * zs + q.w * ys;
    r.m[4] = q.x * ys + q.w * zs;
    r.m[5] = 1.0f - (q.x * xs + q.z * zs);
    r.m[6] = q.y * zs - q.w * xs;
    r.m[8] = q.x * zs - q.w * ys;
    r.m[9] = q.y * zs + q.w * xs;
    r.m[10] = 1.0f - (q.x * xs + q.y * ys);
    return r;
}

inline void Matrix4::MakeRotationAxis(const Vector3& axis, float angle)
{
    MakeIdentity();
    const Vector3 u = axis.Normalized();
    const float c = static_cast<float>(std::cos(angle));
    const float s = static_cast<float>(std::sin(angle));
    const float t = 1.0f - c;
    m[0] = t * u.x * u.x + c;
    m[1] = t * u.x * u.y - s * u.z;
    m[2] = t * u.x * u.z + s * u.y;
    m[4] = t * u.x * u.y + s * u.z;
    m[5] = t * u.y * u.y + c;
    m[6] = t * u.y * u.z - s * u.x;
    m[8] = t * u.x * u.z - s * u.y;
    m[9] = t * u.y * u.z + s * u.x;
    m[10] = t * u.z * u.z + c;
}

} // namespace KeystrelEngine
