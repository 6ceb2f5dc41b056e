#include "tools/content/Oscillator.h"

#include <array>
#include <cmath>
#include <numbers>

namespace Content {
namespace {

constexpr int kTableSize = 4096;

const std::array<float, kTableSize + 1>& SineTable()
{
    static const std::array<float, kTableSize + 1> table = [] {
        std::array<float, kTableSize + 1> values{};
        for (int i = 0; i <= kTableSize; ++i)
            values[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * i / kTableSize));
        return values;
    }();
    return table;
}

// The correction that rounds off a unit jump at phase 0, for a phase t (0..1) advancing by dt per sample.
double BandLimitedStep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

float Oscillator::Sine(double phase)
{
    // The integer part by conversion: a call of floor per sample would cost more than the table look-up.
    double whole = static_cast<double>(static_cast<long long>(phase));
    if (phase < whole)
        whole -= 1.0;
    const double position = (phase - whole) * kTableSize;
    const int index = static_cast<int>(position);
    const float fraction = static_cast<float>(position - index);
    const auto& table = SineTable();
    return table[index] + (table[index + 1] - table[index]) * fraction;
}

float Oscillator::Next(double step)
{
    double value = 0.0;
    switch (m_wave) {
    case Wave::Sine:
        value = Sine(m_phase);
        break;
    case Wave::Triangle:
        value = 4.0 * std::abs(m_phase - 0.5) - 1.0;
        break;
    case Wave::Saw:
        value = 2.0 * m_phase - 1.0 - BandLimitedStep(m_phase, step);
        break;
    case Wave::Square: {
        const double half = m_phase < 0.5 ? m_phase + 0.5 : m_phase - 0.5;
        value = (m_phase < 0.5 ? 1.0 : -1.0) + BandLimitedStep(m_phase, step) - BandLimitedStep(half, step);
        break;
    }
    }
    m_phase += step;
    if (m_phase >= 1.0)
        m_phase -= 1.0;
    return static_cast<float>(value);
}

} // namespace Content
