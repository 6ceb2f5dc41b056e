// The building blocks of every sound the tool makes: a tone (one oscillator with a pitch glide, vibrato, an
// optional low-pass filter and an envelope) and a noise burst (band-passed noise with a sweeping centre and an
// optional flutter).
#pragma once

#include "tools/content/Oscillator.h"

#include <cmath>
#include <cstdint>

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

// The frequency of a MIDI note number (69 is 440 Hz).
inline double NoteFrequency(double note)
{
    return 440.0 * std::exp2((note - 69.0) / 12.0);
}

} // namespace Content
