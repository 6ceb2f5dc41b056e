// A mono sound effect being drawn at 22,050 samples per second. A loop wraps whatever is drawn past its end
// back to its start, so a loop built from periodic parts and wrapped events has no seam.
#pragma once

#include "tools/content/Tone.h"

#include <cstdint>
#include <vector>

namespace Content {

class MonoSound
{
public:
    static constexpr unsigned kRate = 22050;

    MonoSound(double seconds, bool loops);

    void Add(const Tone& tone);
    void Add(const NoiseBurst& burst);
    void Add(const std::vector<Tone>& tones);

    double Seconds() const { return static_cast<double>(m_samples.size()) / kRate; }
    const std::vector<float>& Samples() const { return m_samples; }

    // The nearest frequency that completes a whole number of cycles over the sound (for loops).
    double WholeCycles(double frequency) const;

    // 16-bit PCM, scaled so that the loudest sample lies at peakDb dBFS; a one-shot fades in and out over 5 ms.
    std::vector<std::uint8_t> ToPcm16(double peakDb) const;

    // Adds to one sample; a loop wraps the index, a one-shot drops samples outside it.
    void AddSample(long index, float value);

private:
    std::vector<float> m_samples;
    bool m_loops;
};

} // namespace Content
