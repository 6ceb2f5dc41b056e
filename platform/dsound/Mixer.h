// The software mixer behind the DirectSound stand-in (used inside the stand-in only).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace SoundHost {

struct Vector
{
    float x = 0, y = 0, z = 0;
};

// The PCM bytes of one secondary buffer, shared by the buffer and its duplicates.
struct SampleMemory
{
    unsigned channels = 0;
    unsigned bits = 0;
    unsigned rate = 0;
    std::vector<std::uint8_t> bytes;

    unsigned BlockAlign() const { return channels * bits / 8; }
    std::uint32_t Frames() const { return static_cast<std::uint32_t>(bytes.size() / BlockAlign()); }
};

// One playing position in a sample memory. Every field is guarded by the mixer's mutex.
struct Voice
{
    std::shared_ptr<SampleMemory> memory;
    std::uint64_t position = 0; // frames, 32.32 fixed point
    bool playing = false;
    bool looping = false;
    bool lost = false;
    float volumeGain = 1.0f;
    // 3D placement: the deferred position waits for a commit; the committed one gives the two gains.
    bool positional = false;
    Vector pendingPosition;
    Vector position3D;
    float leftGain = 1.0f;
    float rightGain = 1.0f;

    std::uint32_t CursorBytes() const;
    void SetCursorBytes(std::uint32_t bytes);
};

struct Listener
{
    Vector position;
    Vector front{0, 0, 1};
    Vector top{0, 1, 0};
};

class Mixer
{
public:
    explicit Mixer(unsigned outputRate);

    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    unsigned OutputRate() const { return m_outputRate; }
    std::mutex& Mutex() { return m_mutex; }

    // The caller holds the mutex for these.
    void Add(Voice* voice);
    void Remove(Voice* voice);
    Listener& PendingListener() { return m_pendingListener; }
    // Applies the deferred listener and the deferred positions of every voice.
    void CommitDeferred();
    // Recomputes one voice's 3D gains from its committed position and the committed listener.
    void Place(Voice& voice) const;

    // Mixes frames of interleaved 16-bit stereo at the output rate, in steps of at most 10 ms so that the play
    // cursors the main thread reads never move by more than that at once. Takes the mutex itself.
    void Render(std::int16_t* stereo, std::uint32_t frames);

private:
    void MixVoice(Voice& voice, float* sum, std::uint32_t frames) const;

    unsigned m_outputRate;
    std::uint32_t m_stepFrames;
    std::mutex m_mutex;
    std::vector<Voice*> m_voices;
    Listener m_pendingListener;
    Listener m_listener;
    std::vector<float> m_sum;
};

} // namespace SoundHost
