// A small deterministic random sequence (a linear congruential step) for scattering art, so that what a seed
// scatters never changes from one build or machine to the next.
#pragma once

#include <cstdint>

namespace Content {

class RandomSequence
{
public:
    explicit RandomSequence(std::uint32_t seed) : m_state(seed * 2654435761u + 1u) {}

    // Uniform in [0, 1).
    float Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) / 16777216.0f;
    }

    // Uniform in [low, high).
    float Between(float low, float high) { return low + (high - low) * Next(); }

private:
    std::uint32_t m_state;
};

} // namespace Content
