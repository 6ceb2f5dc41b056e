#include "tools/content/VoiceChirp.h"

#include "tools/content/Filter.h"
#include "tools/content/Noise.h"
#include "tools/content/Oscillator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace Content {
namespace {

using Formants = std::array<double, 3>;

constexpr std::array<float, 3> kFormantGains{1.0f, 0.7f, 0.35f};
constexpr std::array<double, 3> kFormantQ{5.0, 8.0, 10.0};
// A small creature: its formants lie a fifth of the way above an adult's.
constexpr double kSmallness = 1.2;
constexpr double kAttack = 0.025;
constexpr double kRelease = 0.06;

Formants VowelFormants(char vowel)
{
    switch (vowel) {
    case 'a':
        return {800.0, 1250.0, 2600.0};
    case 'e':
        return {480.0, 2000.0, 2700.0};
    case 'i':
        return {320.0, 2400.0, 3100.0};
    case 'o':
        return {480.0, 850.0, 2500.0};
    default:
        return {340.0, 750.0, 2400.0};
    }
}

// Where a voiced onset starts its glide into the vowel.
Formants OnsetFormants(char consonant, const Formants& previous)
{
    switch (consonant) {
    case 'w':
    case 'b':
        return VowelFormants('u');
    case 'y':
        return VowelFormants('i');
    case 'l':
        return {360.0, 1300.0, 2500.0};
    case 'r':
        return {420.0, 1200.0, 1700.0};
    default:
        return previous;
    }
}

Formants Mix(const Formants& from, const Formants& to, double amount)
{
    Formants mixed{};
    for (std::size_t j = 0; j < mixed.size(); ++j)
        mixed[j] = from[j] + (to[j] - from[j]) * amount;
    return mixed;
}

// The voice's state that runs on from syllable to syllable.
struct Voice
{
    Oscillator source{Wave::Saw};
    // Softens the saw's buzz towards the gentler slope of a real voice.
    Filter throat{Filter::Mode::LowPass, 3500.0, 0.707, MonoSound::kRate};
    Noise breath{5};
    std::array<Filter, 3> formants{Filter(Filter::Mode::BandPass, 500.0, kFormantQ[0], MonoSound::kRate),
                                   Filter(Filter::Mode::BandPass, 1500.0, kFormantQ[1], MonoSound::kRate),
                                   Filter(Filter::Mode::BandPass, 2500.0, kFormantQ[2], MonoSound::kRate)};
    Formants shape = VowelFormants('a');

    float Sample(double frequency, const Formants& target, double breathiness)
    {
        const float excitation =
            static_cast<float>((1.0 - breathiness) * throat.Process(source.Next(frequency / MonoSound::kRate)) +
                               breathiness * 1.5 * breath.Next());
        float value = 0.0f;
        for (std::size_t j = 0; j < formants.size(); ++j) {
            formants[j].SetCutoff(target[j] * kSmallness);
            value += kFormantGains[j] * formants[j].Process(excitation);
        }
        return value;
    }
};

void AddConsonantNoise(MonoSound& sound, char consonant, double start)
{
    if (consonant == 't' || consonant == 'p') {
        sound.Add(NoiseBurst{.start = start - 0.012,
                             .length = 0.03,
                             .centre = consonant == 't' ? 4200.0 : 1500.0,
                             .q = 1.2,
                             .envelope = {.attack = 0.001, .decay = 0.008},
                             .gain = 0.2f,
                             .seed = consonant == 't' ? 3u : 4u});
    }
}

} // namespace

void VoiceChirp::Draw(MonoSound& sound, double basePitch, const std::vector<Syllable>& syllables)
{
    Voice voice;
    double start = 0.02;
    for (const Syllable& syllable : syllables) {
        start += syllable.pause;
        AddConsonantNoise(sound, syllable.consonant, start);
        const long first = std::lround(start * MonoSound::kRate);
        const long count = std::lround(syllable.seconds * MonoSound::kRate);
        const Formants from = OnsetFormants(syllable.consonant, voice.shape);
        const Formants to = VowelFormants(syllable.vowel);
        const double glide = syllable.consonant && syllable.consonant != 'h' ? 0.18 : 0.35;
        for (long i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / MonoSound::kRate;
            const double u = static_cast<double>(i) / count;
            // Pitch and vowel move along an eased curve; a lively vibrato keeps the voice from sounding electric.
            const double ease = 0.5 - 0.5 * std::cos(std::numbers::pi * u);
            const double semitones =
                syllable.fromPitch + (syllable.toPitch - syllable.fromPitch) * ease + 0.25 * Oscillator::Sine(6.5 * t);
            const Formants shape = Mix(from, to, std::min(1.0, u / glide));
            const double breathiness = syllable.consonant == 'h' ? std::max(0.08, 0.8 - 8.0 * t) : 0.08;
            double gain = std::min(1.0, t / kAttack) * std::min(1.0, (syllable.seconds - t) / kRelease);
            if (syllable.consonant == 'b')
                gain *= std::min(1.0, t / 0.04);
            sound.AddSample(first + i, static_cast<float>(gain * voice.Sample(basePitch * std::exp2(semitones / 12.0),
                                                                              shape, breathiness)));
        }
        voice.shape = to;
        start += syllable.seconds;
    }
}

} // namespace Content
