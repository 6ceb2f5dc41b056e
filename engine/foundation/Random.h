// The program's one random-number generator: a linear congruential generator over a single 32-bit seed. Every
// draw makes exactly one step, so the sequence a seed gives is part of the game's behaviour (boards, particles,
// the speaking character): never add a hidden draw. The seed is shared without a lock, as every caller runs on
// the main thread or on the loading thread while the main thread draws nothing.
#pragma once

#include <cassert>
#include <cstdint>

namespace KeystrelEngine {

// Assigned directly: from the tick count at start-up, and by tests that need a known sequence.
inline std::uint32_t RandomSeed = 0;

// One step of the generator; the result lies in 0..32767. Code that draws inline uses this step.
inline std::uint32_t RandomNext()
{
    RandomSeed = RandomSeed * 1103515245u + 12345u;
    return (RandomSeed >> 16) & 0x7FFFu;
}

// A float in [0, 1): the output / 32768.
inline float RandomFloat()
{
    return static_cast<float>(RandomNext() * 0.000030517578125);
}

// An integer in [0, n). n = 0 names no value: it is rejected without a draw (0 in release builds).
inline std::uint32_t RandomInt(std::uint32_t n)
{
    assert(n > 0 && "RandomInt needs at least one value");
    return n > 0 ? RandomNext() % n : 0;
}

// a + (b - a) * r; b itself is never reached.
inline float RandomFloatRange(float a, float b)
{
    return a + (b - a) * RandomFloat();
}

// An integer in [a, b], both ends included. An empty range (b < a) is rejected without a draw (0 in release
// builds). The arithmetic is unsigned 32-bit, so the whole int range (whose count wraps to 0) is drawn too.
inline std::int32_t RandomIntRange(std::int32_t a, std::int32_t b)
{
    assert(a <= b && "RandomIntRange needs a non-empty range");
    if (b < a)
        return 0;
    const std::uint32_t count = static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a) + 1u;
    const std::uint32_t output = RandomNext();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + (count == 0 ? output : output % count));
}

// centre + spread * (2r - 1): a value in [centre - spread, centre + spread).
inline float RandomSpread(float centre, float spread)
{
    const float factor = 2.0f * RandomFloat() - 1.0f;
    return centre + spread * factor;
}

} // namespace KeystrelEngine
