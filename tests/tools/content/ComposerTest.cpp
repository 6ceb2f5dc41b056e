#include "tools/content/Composer.h"
#include "tools/content/MusicGenerator.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace Content;

namespace {

int PitchClass(int key, int tonic)
{
    return ((key - tonic) % 12 + 12) % 12;
}

// The pitch classes (relative to the tonic) of the pads of every bar.
std::map<int, std::set<int>> BarChords(const Score& score, int tonic)
{
    std::map<int, std::set<int>> chords;
    for (const Note& note : score.notes) {
        if (note.instrument == Instrument::Pad)
            chords[static_cast<int>(note.beat) / 4].insert(PitchClass(note.key, tonic));
    }
    return chords;
}

} // namespace

TEST(Composer, PiecesAreWholeSectionsInTheirKeyFromTheTonicToTheDominant)
{
    const std::set<int> major{0, 2, 4, 5, 7, 9, 11};
    for (const TrackStyle& style : MusicGenerator::Tracks()) {
        SCOPED_TRACE(style.file);
        const Score score = Composer(style).Compose();
        EXPECT_EQ(score.beats % 32, 0);
        EXPECT_GE(score.beats * 60.0 / score.tempo, style.minimumSeconds);
        for (const Note& note : score.notes) {
            EXPECT_GE(note.beat, 0.0);
            EXPECT_LT(note.beat, score.beats);
            EXPECT_GT(note.beats, 0.0);
            EXPECT_TRUE(major.contains(PitchClass(note.key, style.tonic))) << note.key << " at " << note.beat;
        }
        const std::map<int, std::set<int>> chords = BarChords(score, style.tonic);
        EXPECT_EQ(chords.size(), static_cast<std::size_t>(score.beats / 4));
        EXPECT_TRUE((std::set<int>{0, 4, 7}).contains(*chords.at(0).begin()));
        EXPECT_EQ(chords.at(score.beats / 4 - 1), (std::set<int>{7, 11, 2}));
        EXPECT_EQ(Composer(style).Compose().notes, score.notes);
    }
}

TEST(Composer, TheTuneRestsOnChordTonesOnStrongBeats)
{
    for (const TrackStyle& style : MusicGenerator::Tracks()) {
        SCOPED_TRACE(style.file);
        const Score score = Composer(style).Compose();
        const std::map<int, std::set<int>> chords = BarChords(score, style.tonic);
        int tuneNotes = 0;
        for (const Note& note : score.notes) {
            if (note.instrument != style.lead)
                continue;
            ++tuneNotes;
            if (static_cast<int>(note.beat) % 2 == 0 && note.beat == static_cast<int>(note.beat)) {
                EXPECT_TRUE(chords.at(static_cast<int>(note.beat) / 4).contains(PitchClass(note.key, style.tonic)))
                    << note.key << " at beat " << note.beat;
            }
        }
        EXPECT_GT(tuneNotes, 0);
    }
}
