// A piece of music as notes on a beat grid, the composer's output and the renderer's input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Content {

enum class Instrument
{
    Pad,
    Bass,
    Harp,
    Bell,
    Flute
};

struct Note
{
    double beat;
    double beats;
    // MIDI note number (60 is middle C).
    int key;
    float velocity;
    Instrument instrument;
    // -1 left .. 1 right.
    float pan;

    bool operator==(const Note&) const = default;
};

struct Score
{
    double tempo;
    // The piece is this many beats long and loops.
    int beats;
    std::vector<Note> notes;
};

// What a track is to be: the composer draws everything else from the seed.
struct TrackStyle
{
    // The engine's name: "audio\music\" + name + ".ogg".
    std::string file;
    double minimumSeconds;
    std::uint32_t seed;
    // MIDI note of the key's tonic; the pieces are in major keys.
    int tonic;
    // Beats per minute.
    double tempo;
    Instrument lead;
};

} // namespace Content
