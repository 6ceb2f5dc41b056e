#include "tools/content/art/ValueNoise.h"

#include <cmath>

namespace Content {
namespace {

std::uint32_t Mix(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float Smooth(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int Wrap(int value, int period)
{
    if (period <= 0)
        return value;
    const int rest = value % period;
    return rest < 0 ? rest + period : rest;
}

} // namespace

ValueNoise::ValueNoise(std::uint32_t seed, int period) : m_seed(seed), m_period(period) {}

float ValueNoise::Value(float x, float y) const
{
    return Sample(x, y, m_period, 0);
}

float ValueNoise::Fbm(float x, float y, int octaves, float gain) const
{
    float sum = 0.0f, weight = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int k = 0; k < octaves; ++k) {
        sum += weight * Sample(x * frequency, y * frequency, m_period << k, static_cast<std::uint32_t>(k));
        total += weight;
        weight *= gain;
        frequency *= 2.0f;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

float ValueNoise::Sample(float x, float y, int period, std::uint32_t octave) const
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    const float bottom = Lattice(ix, iy, period, octave) * (1.0f - tx) + Lattice(ix + 1, iy, period, octave) * tx;
    const float top = Lattice(ix, iy + 1, period, octave) * (1.0f - tx) + Lattice(ix + 1, iy + 1, period, octave) * tx;
    return bottom * (1.0f - ty) + top * ty;
}

float ValueNoise::Lattice(int x, int y, int period, std::uint32_t octave) const
{
    const auto wx = static_cast<std::uint32_t>(Wrap(x, period));
    const auto wy = static_cast<std::uint32_t>(Wrap(y, period));
    const std::uint32_t h = Mix(wx * 0x9E3779B1u ^ Mix(wy * 0x85EBCA77u ^ Mix(m_seed + octave * 0xC2B2AE3Du)));
    return static_cast<float>(h >> 8) / 16777215.0f;
}

} // namespace Content
