#include "tools/content/Instruments.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace {

struct Partial
{
    double ratio;
    float gain;
    double decay;
};

std::vector<Tone> Struck(double start, double pitch, float gain, double decay, const std::vector<Partial>& partials,
                         double attack)
{
    std::vector<Tone> tones;
    for (const Partial& partial : partials) {
        const double partialDecay = decay * partial.decay;
        tones.push_back({.start = start,
                         .length = 4.0 * partialDecay + attack,
                         .pitch = pitch * partial.ratio,
                         .envelope = {.attack = attack, .decay = partialDecay, .release = 0.3 * partialDecay},
                         .gain = gain * partial.gain});
    }
    return tones;
}

} // namespace

std::vector<Tone> Instruments::Bell(double start, double pitch, float gain, double decay)
{
    static const std::vector<Partial> partials{
        {1.0, 1.0f, 1.0}, {2.0, 0.32f, 0.55}, {3.01, 0.14f, 0.35}, {4.23, 0.07f, 0.22}};
    return Struck(start, pitch, gain, decay, partials, 0.002);
}

std::vector<Tone> Instruments::Pluck(double start, double pitch, float gain, double decay)
{
    static const std::vector<Partial> partials{
        {1.0, 1.0f, 1.0}, {2.0, 0.45f, 0.6}, {3.0, 0.2f, 0.42}, {4.0, 0.09f, 0.3}};
    return Struck(start, pitch, gain, decay, partials, 0.004);
}

std::vector<Tone> Instruments::Pad(double start, double length, double pitch, float gain)
{
    constexpr double kRelease = 1.2;
    std::vector<Tone> tones;
    for (double cents : {-7.0, 7.0}) {
        tones.push_back({.start = start,
                         .length = length + kRelease,
                         .pitch = pitch * std::exp2(cents / 1200.0),
                         .wave = Wave::Saw,
                         .envelope = {.attack = std::min(0.9, 0.5 * length), .decay = 0.0, .release = kRelease},
                         .gain = 0.5f * gain,
                         .lowPass = std::clamp(pitch * 3.0, 500.0, 1800.0),
                         .phase = cents > 0.0 ? 0.37 : 0.0});
    }
    return tones;
}

std::vector<Tone> Instruments::Bass(double start, double length, double pitch, float gain)
{
    const Envelope envelope{.attack = 0.012, .decay = 2.5, .release = 0.12};
    return {{.start = start, .length = length, .pitch = pitch, .envelope = envelope, .gain = gain},
            {.start = start,
             .length = length,
             .pitch = pitch,
             .wave = Wave::Triangle,
             .envelope = envelope,
             .gain = 0.3f * gain,
             .lowPass = 600.0}};
}

std::vector<Tone> Instruments::Flute(double start, double length, double pitch, float gain)
{
    const Envelope envelope{.attack = 0.07, .decay = 0.0, .release = std::min(0.25, 0.4 * length)};
    return {{.start = start,
             .length = length,
             .pitch = pitch,
             .wave = Wave::Triangle,
             .envelope = envelope,
             .gain = gain,
             .vibratoRate = 5.0,
             .vibratoDepth = 0.12,
             .lowPass = 2600.0},
            {.start = start,
             .length = length,
             .pitch = 2.0 * pitch,
             .envelope = envelope,
             .gain = 0.18f * gain,
             .vibratoRate = 5.0,
             .vibratoDepth = 0.12}};
}

} // namespace Content
