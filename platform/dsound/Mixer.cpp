// How the mixer works. Each secondary buffer is a Voice over a SampleMemory (duplicates share one memory and
// keep their own voice). A voice's position counts frames of its memory in 32.32 fixed point; per output frame
// it advances by memory rate / output rate, and the sample is interpolated linearly between the frame at the
// position and the next one (the first again for a looping voice at its last frame, the last frame held for a
// one-shot voice). At equal rates the fraction stays 0 and samples pass through unchanged. Samples are summed
// in floats on the 16-bit scale (8-bit samples are centred and scaled by 256), multiplied by the voice's gain
// 10^(mB / 2000) and its 3D gains, then rounded and clamped to 16 bits: one voice at unity gain and the output's
// rate comes out bit for bit. A one-shot voice that passes its last frame stops and rewinds to 0.
//
// The output thread calls Render; everything a voice holds is guarded by one mutex, which Render takes per step
// of at most 10 ms of output, so the main thread waits for at most one step.
#include "platform/dsound/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SoundHost {
namespace {

// Sample fetchers on the 16-bit scale; the host is little-endian like the PCM data.
struct Mono8
{
    static void Get(const std::uint8_t* data, std::uint32_t frame, float& left, float& right)
    {
        left = right = (static_cast<float>(data[frame]) - 128.0f) * 256.0f;
    }
};

struct Stereo8
{
    static void Get(const std::uint8_t* data, std::uint32_t frame, float& left, float& right)
    {
        left = (static_cast<float>(data[2 * frame]) - 128.0f) * 256.0f;
        right = (static_cast<float>(data[2 * frame + 1]) - 128.0f) * 256.0f;
    }
};

struct Mono16
{
    static void Get(const std::uint8_t* data, std::uint32_t frame, float& left, float& right)
    {
        std::int16_t sample;
        std::memcpy(&sample, data + 2 * frame, 2);
        left = right = sample;
    }
};

struct Stereo16
{
    static void Get(const std::uint8_t* data, std::uint32_t frame, float& left, float& right)
    {
        std::int16_t samples[2];
        std::memcpy(samples, data + 4 * frame, 4);
        left = samples[0];
        right = samples[1];
    }
};

constexpr float kFraction = 1.0f / 4294967296.0f;

struct Gains
{
    float left;
    float right;
};

// Mixes count frames between frame and next (next = frame + 1 inside the memory).
template <class Fetch>
void MixRun(const std::uint8_t* data, std::uint64_t& position, std::uint64_t step, std::uint32_t count, Gains gains,
            float* sum)
{
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t frame = static_cast<std::uint32_t>(position >> 32);
        const float f = static_cast<float>(static_cast<std::uint32_t>(position)) * kFraction;
        float l0, r0, l1, r1;
        Fetch::Get(data, frame, l0, r0);
        Fetch::Get(data, frame + 1, l1, r1);
        sum[2 * k] += (l0 + (l1 - l0) * f) * gains.left;
        sum[2 * k + 1] += (r0 + (r1 - r0) * f) * gains.right;
        position += step;
    }
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

template <class Fetch> void MixVoiceAs(Voice& voice, std::uint64_t step, Gains gains, float* sum, std::uint32_t frames)
{
    const std::uint8_t* data = voice.memory->bytes.data();
    const std::uint32_t total = voice.memory->Frames();
    const std::uint64_t last = static_cast<std::uint64_t>(total - 1) << 32;
    const std::uint64_t end = static_cast<std::uint64_t>(total) << 32;
    std::uint32_t done = 0;
    while (done < frames && WrapAtEnd(voice, end)) {
        if (voice.position < last) {
            const std::uint64_t run = (last - voice.position + step - 1) / step;
            const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(run, frames - done));
            MixRun<Fetch>(data, voice.position, step, count, gains, sum + 2 * done);
            done += count;
        } else {
            // The last frame interpolates towards the first one of the next pass, or holds.
            float l0, r0, l1, r1;
            Fetch::Get(data, total - 1, l0, r0);
            Fetch::Get(data, voice.looping ? 0 : total - 1, l1, r1);
            const float f = static_cast<float>(static_cast<std::uint32_t>(voice.position)) * kFraction;
            sum[2 * done] += (l0 + (l1 - l0) * f) * gains.left;
            sum[2 * done + 1] += (r0 + (r1 - r0) * f) * gains.right;
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
        for (std::uint32_t i = 0; i < 2 * count; ++i)
            stereo[i] = static_cast<std::int16_t>(std::clamp(std::lrint(sum[i]), -32768L, 32767L));
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
        stereo ? MixVoiceAs<Stereo8>(voice, step, gains, sum, frames)
               : MixVoiceAs<Mono8>(voice, step, gains, sum, frames);
    else
        stereo ? MixVoiceAs<Stereo16>(voice, step, gains, sum, frames)
               : MixVoiceAs<Mono16>(voice, step, gains, sum, frames);
}

} // namespace SoundHost
