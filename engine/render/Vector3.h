// A position, direction, normal, size or extent: three floats, laid out x, y, z as files and the device read them.
// Plain assignment is the engine's copy (it yields the assigned value, so a = b = c copies c into both) and += is
// its in-place add.
#pragma once

#include "Scalar.h"

namespace KeystrelEngine {

struct Vector3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3& operator+=(const Vector3& b)
    {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }

    Vector3& operator-=(const Vector3& b)
    {
        x -= b.x;
        y -= b.y;
        z -= b.z;
        return *this;
    }

    Vector3& operator*=(float k)
    {
        x *= k;
        y *= k;
        z *= k;
        return *this;
    }

    float Length() const { return Sqrt(x * x + y * y + z * z); }

    // Scales the vector to the given length: k = |v| / length, and each component is divided by k. A vector
    // for which k is within the tolerance of 0 (the zero vector) stays as it is; a length of 0 makes k
    // infinite and so gives zeros.
    void SetLength(float length)
    {
        const float k = Length() / length;
        if (!(std::fabs(k) >= kTolerance)) // also keeps 0 / 0, which would spread NaN
            return;
        x /= k;
        y /= k;
        z /= k;
    }

    Vector3 Normalized() const
    {
        Vector3 copy = *this;
        copy.SetLength(1.0f);
        return copy;
    }

    // a * (1 - t) + b * t, per component.
    static Vector3 Lerp(const Vector3& a, const Vector3& b, float t)
    {
        return {a.x * (1.0f - t) + b.x * t, a.y * (1.0f - t) + b.y * t, a.z * (1.0f - t) + b.z * t};
    }
};

static_assert(sizeof(Vector3) == 3 * sizeof(float));

inline Vector3 operator+(Vector3 a, const Vector3& b)
{
    return a += b;
}
inline Vector3 operator-(Vector3 a, const Vector3& b)
{
    return a -= b;
}
inline Vector3 operator-(const Vector3& a)
{
    return {-a.x, -a.y, -a.z};
}
inline Vector3 operator*(Vector3 a, float k)
{
    return a *= k;
}
inline Vector3 operator*(float k, Vector3 a)
{
    return a *= k;
}

inline float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

} // namespace KeystrelEngine
