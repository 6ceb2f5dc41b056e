// A sound buffer in a DirectSound secondary buffer: the whole file in a static buffer, a ring of 32 chunks for a
// stream, or a duplicate that shares a loaded static buffer's sample memory.
#pragma once

#include "SoundBuffer.h"
#include "SoundSystem_DS7.h"

#include "engine/render/Vector3.h"

namespace KeystrelEngine {

// Which chunks of a stream's ring have been played, told from the moves of the play cursor. A cursor below the
// last one has wrapped the ring once. The total played is 64-bit and every chunk of the stream is reported
// once, in play order, as soon as the play position is more than two chunks past its end (so a chunk is
// never written while it may still be heard).
class StreamProgress
{
public:
    void Reset();
    // Appends the ring indexes of the chunks that became free since the last call.
    void Advance(DWORD playCursor, std::vector<std::uint32_t>& played);
    std::uint64_t GetTotalPlayed() const { return m_total; }

private:
    DWORD m_lastCursor = 0;
    std::uint64_t m_total = 0;
    std::uint64_t m_nextChunk = 0;
};

class SoundBuffer_DS7 : public SoundBuffer
{
public:
    // Loads the named file; the reader's errors leave the constructor.
    SoundBuffer_DS7(FileManager* files, const std::string& name, MessageManager* log, SoundSystem_DS7* system);
    // Shares the source's device buffer (the source must be a loaded static buffer).
    explicit SoundBuffer_DS7(SoundBuffer_DS7& source);
    ~SoundBuffer_DS7() override;

    // The refill, then the remembered volume applied again.
    void Update() override;
    void Unload() override;
    void CreateDeviceBuffer(SoundBuffer* source) override;
    void ReleaseDeviceBuffer() override;
    bool WriteChunk(std::uint32_t index, const std::uint8_t* data, std::uint32_t bytes) override;
    void QueueChunk(std::uint32_t) override {}
    void UnqueueProcessedBuffers(std::vector<std::uint32_t>& played) override;

    bool HasDeviceBuffer() const { return m_buffer != nullptr; }
    // Playback on the device buffer; each does nothing without one.
    void Play(bool loop);
    void Pause();
    void Stop();
    bool IsPlaying();
    // The device buffer's status word (DSBSTATUS_*), 0 without a device buffer.
    DWORD GetStatus();
    // False when a lost device buffer could not be restored.
    bool Restore();
    // 0 silent, 1 full: 1000 x ln(volume) hundredths of a decibel, the minimum below 0.0001.
    void SetVolume(float volume);
    // A deferred 3D position; nothing without 3D control.
    void SetPosition(const Vector3& position);
    // For a stream that stops looping: when the ring already holds the start of the next pass behind the pass
    // being heard, that start becomes silence and the stream ends with the pass being heard.
    void EndWithCurrentPass();

private:
    // Copies bytes bytes of data (silence without data) into the device buffer at offset, wrapping at its end;
    // false when the buffer cannot be locked or unlocked.
    bool WriteRing(DWORD offset, const std::uint8_t* data, DWORD bytes);
    void CreateSecondaryBuffer();
    void DuplicateSecondaryBuffer(SoundBuffer_DS7& source);
    void Get3DBuffer();

    SoundSystem_DS7* m_system;
    IDirectSound* m_device;
    InterfacePointer<IDirectSoundBuffer> m_buffer;
    InterfacePointer<IDirectSound3DBuffer> m_buffer3D;
    StreamProgress m_progress;
    bool m_finished = false;
    float m_volume = 1.0f;
};

} // namespace KeystrelEngine
