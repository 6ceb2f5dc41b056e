// Smooth value noise from a seed, the same on every run: random values on the whole-number lattice blended
// smoothly in between, and fractal sums of octaves (fBm) for clouds, grain, bark and ground. With a period the
// lattice repeats every period cells in x and y (every octave too), so a picture of period cells tiles.
#pragma once

#include <cstdint>

namespace Content {

class ValueNoise
{
public:
    explicit ValueNoise(std::uint32_t seed, int period = 0);

    // In 0..1; one lattice cell per unit.
    float Value(float x, float y) const;
    // octaves of Value at doubling frequencies, each gain times the one before, scaled back to 0..1.
    float Fbm(float x, float y, int octaves, float gain = 0.5f) const;

private:
    float Sample(float x, float y, int period, std::uint32_t octave) const;
    float Lattice(int x, int y, int period, std::uint32_t octave) const;

    std::uint32_t m_seed;
    int m_period;
};

} // namespace Content
