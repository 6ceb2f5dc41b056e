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
        BandPass,
        HighPass
    };

    // q: resonance (0.707 is flat for the low and high pass).
    Filter(Mode mode, double cutoff, double q, unsigned rate);

    void SetCutoff(double cutoff);
    float Process(float input);

private:
    Mode m_mode;
    double m_damping;
    unsigned m_rate;
    double m_a1 = 0.0, m_a2 = 0.0, m_a3 = 0.0;
    double m_state1 = 0.0, m_state2 = 0.0;
};

} // namespace Content
