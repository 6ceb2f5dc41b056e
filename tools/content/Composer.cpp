#include "tools/content/Composer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Content {
namespace {

constexpr std::array<int, 7> kMajorScale{0, 2, 4, 5, 7, 9, 11};

// Four-chord progressions as scale degrees counted from 0 (0 the tonic, 4 the dominant, 5 the relative minor).
const std::vector<std::array<int, 4>> kProgressions{
    {0, 4, 5, 3}, {0, 5, 3, 4}, {5, 3, 0, 4}, {3, 0, 4, 5}, {0, 2, 3, 4},
    {1, 4, 0, 5}, {3, 4, 2, 5}, {0, 3, 1, 4}, {0, 3, 0, 4}, {5, 1, 4, 0},
};

// Bass figures for one bar: start beat, length in beats and the chord step (0 root, 4 fifth, 7 octave).
struct BassNote
{
    double beat;
    double beats;
    int step;
};
const std::vector<std::vector<BassNote>> kBassFigures{
    {{0.0, 2.0, 0}, {2.0, 2.0, 0}},
    {{0.0, 1.5, 0}, {1.5, 0.5, 0}, {2.0, 2.0, 4}},
    {{0.0, 3.0, 0}, {3.0, 1.0, 4}},
    {{0.0, 2.0, 0}, {2.0, 1.0, 4}, {3.0, 1.0, 7}},
};

// Arpeggio figures: indices into six chord tones over two octaves, one per eighth of the bar.
const std::vector<std::array<int, 8>> kArpeggios{
    {0, 1, 2, 3, 4, 3, 2, 1},
    {0, 2, 1, 3, 2, 4, 3, 5},
    {0, 1, 2, 4, 5, 4, 2, 1},
    {2, 1, 0, 1, 3, 4, 5, 4},
};

// Two-bar rhythms of the tune in beats; a negative length is a rest.
const std::vector<std::vector<double>> kRhythms{
    {2, 1, 1, 2, 2},    {1.5, 0.5, 2, 3, 1}, {1, 1, 2, 4},     {3, 1, 2, 2},
    {1, 1, 1, 1, 2, 2}, {2, 2, 1, 1, 2},     {-1, 1, 1, 1, 4}, {2, 1, 1, 3, -1},
};

constexpr int kTuneLowest = 7;
constexpr int kTuneHighest = 16;

int FloorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

bool IsChordTone(int degree, int chordDegree)
{
    const int interval = ((degree - chordDegree) % 7 + 7) % 7;
    return interval == 0 || interval == 2 || interval == 4;
}

} // namespace

Composer::Composer(const TrackStyle& style) : m_style(style), m_random(style.seed), m_tuneDegree(11) {}

Score Composer::Compose()
{
    const double barSeconds = 4.0 * 60.0 / m_style.tempo;
    const int bars = static_cast<int>(std::ceil(m_style.minimumSeconds / barSeconds / kSectionBars)) * kSectionBars;
    const int sections = bars / kSectionBars;
    m_score = {m_style.tempo, 4 * bars, {}};
    for (int section = 0; section < sections; ++section) {
        const std::vector<int> chords = SectionChords(section, sections);
        const Layers layers = SectionLayers(section, sections);
        const int bassFigure = m_random.Below(static_cast<int>(kBassFigures.size()));
        const int arpeggio = m_random.Below(static_cast<int>(kArpeggios.size()));
        for (int i = 0; i < kSectionBars; ++i) {
            const int bar = section * kSectionBars + i;
            AddPads(bar, chords[i]);
            if (layers.bass)
                AddBass(bar, chords[i], bassFigure);
            AddArpeggio(bar, chords[i], arpeggio, layers.arpeggioInEighths);
            if (layers.bells)
                AddBells(bar, chords[i]);
        }
        if (layers.tune)
            AddTune(section * kSectionBars, chords);
    }
    return m_score;
}

int Composer::DegreeKey(int degree) const
{
    const int octave = FloorDiv(degree, 7);
    return m_style.tonic + 12 * octave + kMajorScale[degree - 7 * octave];
}

std::vector<int> Composer::ChordKeys(int degree) const
{
    return {DegreeKey(degree), DegreeKey(degree + 2), DegreeKey(degree + 4)};
}

std::vector<int> Composer::SectionChords(int section, int sections)
{
    std::array<int, 4> first = kProgressions[m_random.Below(static_cast<int>(kProgressions.size()))];
    // The piece opens on the tonic.
    while (section == 0 && first[0] != 0)
        first = kProgressions[m_random.Below(static_cast<int>(kProgressions.size()))];
    const std::array<int, 4> second =
        m_random.Unit() < 0.5 ? first : kProgressions[m_random.Below(static_cast<int>(kProgressions.size()))];
    std::vector<int> chords(first.begin(), first.end());
    chords.insert(chords.end(), second.begin(), second.end());
    // The last bar is the dominant, which resolves into the first bar when the piece loops.
    if (section == sections - 1) {
        chords[7] = 4;
        if (chords[6] == 4)
            chords[6] = 3;
    }
    return chords;
}

Composer::Layers Composer::SectionLayers(int section, int sections) const
{
    if (section == 0)
        return {false, false, false, false};
    if (section == sections - 1)
        return {true, false, false, true};
    switch ((section - 1) % 3) {
    case 0:
        return {true, true, false, false};
    case 1:
        return {true, true, true, false};
    default:
        return {true, false, true, true};
    }
}

// The chord held by the pads in the inversion and octave that moves the voices least from the last chord.
void Composer::AddPads(int bar, int degree)
{
    const std::vector<int> root = ChordKeys(degree);
    std::vector<int> best;
    double bestCost = std::numeric_limits<double>::max();
    for (int inversion = 0; inversion < 3; ++inversion) {
        std::vector<int> voicing = root;
        for (int i = 0; i < inversion; ++i)
            voicing[i] += 12;
        std::sort(voicing.begin(), voicing.end());
        for (int shift : {-24, -12, 0, 12}) {
            std::vector<int> shifted = voicing;
            for (int& key : shifted)
                key += shift;
            if (shifted.front() < m_style.tonic - 8 || shifted.back() > m_style.tonic + 12)
                continue;
            double cost = 0.0;
            for (std::size_t i = 0; i < shifted.size(); ++i)
                cost +=
                    m_voicing.empty() ? std::abs(shifted[i] - m_style.tonic - 2) : std::abs(shifted[i] - m_voicing[i]);
            if (cost < bestCost) {
                bestCost = cost;
                best = shifted;
            }
        }
    }
    m_voicing = best;
    static const float pans[] = {-0.5f, 0.1f, 0.5f};
    for (std::size_t i = 0; i < best.size(); ++i)
        Add(4.0 * bar, 4.0, best[i], 0.3f, Instrument::Pad, pans[i]);
    // Now and then the tonic and subdominant chords take an added ninth on top, a touch of sparkle.
    if ((degree == 0 || degree == 3) && m_random.Unit() < 0.4)
        Add(4.0 * bar, 4.0, DegreeKey(degree + 8), 0.16f, Instrument::Pad, -0.2f);
}

void Composer::AddBass(int bar, int degree, int figure)
{
    int root = DegreeKey(degree % 7) - 24;
    if (root > m_style.tonic - 24 + 7)
        root -= 12;
    for (const BassNote& note : kBassFigures[figure]) {
        const int key = root + (note.step == 4 ? 7 : note.step == 7 ? 12 : 0);
        Add(4.0 * bar + note.beat, note.beats, key, note.beat == 0.0 ? 0.6f : 0.48f, Instrument::Bass, 0.0f);
    }
}

void Composer::AddArpeggio(int bar, int degree, int figure, bool eighths)
{
    std::vector<int> tones = ChordKeys(degree);
    for (int key : ChordKeys(degree))
        tones.push_back(key + 12);
    if (tones.front() > m_style.tonic + 5) {
        for (int& key : tones)
            key -= 12;
    }
    const int step = eighths ? 1 : 2;
    for (int i = 0; i < 8; i += step) {
        const float velocity = i % 2 == 0 ? (i % 4 == 0 ? 0.42f : 0.36f) : 0.28f;
        Add(4.0 * bar + 0.5 * i, 0.5 * step, tones[kArpeggios[figure][i]] + 12, velocity, Instrument::Harp,
            (i / step) % 2 ? 0.35f : -0.35f);
    }
}

void Composer::AddBells(int bar, int degree)
{
    const std::vector<int> keys = ChordKeys(degree);
    Add(4.0 * bar, 1.0, keys[m_random.Below(3)] + 24, 0.22f, Instrument::Bell, 0.5f);
    Add(4.0 * bar + 2.5, 1.0, keys[m_random.Below(3)] + 24, 0.16f, Instrument::Bell, -0.3f);
}

void Composer::AddTune(int firstBar, const std::vector<int>& chords)
{
    const auto randomRhythm = [this] { return m_random.Below(static_cast<int>(kRhythms.size())); };
    const int opening = randomRhythm();
    int closing = randomRhythm();
    while (kRhythms[closing].back() < 2.0)
        closing = randomRhythm();
    const int phrases[] = {opening, randomRhythm(), opening, closing};
    double beat = 0.0;
    for (int phrase = 0; phrase < 4; ++phrase) {
        const std::vector<double>& rhythm = kRhythms[phrases[phrase]];
        for (std::size_t i = 0; i < rhythm.size(); ++i) {
            const double length = std::abs(rhythm[i]);
            if (rhythm[i] > 0.0) {
                static const int steps[] = {-2, -1, -1, 0, 1, 1, 2};
                int move = steps[m_random.Below(7)];
                if (m_tuneDegree > 13 || m_tuneDegree < 9)
                    move = m_tuneDegree > 13 ? -std::abs(move) : std::abs(move);
                const bool strong = std::fmod(beat, 2.0) == 0.0 || (phrase == 3 && i + 1 == rhythm.size());
                m_tuneDegree = TuneDegreeNear(m_tuneDegree + move, chords[static_cast<int>(beat) / 4], strong);
                const float velocity = static_cast<float>(0.5 + 0.15 * m_random.Unit());
                Add(4.0 * firstBar + beat, 0.95 * length, DegreeKey(m_tuneDegree), velocity, m_style.lead, 0.15f);
            }
            beat += length;
        }
    }
}

int Composer::TuneDegreeNear(int degree, int chordDegree, bool onChord)
{
    degree = std::clamp(degree, kTuneLowest, kTuneHighest);
    if (!onChord)
        return degree;
    for (int offset : {0, -1, 1, -2, 2, -3, 3}) {
        const int candidate = degree + offset;
        if (candidate >= kTuneLowest && candidate <= kTuneHighest && IsChordTone(candidate, chordDegree))
            return candidate;
    }
    return degree;
}

void Composer::Add(double beat, double beats, int key, float velocity, Instrument instrument, float pan)
{
    m_score.notes.push_back({beat, beats, key, velocity, instrument, pan});
}

} // namespace Content
