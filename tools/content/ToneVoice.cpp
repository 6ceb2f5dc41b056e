#include "tools/content/ToneVoice.h"

#include <algorithm>
#include <numbers>

namespace Content {
namespace {

long SampleCount(const Tone& tone, unsigned rate)
{
    if (std::max(tone.pitch, tone.endPitch) > 0.45 * rate)
        return 0;
    return std::max(0L, std::lround(tone.length * rate));
}

} // namespace

ToneVoice::ToneVoice(const Tone& tone, unsigned rate)
    : m_gain(tone.gain), m_vibratoRate(tone.vibratoRate), m_vibratoDepth(tone.vibratoDepth * std::numbers::ln2 / 12.0),
      m_filtered(tone.lowPass > 0.0), m_rate(rate), m_first(std::lround(tone.start * rate)),
      m_count(SampleCount(tone, rate)), m_pitch(tone.pitch),
      m_glide(tone.endPitch > 0.0 && m_count > 0 ? std::pow(tone.endPitch / tone.pitch, 1.0 / m_count) : 1.0),
      m_oscillator(tone.wave, tone.phase),
      m_filter(Filter::Mode::LowPass, m_filtered ? tone.lowPass : rate, 0.707, rate),
      m_envelope(tone.envelope, m_count, rate)
{
}

void ToneVoice::Render(long count, float* out)
{
    const long end = std::min(m_count, m_done + count);
    for (; m_done < end; ++m_done) {
        double frequency = m_pitch;
        if (m_vibratoRate > 0.0)
            frequency *= 1.0 + m_vibratoDepth * Oscillator::Sine(m_vibratoRate * m_done / m_rate);
        float value = m_oscillator.Next(frequency / m_rate);
        if (m_filtered)
            value = m_filter.Process(value);
        *out++ = static_cast<float>(m_gain * m_envelope.Gain(m_done) * value);
        m_pitch *= m_glide;
    }
}

} // namespace Content
