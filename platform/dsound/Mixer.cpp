// How the mixer works. Each secondary buffer is a Voice over a SampleMemory (duplicates share one memory and
// keep their own voice). A voice's position counts frames of its memory in 32.32 fixed point; per output frame
// it advances by memory rate / output rate, and the sample is interpolated linearly between the frame at the
// position and the next one (the first again for a looping voice at its last frame, the last frame held for a
// one-shot voice), in integers with a 15-bit weight. At equal rates the fraction stays 0 and samples pass through
// unchanged. Samples are summed in floats on the 16-bit scale (8-bit samples are centred and scaled by 256),
// multiplied by the voice's gain 10^(mB / 2000) and its 3D gains, then rounded and clamped to 16 bits: one voice
// at unity gain and the output's rate comes out bit for bit. A one-shot voice that passes its last frame stops
// and rewinds to 0.
//
// The output thread calls Render; everything a voice holds is guarded by one mutex, which Render takes per step
// of at most 10 ms of output, so the main thread waits for at most one step.
#include "platform/dsound/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SoundHost {
namespace {

// Sample readers on the 16-bit scale; the host is little-endian like the PCM data.
template <bool Eight, unsigned Channels> struct Samples
{
    static std::int32_t Get(const std::uint8_t* data, std::uint32_t frame, unsigned channel)
    {
        if constexpr (Eight) {
            return (static_cast<std::int32_t>(data[Channels * frame + channel]) - 128) * 256;
        } else {
            std::int16_t sample;
            std::memcpy(&sample, data + 2 * (Channels * frame + channel), 2);
            return sample;
        }
    }
};

// Interpolation weights have 15 bits, so that a difference of two 16-bit samples times a weight fits 32 bits.
constexpr unsigned kWeightBits = 15;

std::int32_t Weight(std::uint64_t position)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) >> (32 - kWeightBits));
}

struct Gains
{
    float left;
    float right;
};

// Adds one output frame interpolated between frames first and second with weight w.
template <class Reader, unsigned Channels>
inline void MixFrame(const std::uint8_t* data, std::uint32_t first, std::uint32_t second, std::int32_t w, Gains gains,
                     float* sum)
{
    const std::int32_t l0 = Reader::Get(data, first, 0);
    const auto left = static_cast<float>(l0 + (((Reader::Get(data, second, 0) - l0) * w) >> kWeightBits));
    float right = left;
    if constexpr (Channels == 2) {
        const std::int32_t r0 = Reader::Get(data, first, 1);
        right = static_cast<float>(r0 + (((Reader::Get(data, second, 1) - r0) * w) >> kWeightBits));
    }
    sum[0] += left * gains.left;
    sum[1] += right * gains.right;
}

// Mixes count frames, each between its frame and the next one inside the memory. At the output's own rate
// (a whole step from a whole position) every frame is taken as it is.
template <class Reader, unsigned Channels>
void MixRun(const std::uint8_t* data, std::uint64_t& position, std::uint64_t step, std::uint32_t count, Gains gains,
            float* sum)
{
    std::uint64_t at = position;
    if (step == (std::uint64_t{1} << 32) && static_cast<std::uint32_t>(at) == 0) {
        const auto frame = static_cast<std::uint32_t>(at >> 32);
        for (std::uint32_t k = 0; k < count; ++k) {
            const auto left = static_cast<float>(Reader::Get(data, frame + k, 0));
            const auto right = Channels == 2 ? static_cast<float>(Reader::Get(data, frame + k, 1)) : left;
            sum[2 * k] += left * gains.left;
            sum[2 * k + 1] += right * gains.right;
        }
        position = at + (static_cast<std::uint64_t>(count) << 32);
        return;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto frame = static_cast<std::uint32_t>(at >> 32);
        MixFrame<Reader, Channels>(data, frame, frame + 1, Weight(at), gains, sum + 2 * k);
        at += step;
    }
    position = at;
}

// A position past the end starts the next pass of a looping voice; a one-shot voice stops and rewinds.
bool WrapAtEnd(Voice& voice, std::uint64_t end)
{
    if (voice.position < end)
        return true;
    if (voice.looping) {
        voice.position %= end;
        return true;
    }
    voice.playing = false;
    voice.position = 0;
    return false;
}

template <bool Eight, unsigned Channels>
void MixVoiceAs(Voice& voice, std::uint64_t step, Gains gains, float* sum, std::uint32_t frames)
{
    using Reader = Samples<Eight, Channels>;
    const std::uint8_t* data = voice.memory->bytes.data();
    const std::uint32_t total = voice.memory->Frames();
    const std::uint64_t last = static_cast<std::uint64_t>(total - 1) << 32;
    const std::uint64_t end = static_cast<std::uint64_t>(total) << 32;
    std::uint32_t done = 0;
    while (done < frames && WrapAtEnd(voice, end)) {
        if (voice.position < last) {
            const std::uint64_t run = (last - voice.position + step - 1) / step;
            const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(run, frames - done));
            MixRun<Reader, Channels>(data, voice.position, step, count, gains, sum + 2 * done);
            done += count;
        } else {
            // The last frame interpolates towards the first one of the next pass, or holds.
            MixFrame<Reader, Channels>(data, total - 1, voice.looping ? 0 : total - 1, Weight(voice.position), gains,
                                       sum + 2 * done);
            voice.position += step;
            ++done;
        }
    }
    WrapAtEnd(voice, end);
}

Vector Cross(const Vector& a, const Vector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vector& a, const Vector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

} // namespace

std::uint32_t Voice::CursorBytes() const
{
    return static_cast<std::uint32_t>(position >> 32) * memory->BlockAlign();
}

void Voice::SetCursorBytes(std::uint32_t bytes)
{
    position = static_cast<std::uint64_t>(bytes / memory->BlockAlign()) << 32;
}

Mixer::Mixer(unsigned outputRate)
    : m_outputRate(outputRate), m_stepFrames(std::max(1u, outputRate / 100)), m_sum(2 * m_stepFrames)
{
}

void Mixer::Add(Voice* voice)
{
    m_voices.push_back(voice);
}

void Mixer::Remove(Voice* voice)
{
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

void Mixer::CommitDeferred()
{
    m_listener = m_pendingListener;
    for (Voice* voice : m_voices) {
        if (!voice->positional)
            continue;
        voice->position3D = voice->pendingPosition;
        Place(*voice);
    }
}

// A plain model: full gain within one unit of the listener, 1 / distance beyond it, and a linear pan along the
// listener's right-hand axis (top x front in DirectSound's left-handed space).
void Mixer::Place(Voice& voice) const
{
    const Vector d{voice.position3D.x - m_listener.position.x, voice.position3D.y - m_listener.position.y,
                   voice.position3D.z - m_listener.position.z};
    const float distance = std::sqrt(Dot(d, d));
    const Vector right = Cross(m_listener.top, m_listener.front);
    const float rightLength = std::sqrt(Dot(right, right));
    float pan = 0.0f;
    if (distance > 0.0001f && rightLength > 0.0001f)
        pan = std::clamp(Dot(d, right) / (distance * rightLength), -1.0f, 1.0f);
    const float gain = distance <= 1.0f ? 1.0f : 1.0f / distance;
    voice.leftGain = gain * std::min(1.0f, 1.0f - pan);
    voice.rightGain = gain * std::min(1.0f, 1.0f + pan);
}

void Mixer::Render(std::int16_t* stereo, std::uint32_t frames)
{
    while (frames > 0) {
        const std::uint32_t count = std::min(frames, m_stepFrames);
        float* sum = m_sum.data();
        std::fill(sum, sum + 2 * count, 0.0f);
        {
            std::lock_guard lock(m_mutex);
            for (Voice* voice : m_voices) {
                if (voice->playing && !voice->lost)
                    MixVoice(*voice, sum, count);
            }
        }
        for (std::uint32_t i = 0; i < 2 * count; ++i) {
            const float clamped = std::clamp(sum[i], -32768.0f, 32767.0f);
            stereo[i] = static_cast<std::int16_t>(clamped + (clamped < 0.0f ? -0.5f : 0.5f));
        }
        stereo += 2 * count;
        frames -= count;
    }
}

void Mixer::MixVoice(Voice& voice, float* sum, std::uint32_t frames) const
{
    const std::uint64_t step = (static_cast<std::uint64_t>(voice.memory->rate) << 32) / m_outputRate;
    const Gains gains{voice.volumeGain * voice.leftGain, voice.volumeGain * voice.rightGain};
    const bool stereo = voice.memory->channels == 2;
    if (voice.memory->bits == 8)
        stereo ? MixVoiceAs<true, 2>(voice, step, gains, sum, frames)
               : MixVoiceAs<true, 1>(voice, step, gains, sum, frames);
    else
        stereo ? MixVoiceAs<false, 2>(voice, step, gains, sum, frames)
               : MixVoiceAs<false, 1>(voice, step, gains, sum, frames);
}

} // namespace SoundHost
