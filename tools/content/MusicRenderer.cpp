#include "tools/content/MusicRenderer.h"

#include "tools/content/Instruments.h"
#include "tools/content/Reverb.h"
#include "tools/content/ToneVoice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace Content {
namespace {

constexpr float kReverbWet = 3.0f;
// Every sounding tone renders one block at a time, so the mix of a block stays in the processor's cache.
constexpr long kBlock = 1024;

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
        return Instruments::Pluck(start, pitch, note.velocity, 0.75);
    case Instrument::Bell:
        return Instruments::Bell(start, pitch, note.velocity, 1.0);
    case Instrument::Flute:
        return Instruments::Flute(start, length, pitch, note.velocity);
    }
    return {};
}

struct Playing
{
    ToneVoice voice;
    float toLeft;
    float toRight;
    float toSend;
};

// Every tone of the score with its pan and send gains, in order of their first sample.
std::vector<Playing> Voices(const Score& score, double secondsPerBeat)
{
    std::vector<Playing> voices;
    for (const Note& note : score.notes) {
        const Voicing voicing = VoicingOf(note.instrument);
        const double angle = (note.pan + 1.0) * std::numbers::pi / 4.0;
        for (const Tone& tone : TonesOf(note, note.beat * secondsPerBeat, note.beats * secondsPerBeat)) {
            ToneVoice voice(tone, MusicRenderer::kRate);
            if (voice.End() > voice.First())
                voices.push_back({voice, static_cast<float>(voicing.gain * std::cos(angle)),
                                  static_cast<float>(voicing.gain * std::sin(angle)), voicing.gain * voicing.send});
        }
    }
    std::stable_sort(voices.begin(), voices.end(),
                     [](const Playing& a, const Playing& b) { return a.voice.First() < b.voice.First(); });
    return voices;
}

class Mixer
{
public:
    explicit Mixer(std::size_t frames) : m_left(frames, 0.0f), m_right(frames, 0.0f), m_send(frames, 0.0f) {}

    // Plays every voice; what sounds past the end of the piece wraps to its start (at most once: a tone is
    // shorter than the piece).
    void Play(std::vector<Playing>& voices)
    {
        long end = 0;
        for (const Playing& playing : voices)
            end = std::max(end, playing.voice.End());
        std::vector<Playing*> sounding;
        std::size_t next = 0;
        for (long start = 0; start < end; start += kBlock) {
            while (next < voices.size() && voices[next].voice.First() < start + kBlock)
                sounding.push_back(&voices[next++]);
            m_block = {};
            for (Playing* playing : sounding)
                MixInto(*playing, start);
            std::erase_if(sounding, [&](const Playing* playing) { return playing->voice.End() <= start + kBlock; });
            AddBlock(start);
        }
    }

    StereoTrack Finish()
    {
        Reverb().AddLooped(m_send, m_left, m_right, kReverbWet);
        float peak = 0.0f;
        for (std::size_t i = 0; i < m_left.size(); ++i)
            peak = std::max({peak, std::abs(m_left[i]), std::abs(m_right[i])});
        const float scale = peak > 0.0f ? static_cast<float>(std::pow(10.0, -3.0 / 20.0)) / peak : 0.0f;
        for (std::size_t i = 0; i < m_left.size(); ++i) {
            m_left[i] *= scale;
            m_right[i] *= scale;
        }
        return {std::move(m_left), std::move(m_right)};
    }

private:
    void MixInto(Playing& playing, long start)
    {
        const long from = std::max(playing.voice.First(), start);
        const long count = std::min(playing.voice.End(), start + kBlock) - from;
        if (count <= 0)
            return;
        playing.voice.Render(count, m_scratch.data());
        const long offset = from - start;
        for (long i = 0; i < count; ++i) {
            m_block[offset + i][0] += playing.toLeft * m_scratch[i];
            m_block[offset + i][1] += playing.toRight * m_scratch[i];
            m_block[offset + i][2] += playing.toSend * m_scratch[i];
        }
    }

    void AddBlock(long start)
    {
        const auto frames = static_cast<long>(m_left.size());
        for (long i = 0; i < kBlock; ++i) {
            long at = start + i;
            if (at >= frames)
                at -= frames;
            if (at >= frames)
                break;
            m_left[at] += m_block[i][0];
            m_right[at] += m_block[i][1];
            m_send[at] += m_block[i][2];
        }
    }

    std::vector<float> m_left;
    std::vector<float> m_right;
    std::vector<float> m_send;
    std::array<std::array<float, 3>, kBlock> m_block{};
    std::array<float, kBlock> m_scratch{};
};

} // namespace

StereoTrack MusicRenderer::Render(const Score& score)
{
    const long framesPerBeat = std::lround(kRate * 60.0 / score.tempo);
    const double secondsPerBeat = static_cast<double>(framesPerBeat) / kRate;
    std::vector<Playing> voices = Voices(score, secondsPerBeat);
    Mixer mixer(static_cast<std::size_t>(framesPerBeat * score.beats));
    mixer.Play(voices);
    return mixer.Finish();
}

} // namespace Content
