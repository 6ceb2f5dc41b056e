// One tone being played: it renders its samples block by block, keeping its oscillator, filter and envelope
// between blocks, so that a mixer can keep every sounding tone within one small block of memory at a time.
#pragma once

#include "tools/content/EnvelopeWalker.h"
#include "tools/content/Filter.h"
#include "tools/content/Oscillator.h"
#include "tools/content/Tone.h"

namespace Content {

class ToneVoice
{
public:
    ToneVoice(const Tone& tone, unsigned rate);

    // The samples the tone covers, counted from the start of the sound: First() up to End(). A tone above the
    // highest frequency the rate can carry covers none (it would only fold back as noise).
    long First() const { return m_first; }
    long End() const { return m_first + m_count; }

    // Writes the next count samples (not past End) to out.
    void Render(long count, float* out);

private:
    float m_gain;
    double m_vibratoRate;
    double m_vibratoDepth;
    bool m_filtered;
    unsigned m_rate;
    long m_first;
    long m_count;
    long m_done = 0;
    double m_pitch;
    double m_glide;
    Oscillator m_oscillator;
    Filter m_filter;
    EnvelopeWalker m_envelope;
};

} // namespace Content
