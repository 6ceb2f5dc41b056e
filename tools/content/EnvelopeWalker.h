// Walks an envelope sample by sample: the exponential fall is one multiplication per sample.
#pragma once

#include "tools/content/Oscillator.h"
#include "tools/content/Tone.h"

#include <cmath>

namespace Content {

class EnvelopeWalker
{
public:
    // count: the samples of the whole sound, release included.
    EnvelopeWalker(const Envelope& envelope, long count, unsigned rate)
        : m_count(count), m_attack(std::lround(envelope.attack * rate)), m_release(envelope.release * rate),
          m_releaseStart(count - static_cast<long>(std::ceil(m_release))),
          m_decayStep(envelope.decay > 0.0 ? std::exp(-1.0 / (envelope.decay * rate)) : 1.0)
    {
    }

    // The gain of sample i; called for i = 0, 1, 2 ... in turn.
    double Gain(long i)
    {
        double gain = m_level;
        if (i < m_attack)
            gain *= static_cast<double>(i) / m_attack;
        else
            m_level *= m_decayStep;
        if (i >= m_releaseStart && m_release > 0.0)
            gain *= 0.5 - 0.5 * Oscillator::Sine(0.5 * (m_count - i) / m_release + 0.25);
        return gain;
    }

private:
    long m_count;
    long m_attack;
    double m_release;
    long m_releaseStart;
    double m_decayStep;
    double m_level = 1.0;
};

} // namespace Content
