// The instruments shared by the sound effects and the music, each a handful of tones.
#pragma once

#include "tools/content/Tone.h"

#include <vector>

namespace Content {

class Instruments
{
public:
    // A struck bell or celesta: slightly stretched upper partials that die away sooner than the fundamental.
    static std::vector<Tone> Bell(double start, double pitch, float gain, double decay);
    // A plucked string (harp, music box): harmonic partials, the higher ones softer and shorter.
    static std::vector<Tone> Pluck(double start, double pitch, float gain, double decay);
    // A soft pad: two slightly detuned saws through a low-pass filter, slow to rise and to fall.
    static std::vector<Tone> Pad(double start, double length, double pitch, float gain);
    // A round bass: a sine with a little of a triangle, gently plucked.
    static std::vector<Tone> Bass(double start, double length, double pitch, float gain);
    // A flute: a filtered triangle with a soft sine an octave up and a gentle vibrato.
    static std::vector<Tone> Flute(double start, double length, double pitch, float gain);
};

} // namespace Content
