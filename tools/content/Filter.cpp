#include "tools/content/Filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Content {

Filter::Filter(Mode mode, double cutoff, double q, unsigned rate) : m_mode(mode), m_damping(1.0 / q), m_rate(rate)
{
    SetCutoff(cutoff);
}

void Filter::SetCutoff(double cutoff)
{
    const double g = std::tan(std::numbers::pi * std::clamp(cutoff, 10.0, 0.45 * m_rate) / m_rate);
    m_a1 = 1.0 / (1.0 + g * (g + m_damping));
    m_a2 = g * m_a1;
    m_a3 = g * m_a2;
}

float Filter::Process(float input)
{
    const double v3 = input - m_state2;
    const double v1 = m_a1 * m_state1 + m_a2 * v3;
    const double v2 = m_state2 + m_a2 * m_state1 + m_a3 * v3;
    m_state1 = 2.0 * v1 - m_state1;
    m_state2 = 2.0 * v2 - m_state2;
    switch (m_mode) {
    case Mode::LowPass:
        return static_cast<float>(v2);
    case Mode::BandPass:
        return static_cast<float>(v1);
    case Mode::HighPass:
        break;
    }
    return static_cast<float>(input - m_damping * v1 - v2);
}

} // namespace Content
