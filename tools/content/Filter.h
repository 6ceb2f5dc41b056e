// A state-variable filter in its trapezoidal form: it stays stable while its cutoff moves every sample, which
// the sweeps and the vowel glides need.
#pragma once

namespace Content {

class Filter
{
public:
    enum class Mode
    {
        LowPass,
        BandPass
    };

    // q: resonance (0.707 is flat for the low pass); the band pass is centre / q wide and passes its centre at
    // unit gain.
    Filter(Mode mode, double cutoff, double q, unsigned rate);

    void SetCutoff(double cutoff);

    float Process(float input)
    {
        const double v3 = input - m_state2;
        const double v1 = m_a1 * m_state1 + m_a2 * v3;
        const double v2 = m_state2 + m_a2 * m_state1 + m_a3 * v3;
        m_state1 = 2.0 * v1 - m_state1;
        m_state2 = 2.0 * v2 - m_state2;
        // The band output scaled by the damping passes its centre at unit gain.
        return static_cast<float>(m_mode == Mode::LowPass ? v2 : m_damping * v1);
    }

private:
    Mode m_mode;
    double m_damping;
    unsigned m_rate;
    double m_a1 = 0.0, m_a2 = 0.0, m_a3 = 0.0;
    double m_state1 = 0.0, m_state2 = 0.0;
};

} // namespace Content
