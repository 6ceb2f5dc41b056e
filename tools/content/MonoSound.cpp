#include "tools/content/MonoSound.h"

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
    RenderTone(tone, kRate, [this](long index, float value) { AddSample(index, value); });
}

void MonoSound::Add(const NoiseBurst& burst)
{
    RenderNoise(burst, kRate, [this](long index, float value) { AddSample(index, value); });
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
