#include "tools/content/MonoSound.h"

#include "tools/content/EnvelopeWalker.h"
#include "tools/content/Filter.h"
#include "tools/content/Noise.h"
#include "tools/content/ToneVoice.h"
#include "tools/formats/ByteWriter.h"

#include <algorithm>
#include <cmath>

namespace Content {

MonoSound::MonoSound(double seconds, bool loops)
    : m_samples(static_cast<std::size_t>(std::lround(seconds * kRate)), 0.0f), m_loops(loops)
{
}

void MonoSound::Add(const Tone& tone)
{
    ToneVoice voice(tone, kRate);
    std::vector<float> samples(static_cast<std::size_t>(voice.End() - voice.First()));
    voice.Render(static_cast<long>(samples.size()), samples.data());
    for (std::size_t i = 0; i < samples.size(); ++i)
        AddSample(voice.First() + static_cast<long>(i), samples[i]);
}

void MonoSound::Add(const NoiseBurst& burst)
{
    const long first = std::lround(burst.start * kRate);
    const long count = std::lround(burst.length * kRate);
    const double sweep = burst.endCentre > 0.0 ? std::pow(burst.endCentre / burst.centre, 1.0 / count) : 1.0;
    Noise noise(burst.seed);
    Filter filter(Filter::Mode::BandPass, burst.centre, burst.q, kRate);
    EnvelopeWalker envelope(burst.envelope, count, kRate);
    double centre = burst.centre;
    for (long i = 0; i < count; ++i) {
        if (sweep != 1.0)
            filter.SetCutoff(centre);
        double gain = burst.gain * envelope.Gain(i);
        if (burst.flutter > 0.0)
            gain *= 0.5 - 0.5 * Oscillator::Sine(burst.flutter * i / kRate + 0.25);
        AddSample(first + i, static_cast<float>(gain * filter.Process(noise.Next())));
        centre *= sweep;
    }
}

void MonoSound::Add(const std::vector<Tone>& tones)
{
    for (const Tone& tone : tones)
        Add(tone);
}

double MonoSound::WholeCycles(double frequency) const
{
    const double cycles = std::max(1.0, std::round(frequency * Seconds()));
    return cycles / Seconds();
}

void MonoSound::AddSample(long index, float value)
{
    const long length = static_cast<long>(m_samples.size());
    if (m_loops)
        index = ((index % length) + length) % length;
    if (index >= 0 && index < length)
        m_samples[static_cast<std::size_t>(index)] += value;
}

std::vector<std::uint8_t> MonoSound::ToPcm16(double peakDb) const
{
    float peak = 0.0f;
    for (float sample : m_samples)
        peak = std::max(peak, std::abs(sample));
    const double scale = peak > 0.0f ? std::pow(10.0, peakDb / 20.0) / peak : 0.0;
    const std::size_t length = m_samples.size();
    const std::size_t fade = m_loops ? 0 : std::min<std::size_t>(kRate * 5 / 1000, length / 2);
    std::vector<std::uint8_t> pcm;
    pcm.reserve(2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        double gain = scale;
        if (i < fade)
            gain *= static_cast<double>(i) / fade;
        if (length - 1 - i < fade)
            gain *= static_cast<double>(length - 1 - i) / fade;
        const auto value = static_cast<std::int16_t>(std::lround(m_samples[i] * gain * 32767.0));
        Formats::PutLE16(pcm, static_cast<std::uint16_t>(value));
    }
    return pcm;
}

} // namespace Content
