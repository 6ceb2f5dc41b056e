// A colour as four floats red, green, blue, alpha, normally in 0..1 (clear, ambient, material, light, sprite and
// particle colours). The device's 32-bit form is made by the vertex buffer.
#pragma once

#include "Scalar.h"

namespace KeystrelEngine {

struct Color
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    // True when any component differs by more than the tolerance.
    static bool Differs(const Color& first, const Color& second)
    {
        return std::fabs(first.r - second.r) > kTolerance || std::fabs(first.g - second.g) > kTolerance ||
               std::fabs(first.b - second.b) > kTolerance || std::fabs(first.a - second.a) > kTolerance;
    }
};

static_assert(sizeof(Color) == 4 * sizeof(float));

} // namespace KeystrelEngine
