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

} // namespace Content
