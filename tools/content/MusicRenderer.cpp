#include "tools/content/MusicRenderer.h"

#include "tools/content/Instruments.h"
#include "tools/content/Reverb.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Content {
namespace {

constexpr float kReverbWet = 3.0f;

struct Voicing
{
    float gain;
    // Share of the note sent to the reverb.
    float send;
};

Voicing VoicingOf(Instrument instrument)
{
    switch (instrument) {
    case Instrument::Pad:
        return {0.45f, 0.5f};
    case Instrument::Bass:
        return {0.9f, 0.12f};
    case Instrument::Harp:
        return {0.5f, 0.45f};
    case Instrument::Bell:
        return {0.45f, 0.55f};
    case Instrument::Flute:
        return {0.5f, 0.4f};
    }
    return {0.0f, 0.0f};
}

std::vector<Tone> TonesOf(const Note& note, double start, double length)
{
    const double pitch = NoteFrequency(note.key);
    switch (note.instrument) {
    case Instrument::Pad:
        return Instruments::Pad(start, length, pitch, note.velocity);
    case Instrument::Bass:
        return Instruments::Bass(start, length, pitch, note.velocity);
    case Instrument::Harp:
        return Instruments::Pluck(start, pitch, note.velocity, 0.9);
    case Instrument::Bell:
        return Instruments::Bell(start, pitch, note.velocity, 1.0);
    case Instrument::Flute:
        return Instruments::Flute(start, length, pitch, note.velocity);
    }
    return {};
}

struct Mix
{
    std::vector<float> left;
    std::vector<float> right;
    std::vector<float> send;

    explicit Mix(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f), send(frames, 0.0f) {}

    void AddNote(const Note& note, double secondsPerBeat)
    {
        const Voicing voicing = VoicingOf(note.instrument);
        const double angle = (note.pan + 1.0) * std::numbers::pi / 4.0;
        const float toLeft = static_cast<float>(voicing.gain * std::cos(angle));
        const float toRight = static_cast<float>(voicing.gain * std::sin(angle));
        const float toSend = voicing.gain * voicing.send;
        const std::size_t frames = left.size();
        for (const Tone& tone : TonesOf(note, note.beat * secondsPerBeat, note.beats * secondsPerBeat)) {
            RenderTone(tone, MusicRenderer::kRate, [&](long index, float value) {
                // A tone is shorter than the piece, so it wraps at most once.
                auto i = static_cast<std::size_t>(index);
                if (i >= frames)
                    i -= frames;
                left[i] += toLeft * value;
                right[i] += toRight * value;
                send[i] += toSend * value;
            });
        }
    }
};

} // namespace

std::vector<float> MusicRenderer::Render(const Score& score)
{
    const long framesPerBeat = std::lround(kRate * 60.0 / score.tempo);
    const auto frames = static_cast<std::size_t>(framesPerBeat * score.beats);
    const double secondsPerBeat = static_cast<double>(framesPerBeat) / kRate;
    Mix mix(frames);
    for (const Note& note : score.notes)
        mix.AddNote(note, secondsPerBeat);
    Reverb().AddLooped(mix.send, mix.left, mix.right, kReverbWet);

    std::vector<float> interleaved(2 * frames);
    float peak = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = mix.left[i];
        interleaved[2 * i + 1] = mix.right[i];
        peak = std::max({peak, std::abs(mix.left[i]), std::abs(mix.right[i])});
    }
    const float scale = peak > 0.0f ? static_cast<float>(std::pow(10.0, -3.0 / 20.0)) / peak : 0.0f;
    for (float& sample : interleaved)
        sample *= scale;
    return interleaved;
}

} // namespace Content
