#include "tools/content/GameSounds.h"

#include "tools/content/Instruments.h"
#include "tools/content/VoiceChirp.h"

#include <algorithm>
#include <array>
#include <string>

namespace Content {
namespace {

struct Praise
{
    double basePitch;
    std::vector<Syllable> syllables;
};

// Nine exclamations of the guide, each its own melody of syllables ("wo-hoo", "yay-ee", "ta-daa", "oo-la-la",
// "wow", "hee-hee-hee", "bra-vo", "yip-pee", "hoo-ray").
const std::vector<Praise>& Praises()
{
    static const std::vector<Praise> praises{
        {440.0, {{'o', 0.15, 0.0, 2.0, 'w'}, {'u', 0.32, 5.0, 9.0, 'h', 0.04}}},
        {470.0, {{'a', 0.3, 0.0, 7.0, 'y'}, {'i', 0.16, 9.0, 7.0}}},
        {415.0, {{'a', 0.12, 0.0, 0.0, 't'}, {'a', 0.4, 5.0, 7.0, 't', 0.05}}},
        {494.0, {{'u', 0.14, 0.0, 2.0}, {'a', 0.12, 4.0, 4.0, 'l', 0.02}, {'a', 0.28, 7.0, 5.0, 'l', 0.02}}},
        {392.0, {{'a', 0.22, 0.0, 6.0, 'w'}, {'u', 0.22, 6.0, 2.0}}},
        {523.0, {{'i', 0.1, 4.0, 5.0, 'h'}, {'i', 0.1, 6.0, 7.0, 'h', 0.05}, {'i', 0.18, 9.0, 11.0, 'h', 0.05}}},
        {440.0, {{'a', 0.17, 0.0, 3.0, 'b'}, {'o', 0.32, 5.0, 2.0, 'w', 0.03}}},
        {466.0, {{'i', 0.12, 2.0, 4.0, 'y'}, {'i', 0.3, 7.0, 12.0, 'p', 0.06}}},
        {415.0, {{'u', 0.16, 0.0, 1.0, 'h'}, {'e', 0.2, 4.0, 8.0, 'r', 0.03}, {'i', 0.14, 8.0, 9.0}}},
    };
    return praises;
}

// A soft wooden "nope": two low, muted plucks falling a third.
void DrawBadSwap(MonoSound& sound)
{
    for (int i = 0; i < 2; ++i)
        sound.Add(Tone{.start = 0.14 * i,
                       .length = 0.25,
                       .pitch = NoteFrequency(i ? 53 : 57),
                       .endPitch = NoteFrequency(i ? 52 : 56),
                       .wave = Wave::Triangle,
                       .envelope = {.attack = 0.004, .decay = 0.07},
                       .lowPass = 900.0});
}

// A little pop: a sine falling fast, like a bubble bursting.
void DrawPop(MonoSound& sound, double pitch, float gain)
{
    sound.Add(Tone{.length = 0.1,
                   .pitch = pitch,
                   .endPitch = pitch * 0.3,
                   .envelope = {.attack = 0.002, .decay = 0.035},
                   .gain = gain});
}

// A whole colour vanishes: a pop, a rising gust, a warm chord and a cascade of bells through the pentatonic scale.
void DrawColourBonus(MonoSound& sound)
{
    DrawPop(sound, 220.0, 0.8f);
    sound.Add(NoiseBurst{.length = 1.3,
                         .centre = 400.0,
                         .endCentre = 5000.0,
                         .q = 0.6,
                         .envelope = {.attack = 0.35, .release = 0.8},
                         .gain = 0.45f});
    for (int note : {60, 67, 72})
        sound.Add(Tone{.start = 0.02,
                       .length = 1.5,
                       .pitch = NoteFrequency(note),
                       .wave = Wave::Triangle,
                       .envelope = {.attack = 0.08, .decay = 0.6, .release = 0.5},
                       .gain = 0.25f});
    static const int cascade[] = {84, 86, 88, 91, 93, 96, 98, 100, 103, 105};
    for (int i = 0; i < 10; ++i)
        sound.Add(Instruments::Bell(0.05 + 0.085 * i, NoteFrequency(cascade[i]), 0.35f, 0.14));
}

// A chain of butterflies bursts: a pop, a puff of air and a bright chord.
void DrawCombinationBonus(MonoSound& sound)
{
    DrawPop(sound, 300.0, 0.9f);
    sound.Add(NoiseBurst{.length = 0.4,
                         .centre = 1500.0,
                         .endCentre = 400.0,
                         .q = 0.7,
                         .envelope = {.attack = 0.005, .decay = 0.1},
                         .gain = 0.6f});
    for (int note : {79, 83, 86})
        sound.Add(Instruments::Bell(0.03, NoteFrequency(note), 0.4f, 0.22));
}

// One butterfly bursts: a pop and a single sparkle.
void DrawItemBonus(MonoSound& sound)
{
    DrawPop(sound, 500.0, 0.8f);
    sound.Add(NoiseBurst{
        .length = 0.05, .centre = 5000.0, .q = 1.0, .envelope = {.attack = 0.001, .decay = 0.01}, .gain = 0.3f});
    sound.Add(Instruments::Bell(0.03, NoteFrequency(88), 0.6f, 0.12));
}

// A chain: a plucked note with its octave and twelfth ringing above it; each longer chain a step higher.
void DrawCombination(MonoSound& sound, int note)
{
    sound.Add(Instruments::Pluck(0.0, NoteFrequency(note), 1.0f, 0.16));
    sound.Add(Instruments::Bell(0.04, NoteFrequency(note + 12), 0.5f, 0.14));
    sound.Add(Instruments::Bell(0.08, NoteFrequency(note + 19), 0.25f, 0.1));
}

// Selecting glides up a fourth, deselecting glides down.
void DrawSelect(MonoSound& sound, bool up)
{
    const double low = NoteFrequency(74);
    const double high = NoteFrequency(79);
    sound.Add(Tone{.length = 0.11,
                   .pitch = up ? low : high,
                   .endPitch = up ? high : low,
                   .envelope = {.attack = 0.004, .decay = 0.04}});
    sound.Add(Tone{
        .length = 0.11, .pitch = 2.0 * (up ? high : low), .envelope = {.attack = 0.002, .decay = 0.02}, .gain = 0.2f});
}

// Two butterflies trade places: a flutter of wings in a rising breath, with a faint glide.
void DrawSwap(MonoSound& sound)
{
    sound.Add(NoiseBurst{.length = 0.34,
                         .centre = 800.0,
                         .endCentre = 2400.0,
                         .q = 1.2,
                         .envelope = {.attack = 0.1, .release = 0.15},
                         .flutter = 22.0});
    sound.Add(Tone{.length = 0.3,
                   .pitch = 440.0,
                   .endPitch = 660.0,
                   .envelope = {.attack = 0.05, .release = 0.12},
                   .gain = 0.08f});
}

void AddChord(MonoSound& sound, double start, double length, std::initializer_list<int> notes, float gain)
{
    for (int note : notes)
        sound.Add(Tone{.start = start,
                       .length = length,
                       .pitch = NoteFrequency(note),
                       .wave = Wave::Triangle,
                       .envelope = {.attack = 0.08, .release = std::min(0.6, 0.5 * length)},
                       .gain = gain,
                       .lowPass = 1600.0});
}

// A level opens: a harp glissando up the pentatonic scale into a bell chord.
void DrawLevelBegin(MonoSound& sound)
{
    static const int run[] = {67, 69, 72, 74, 76, 79, 81, 84};
    for (int i = 0; i < 8; ++i)
        sound.Add(Instruments::Pluck(0.06 * i, NoteFrequency(run[i]), 0.45f + 0.03f * i, 0.35));
    for (int note : {84, 88, 91})
        sound.Add(Instruments::Bell(0.52, NoteFrequency(note), 0.35f, 0.45));
    AddChord(sound, 0.5, 1.05, {60, 64, 67}, 0.12f);
}

// A level is won: a little cadence (F, G, C) with a rising tune and a final ringing chord.
void DrawLevelEnd(MonoSound& sound)
{
    AddChord(sound, 0.0, 0.55, {53, 57, 60}, 0.12f);
    AddChord(sound, 0.45, 0.55, {55, 59, 62}, 0.12f);
    AddChord(sound, 0.9, 1.5, {48, 55, 60, 64}, 0.12f);
    static const int tune[] = {76, 77, 79, 83, 84};
    static const double at[] = {0.0, 0.22, 0.45, 0.67, 0.9};
    for (int i = 0; i < 5; ++i)
        sound.Add(Instruments::Pluck(at[i], NoteFrequency(tune[i]), 0.6f, i == 4 ? 0.6 : 0.25));
    for (int i = 0; i < 4; ++i)
        sound.Add(Instruments::Bell(0.95 + 0.08 * i, NoteFrequency(84 + std::array{0, 4, 7, 12}[i]), 0.25f, 0.4));
}

// A level is lost: a gentle falling tune on a flute over A minor turning to F, ending on a low bell.
void DrawLevelFailed(MonoSound& sound)
{
    AddChord(sound, 0.0, 1.0, {57, 60, 64}, 0.1f);
    AddChord(sound, 0.9, 1.2, {53, 57, 60}, 0.1f);
    static const int tune[] = {76, 74, 72, 69};
    for (int i = 0; i < 4; ++i)
        sound.Add(Instruments::Flute(0.28 * i, i == 3 ? 0.9 : 0.3, NoteFrequency(tune[i]), 0.45f));
    sound.Add(Instruments::Bell(1.15, NoteFrequency(57), 0.4f, 0.5));
}

} // namespace

std::vector<SoundEffect> GameSounds::Effects()
{
    std::vector<SoundEffect> effects;
    for (std::size_t i = 0; i < Praises().size(); ++i) {
        const Praise& praise = Praises()[i];
        effects.push_back({"audio\\game\\character_paise_" + std::to_string(i) + ".wav", 0.85, false, -5.0,
                           [&praise](MonoSound& s) { VoiceChirp::Draw(s, praise.basePitch, praise.syllables); }});
    }
    effects.push_back({"audio\\game\\bad_swap.wav", 0.45, false, -8.0, DrawBadSwap});
    effects.push_back({"audio\\game\\bonus_color_destruction.wav", 1.6, false, -4.0, DrawColourBonus});
    effects.push_back({"audio\\game\\bonus_combination_destruction.wav", 0.9, false, -5.0, DrawCombinationBonus});
    effects.push_back({"audio\\game\\bonus_item_destruction.wav", 0.5, false, -6.0, DrawItemBonus});
    static const int combinationNotes[] = {72, 74, 76, 79, 81};
    for (int i = 0; i < 5; ++i) {
        const int note = combinationNotes[i];
        effects.push_back({"audio\\game\\combination_" + std::to_string(i) + ".wav", 0.6, false, -6.0 + 0.5 * i,
                           [note](MonoSound& s) { DrawCombination(s, note); }});
    }
    effects.push_back({"audio\\game\\deselect.wav", 0.13, false, -12.0, [](MonoSound& s) { DrawSelect(s, false); }});
    effects.push_back({"audio\\game\\level_begin.wav", 1.7, false, -5.0, DrawLevelBegin});
    effects.push_back({"audio\\game\\level_end.wav", 2.5, false, -5.0, DrawLevelEnd});
    effects.push_back({"audio\\game\\level_failed.wav", 2.3, false, -6.0, DrawLevelFailed});
    effects.push_back({"audio\\game\\select.wav", 0.13, false, -12.0, [](MonoSound& s) { DrawSelect(s, true); }});
    effects.push_back({"audio\\game\\swap.wav", 0.36, false, -9.0, DrawSwap});
    return effects;
}

} // namespace Content
