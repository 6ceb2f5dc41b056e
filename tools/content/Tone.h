// The building blocks of every sound the tool makes: a tone (one oscillator with a pitch glide, vibrato, an
// optional low-pass filter and an envelope) and a noise burst (band-passed noise with a sweeping centre and an
// optional flutter). Both render sample by sample into a sink(sample index, value), so one-shot sounds, loops
// and the stereo music mix share them.
#pragma once

#include "tools/content/Filter.h"
#include "tools/content/Noise.h"
#include "tools/content/Oscillator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace Content {

// Linear rise, exponential fall (time constant decay; 0 holds the level) and a cosine taper over the last
// release seconds, so that nothing starts or stops with a click.
struct Envelope
{
    double attack = 0.005;
    double decay = 0.0;
    double release = 0.01;
};

struct Tone
{
    double start = 0.0;
    double length = 0.1;
    double pitch = 440.0;
    // Reached at the end by an exponential glide; 0 keeps the pitch.
    double endPitch = 0.0;
    Wave wave = Wave::Sine;
    Envelope envelope;
    float gain = 1.0f;
    // Vibrato rate in Hz and depth in semitones.
    double vibratoRate = 0.0;
    double vibratoDepth = 0.0;
    // Low-pass cutoff in Hz; 0 for none.
    double lowPass = 0.0;
    double phase = 0.0;
};

struct NoiseBurst
{
    double start = 0.0;
    double length = 0.1;
    // Band-pass centre in Hz, swept exponentially to endCentre (0 keeps it), and its resonance.
    double centre = 1000.0;
    double endCentre = 0.0;
    double q = 1.0;
    Envelope envelope;
    float gain = 1.0f;
    // Amplitude flutter (wing beats) in Hz; 0 for none.
    double flutter = 0.0;
    std::uint32_t seed = 1;
};

// Walks an envelope sample by sample without an exponential per sample.
class EnvelopeWalker
{
public:
    EnvelopeWalker(const Envelope& envelope, long count, unsigned rate)
        : m_count(count), m_attack(envelope.attack * rate), m_release(envelope.release * rate),
          m_decayStep(envelope.decay > 0.0 ? std::exp(-1.0 / (envelope.decay * rate)) : 1.0)
    {
    }

    double Gain(long i)
    {
        double gain = m_level;
        if (i < m_attack)
            gain *= i / m_attack;
        else
            m_level *= m_decayStep;
        const double remaining = static_cast<double>(m_count - i);
        if (remaining < m_release)
            gain *= 0.5 - 0.5 * Oscillator::Sine(0.5 * remaining / m_release + 0.25);
        return gain;
    }

private:
    long m_count;
    double m_attack;
    double m_release;
    double m_decayStep;
    double m_level = 1.0;
};

template <class Sink> void RenderTone(const Tone& tone, unsigned rate, Sink&& sink)
{
    const long first = std::lround(tone.start * rate);
    const long count = std::lround(tone.length * rate);
    // A partial above the highest frequency the rate can carry would only fold back as noise.
    if (count <= 0 || std::max(tone.pitch, tone.endPitch) > 0.45 * rate)
        return;
    const double glide = tone.endPitch > 0.0 ? std::pow(tone.endPitch / tone.pitch, 1.0 / count) : 1.0;
    const double vibratoDepth = tone.vibratoDepth * std::numbers::ln2 / 12.0;
    Oscillator oscillator(tone.wave, tone.phase);
    Filter filter(Filter::Mode::LowPass, tone.lowPass > 0.0 ? tone.lowPass : rate, 0.707, rate);
    EnvelopeWalker envelope(tone.envelope, count, rate);
    double pitch = tone.pitch;
    for (long i = 0; i < count; ++i) {
        double frequency = pitch;
        if (tone.vibratoRate > 0.0)
            frequency *= 1.0 + vibratoDepth * Oscillator::Sine(tone.vibratoRate * i / rate);
        float value = oscillator.Next(frequency / rate);
        if (tone.lowPass > 0.0)
            value = filter.Process(value);
        sink(first + i, static_cast<float>(tone.gain * envelope.Gain(i) * value));
        pitch *= glide;
    }
}

template <class Sink> void RenderNoise(const NoiseBurst& burst, unsigned rate, Sink&& sink)
{
    const long first = std::lround(burst.start * rate);
    const long count = std::lround(burst.length * rate);
    if (count <= 0)
        return;
    const double sweep = burst.endCentre > 0.0 ? std::pow(burst.endCentre / burst.centre, 1.0 / count) : 1.0;
    Noise noise(burst.seed);
    Filter filter(Filter::Mode::BandPass, burst.centre, burst.q, rate);
    EnvelopeWalker envelope(burst.envelope, count, rate);
    double centre = burst.centre;
    for (long i = 0; i < count; ++i) {
        if (sweep != 1.0)
            filter.SetCutoff(centre);
        double gain = burst.gain * envelope.Gain(i);
        if (burst.flutter > 0.0)
            gain *= 0.5 - 0.5 * Oscillator::Sine(burst.flutter * i / rate + 0.25);
        sink(first + i, static_cast<float>(gain * filter.Process(noise.Next())));
        centre *= sweep;
    }
}

// The frequency of a MIDI note number (69 is 440 Hz).
inline double NoteFrequency(double note)
{
    return 440.0 * std::exp2((note - 69.0) / 12.0);
}

} // namespace Content
