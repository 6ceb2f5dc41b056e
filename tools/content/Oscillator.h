// A phase-accumulating oscillator. The saw wave is smoothed at its jump (polynomial band-limited
// steps) so that its high harmonics do not fold back as harsh aliases; sines come from a shared table. The sample
// functions are inline: they run for every sample of every tone.
#pragma once

#include <array>
#include <cmath>

namespace Content {

enum class Wave
{
    Sine,
    Triangle,
    Saw
};

class Oscillator
{
public:
    static constexpr int kTableSize = 4096;

    // phase: the starting point in cycles (0..1).
    explicit Oscillator(Wave wave = Wave::Sine, double phase = 0.0) : m_wave(wave), m_phase(phase) {}

    // The current sample (-1..1); then the phase advances by step cycles (frequency / sampling rate, below 0.5).
    float Next(double step)
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
        }
        m_phase += step;
        if (m_phase >= 1.0)
            m_phase -= 1.0;
        return static_cast<float>(value);
    }

    // sin(2 pi phase) for a phase in cycles, from the table.
    static float Sine(double phase)
    {
        // The integer part by conversion: a call of floor per sample would cost more than the look-up.
        double whole = static_cast<double>(static_cast<long long>(phase));
        if (phase < whole)
            whole -= 1.0;
        const double position = (phase - whole) * kTableSize;
        const int index = static_cast<int>(position);
        const float fraction = static_cast<float>(position - index);
        return s_sines[index] + (s_sines[index + 1] - s_sines[index]) * fraction;
    }

private:
    // The correction that rounds off a unit jump at phase 0, for a phase t (0..1) advancing by dt per sample.
    static double BandLimitedStep(double t, double dt)
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

    static const std::array<float, kTableSize + 1> s_sines;

    Wave m_wave;
    double m_phase;
};

} // namespace Content
