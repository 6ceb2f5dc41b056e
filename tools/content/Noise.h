// White noise from a fixed seed (xorshift), the same on every run.
#pragma once

#include <cstdint>

namespace Content {

class Noise
{
public:
    explicit Noise(std::uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}

    // The next raw value.
    std::uint32_t NextBits()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    // A sample in -1..1.
    float Next() { return static_cast<float>(NextBits() >> 8) / 8388608.0f - 1.0f; }

    // A value in 0..1.
    double Unit() { return static_cast<double>(NextBits() >> 8) / 16777216.0; }

    // An integer in 0..count-1.
    int Below(int count) { return static_cast<int>(Unit() * count); }

private:
    std::uint32_t m_state;
};

} // namespace Content
