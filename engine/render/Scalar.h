// Scalar helpers shared by the math types.
#pragma once

#include <cmath>

namespace KeystrelEngine {

// Floats compare with this tolerance throughout the engine. It is held as a double, so a comparison with a float
// is made in double precision.
constexpr double kTolerance = 0.0001;

// Every vector, quaternion and plane length goes through this: computed in double precision, stored as float.
inline float Sqrt(float value)
{
    return static_cast<float>(std::sqrt(static_cast<double>(value)));
}

} // namespace KeystrelEngine
