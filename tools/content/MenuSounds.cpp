#include "tools/content/MenuSounds.h"

#include "tools/content/Instruments.h"
#include "tools/content/Noise.h"

#include <cmath>
#include <numbers>

namespace Content {
namespace {

// A soft glassy blip when the pointer comes onto a button; the two hover sounds take turns.
void DrawHover(MonoSound& sound, int note)
{
    sound.Add(Instruments::Bell(0.0, NoteFrequency(note), 1.0f, 0.045));
}

// A small wooden "tock-tick": two plucked notes a fifth apart over a short click.
void DrawClick(MonoSound& sound)
{
    sound.Add(Instruments::Pluck(0.0, NoteFrequency(72), 1.0f, 0.05));
    sound.Add(Instruments::Pluck(0.035, NoteFrequency(79), 0.7f, 0.05));
    sound.Add(NoiseBurst{.length = 0.02, .centre = 2600.0, .q = 0.8, .envelope = {.attack = 0.001, .decay = 0.004}});
}

// A quill tapping on paper: a short band of noise with a faint tone under it.
void DrawTyping(MonoSound& sound)
{
    sound.Add(NoiseBurst{.length = 0.035, .centre = 3600.0, .q = 1.5, .envelope = {.attack = 0.001, .decay = 0.007}});
    sound.Add(Tone{.length = 0.05, .pitch = 1800.0, .envelope = {.attack = 0.001, .decay = 0.012}, .gain = 0.25f});
}

// A harp run and a breath of air, upwards when a window unfolds and downwards when it folds away.
void DrawWindow(MonoSound& sound, bool opening)
{
    static const int notes[] = {72, 76, 79, 84, 88, 91};
    for (int i = 0; i < 6; ++i) {
        const int note = notes[opening ? i : 5 - i];
        sound.Add(
            Instruments::Pluck(0.055 * i, NoteFrequency(note), opening ? 0.55f + 0.06f * i : 0.85f - 0.06f * i, 0.22));
    }
    sound.Add(NoiseBurst{.length = 0.55,
                         .centre = opening ? 600.0 : 3200.0,
                         .endCentre = opening ? 3200.0 : 500.0,
                         .q = 0.7,
                         .envelope = {.attack = 0.25, .release = 0.28},
                         .gain = 0.35f});
}

// Loop: a soft ratchet, twelve ticks a second, over a faint tone while the slider moves.
void DrawSlider(MonoSound& sound)
{
    constexpr int kTicks = 6;
    for (int i = 0; i < kTicks; ++i) {
        const double start = sound.Seconds() * i / kTicks;
        sound.Add(NoiseBurst{.start = start,
                             .length = 0.03,
                             .centre = 2200.0,
                             .q = 2.0,
                             .envelope = {.attack = 0.001, .decay = 0.006},
                             .seed = 11u + i});
        sound.Add(Tone{.start = start,
                       .length = 0.04,
                       .pitch = i % 2 ? 1320.0 : 1175.0,
                       .envelope = {.attack = 0.001, .decay = 0.008},
                       .gain = 0.3f});
    }
    sound.Add(Tone{.length = sound.Seconds(),
                   .pitch = sound.WholeCycles(660.0),
                   .envelope = {.attack = 0.0, .release = 0.0},
                   .gain = 0.04f});
}

// Loop: coins twinkling while the score counts up, a pentatonic figure of eight bell strokes.
void DrawScoreCount(MonoSound& sound)
{
    static const int notes[] = {84, 86, 88, 91, 93, 91, 88, 86};
    for (int i = 0; i < 8; ++i) {
        sound.Add(Instruments::Bell(sound.Seconds() * i / 8, NoteFrequency(notes[i]), i % 2 ? 0.7f : 1.0f, 0.03));
    }
}

// Loop: mana filling up, a tone that seems to rise for ever. Six partials an octave apart each climb one octave
// per loop under a fixed bell-shaped loudness over the octaves, so that at the end every partial stands where
// its upper neighbour started; starting phases are chained so the partials also meet in phase. Little bubbles
// rise through it.
void DrawManaCount(MonoSound& sound)
{
    constexpr int kOctaves = 6;
    constexpr double kLowest = 110.0;
    const double period = sound.Seconds();
    const long length = static_cast<long>(sound.Samples().size());
    double phase = 0.0;
    for (int k = 0; k < kOctaves; ++k) {
        const double base = kLowest * std::exp2(k);
        for (long i = 0; i < length; ++i) {
            const double t = static_cast<double>(i) / MonoSound::kRate;
            const double octave = k + t / period;
            const double loudness = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * octave / kOctaves);
            const double cycles = phase + base * period / std::numbers::ln2 * (std::exp2(t / period) - 1.0);
            sound.AddSample(i, static_cast<float>(0.3 * loudness * Oscillator::Sine(cycles)));
        }
        phase += base * period / std::numbers::ln2;
        phase -= std::floor(phase);
    }
    static const int bubbles[] = {84, 88, 91, 86, 93, 89};
    for (int i = 0; i < 6; ++i)
        sound.Add(Tone{.start = period * (i + 0.3) / 6,
                       .length = 0.09,
                       .pitch = NoteFrequency(bubbles[i]),
                       .endPitch = NoteFrequency(bubbles[i] + 5),
                       .envelope = {.attack = 0.01, .decay = 0.03},
                       .gain = 0.12f});
}

// A bright flourish when an upgrade is granted: a rising arpeggio, a bell chord with a warm chord under it,
// and a shower of small sparkles.
void DrawUpgrade(MonoSound& sound)
{
    static const int arpeggio[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i)
        sound.Add(Instruments::Pluck(0.08 * i, NoteFrequency(arpeggio[i]), 0.7f, 0.3));
    for (int note : {84, 88, 91})
        sound.Add(Instruments::Bell(0.36, NoteFrequency(note), 0.5f, 0.45));
    for (int note : {60, 64, 67})
        sound.Add(Tone{.start = 0.3,
                       .length = 1.4,
                       .pitch = NoteFrequency(note),
                       .wave = Wave::Triangle,
                       .envelope = {.attack = 0.2, .release = 0.8},
                       .gain = 0.18f});
    Noise sparkle(7);
    static const int sparkles[] = {96, 98, 100, 103, 105};
    for (int i = 0; i < 14; ++i)
        sound.Add(Instruments::Bell(0.45 + 0.07 * i + 0.03 * sparkle.Unit(), NoteFrequency(sparkles[sparkle.Below(5)]),
                                    0.18f * (1.0f - i / 16.0f), 0.05));
}

} // namespace

std::vector<SoundEffect> MenuSounds::Effects()
{
    return {
        {"audio\\menu\\button_select_0.wav", 0.2, false, -14.0, [](MonoSound& s) { DrawHover(s, 88); }},
        {"audio\\menu\\button_select_1.wav", 0.2, false, -14.0, [](MonoSound& s) { DrawHover(s, 91); }},
        {"audio\\menu\\button_click.wav", 0.25, false, -8.0, DrawClick},
        {"audio\\menu\\edit_box_print.wav", 0.08, false, -12.0, DrawTyping},
        {"audio\\menu\\window_appear.wav", 0.95, false, -8.0, [](MonoSound& s) { DrawWindow(s, true); }},
        {"audio\\menu\\window_disappear.wav", 0.85, false, -9.0, [](MonoSound& s) { DrawWindow(s, false); }},
        {"audio\\menu\\volume_slider.wav", 0.5, true, -14.0, DrawSlider},
        {"audio\\menu\\charge_score.wav", 0.6, true, -12.0, DrawScoreCount},
        {"audio\\menu\\charge_mana.wav", 2.0, true, -11.0, DrawManaCount},
        {"audio\\menu\\upgrade.wav", 1.9, false, -5.0, DrawUpgrade},
    };
}

} // namespace Content
