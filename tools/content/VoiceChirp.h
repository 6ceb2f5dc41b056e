// A small creature's voice: a buzzing source at a gliding pitch sent through three resonances (formants) that
// move from vowel to vowel, with breathy or clicking consonants in front of the syllables. It babbles rather
// than speaks: the praise sounds of the game's guide figure.
#pragma once

#include "tools/content/MonoSound.h"

#include <vector>

namespace Content {

struct Syllable
{
    // One of 'a', 'e', 'i', 'o', 'u'.
    char vowel;
    double seconds;
    // Pitch at the start and at the end, in semitones above the voice's base pitch.
    double fromPitch;
    double toPitch;
    // The onset: 0 for none, 'h' breathy, 't' or 'p' a click after a short stop, 'w', 'y', 'b', 'l' or 'r' a
    // voiced glide from a closed vowel.
    char consonant = 0;
    // Silence before the syllable.
    double pause = 0.0;
};

class VoiceChirp
{
public:
    // Draws the syllables one after another from the start of the sound.
    static void Draw(MonoSound& sound, double basePitch, const std::vector<Syllable>& syllables);
};

} // namespace Content
