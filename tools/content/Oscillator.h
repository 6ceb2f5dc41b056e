// A phase-accumulating oscillator. Saw and square waves are smoothed at their jumps (polynomial band-limited
// steps) so that high notes do not fold back as harsh aliases; sines come from a shared table.
#pragma once

namespace Content {

enum class Wave
{
    Sine,
    Triangle,
    Saw,
    Square
};

class Oscillator
{
public:
    // phase: the starting point in cycles (0..1).
    explicit Oscillator(Wave wave = Wave::Sine, double phase = 0.0) : m_wave(wave), m_phase(phase) {}

    // The current sample (-1..1); then the phase advances by step cycles (frequency / sampling rate, below 0.5).
    float Next(double step);

    // sin(2 pi phase) for a phase in cycles, from the table.
    static float Sine(double phase);

private:
    Wave m_wave;
    double m_phase;
};

} // namespace Content
