// A sound is one voice of one sound file: its own buffer, loop flag, volume and play state. Sounds are created
// and deleted by the sound manager only.
#pragma once

#include "engine/render/Vector3.h"

#include <string>

namespace KeystrelEngine {

class MessageManager;
class SoundBuffer;
class SoundBufferManager;

class Sound
{
public:
    enum State
    {
        Playing = 0,
        Paused = 1,
        Stopped = 2
    };

    // Gives the buffer back to the buffer manager.
    virtual ~Sound();

    Sound& operator=(const Sound&) = delete;

    virtual void Update() {}
    // Starts from the beginning, or resumes a paused sound; false when the back end refused.
    virtual bool Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // A streamed buffer takes the flag as its stream-loops flag.
    virtual void SetLoop(bool loop);
    // 0 silent, 1 full.
    virtual void SetVolume(float volume) { m_volume = volume; }
    // The 3D position, heard where the buffer has 3D control.
    virtual void SetPosition(const Vector3& position) { m_position = position; }
    virtual int GetState() const = 0;

    const std::string& GetName() const { return m_name; }
    bool GetLoop() const { return m_loop; }
    float GetVolume() const { return m_volume; }
    const Vector3& GetPosition() const { return m_position; }
    SoundBuffer* GetBuffer() const { return m_buffer; }

protected:
    // Takes the buffer for the name from the buffer manager, which loads the file or shares a loaded one; the
    // reader's errors leave the constructor.
    Sound(SoundBufferManager* buffers, const std::string& name, MessageManager* log);
    // A voice of the source's file with the source's settings and a buffer of its own.
    Sound(const Sound& source);

    MessageManager* m_log;
    SoundBufferManager* m_buffers;
    std::string m_name;
    SoundBuffer* m_buffer;
    bool m_loop = false;
    float m_volume = 1.0f;
    Vector3 m_position;
};

} // namespace KeystrelEngine
