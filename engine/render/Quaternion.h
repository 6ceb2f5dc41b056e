// A rotation as a quaternion, stored x, y, z, w (vector part first, w last) as files read it. Products put the
// rotation applied last on the left.
#pragma once

#include "Scalar.h"
#include "Vector3.h"

namespace KeystrelEngine {

struct Quaternion
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    static float Dot(const Quaternion& a, const Quaternion& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }

    // Divides by the length; a quaternion no longer than the tolerance stays as it is.
    void Normalize()
    {
        const float length = Sqrt(Dot(*this, *this));
        if (length <= kTolerance)
            return;
        x /= length;
        y /= length;
        z /= length;
        w /= length;
    }

    // The Hamilton product a * b.
    static Quaternion Multiply(const Quaternion& a, const Quaternion& b)
    {
        return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
    }

    // The rotation by angle (radians) about axis; an axis no longer than the tolerance gives the identity.
    static Quaternion FromAxisAngle(const Vector3& axis, float angle)
    {
        const float length = axis.Length();
        if (length <= kTolerance)
            return {};
        const float s = static_cast<float>(std::sin(angle / 2.0));
        return {axis.x / length * s, axis.y / length * s, axis.z / length * s,
                static_cast<float>(std::cos(angle / 2.0))};
    }

    // The new rotation is applied after the current one: q = r * q.
    void RotateZ(float angle) { *this = Multiply(FromAxisAngle({0.0f, 0.0f, 1.0f}, angle), *this); }
    void RotateX(float angle) { *this = Multiply(FromAxisAngle({1.0f, 0.0f, 0.0f}, angle), *this); }

    // Spherical interpolation from a to b along the shorter arc (b is negated when the two point apart). Nearly
    // equal ends are blended linearly; the result is not normalised.
    static Quaternion Slerp(const Quaternion& a, const Quaternion& b, float t)
    {
        float c = Dot(a, b);
        Quaternion end = b;
        if (c < 0.0f) {
            c = -c;
            end = {-b.x, -b.y, -b.z, -b.w};
        }
        float first = 1.0f - t;
        float second = t;
        if (1.0f - c > 0.000001f) {
            const double angle = std::acos(c);
            const double sine = std::sin(angle);
            first = static_cast<float>(std::sin((1.0f - t) * angle) / sine);
            second = static_cast<float>(std::sin(t * angle) / sine);
        }
        return {first * a.x + second * end.x, first * a.y + second * end.y, first * a.z + second * end.z,
                first * a.w + second * end.w};
    }
};

static_assert(sizeof(Quaternion) == 4 * sizeof(float));

} // namespace KeystrelEngine
