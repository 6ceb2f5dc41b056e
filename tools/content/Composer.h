// Composes a looping piece in a major key from a seed. The piece is a row of eight-bar sections, each built on
// one or two four-chord progressions; the first section is a quiet opening, the middle ones bring in the bass,
// the arpeggio and the tune in turn, and the last thins out again and ends on the dominant, which leads back to
// the tonic of the first bar when the piece loops. Pads hold the chords with smooth voice leading, the bass
// plays the roots in a pattern per section, a harp arpeggiates the chord in eighths or quarters and the tune
// walks the scale in two-bar phrases whose third phrase repeats the rhythm of the first.
#pragma once

#include "tools/content/Noise.h"
#include "tools/content/Score.h"

#include <array>
#include <vector>

namespace Content {

class Composer
{
public:
    explicit Composer(const TrackStyle& style);

    Score Compose();

private:
    struct Layers
    {
        bool bass;
        bool arpeggioInEighths;
        bool tune;
        bool bells;
    };

    static constexpr int kSectionBars = 8;

    int DegreeKey(int degree) const;
    std::vector<int> ChordKeys(int degree) const;
    std::vector<int> SectionChords(int section, int sections);
    Layers SectionLayers(int section, int sections) const;

    void AddPads(int bar, int degree);
    void AddBass(int bar, int degree, int pattern);
    void AddArpeggio(int bar, int degree, int pattern, bool eighths);
    void AddBells(int bar, int degree);
    void AddTune(int firstBar, const std::vector<int>& chords);
    int TuneDegreeNear(int degree, int chordDegree, bool onChord);

    void Add(double beat, double beats, int key, float velocity, Instrument instrument, float pan);

    TrackStyle m_style;
    Noise m_random;
    Score m_score;
    std::vector<int> m_voicing;
    int m_tuneDegree;
};

} // namespace Content
