// The engine's abstract sound back end: the factory of sounds and sound buffers and the keeper of the one 3D
// listener.
#pragma once

#include "engine/render/Vector3.h"

#include <string>

namespace KeystrelEngine {

class Config;
class FileManager;
class MessageManager;
class Sound;
class SoundBuffer;
class SoundBufferManager;

class SoundSystem
{
public:
    virtual ~SoundSystem() = default;

    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Once per frame, before the sound manager's update.
    virtual void Refresh() {}
    // Null when the new object cannot be allocated; a failure of its constructor propagates.
    virtual Sound* CreateSound(const std::string& name) = 0;
    virtual Sound* CreateSound(const Sound& source) = 0;
    virtual SoundBuffer* CreateSoundBuffer(const std::string& name) = 0;
    virtual SoundBuffer* CreateSoundBuffer(SoundBuffer& source) = 0;
    // The one 3D listener; any part of the engine or the game may place it.
    virtual void SetListenerPosition(const Vector3& position) { m_listenerPosition = position; }
    virtual void SetListenerOrientation(const Vector3& front, const Vector3& top);
    // Position 0, 0, 0, looking along -z with +y up.
    virtual void ResetListener();

    // The sound manager hands over its buffer manager right after both exist; every new sound takes it.
    void SetSoundBufferManager(SoundBufferManager* buffers) { m_bufferManager = buffers; }
    bool Is3DEnabled() const { return m_3DEnabled; }
    const Vector3& GetListenerPosition() const { return m_listenerPosition; }
    const Vector3& GetListenerFront() const { return m_listenerFront; }
    const Vector3& GetListenerTop() const { return m_listenerTop; }

protected:
    SoundSystem(MessageManager* log, FileManager* files, Config* config, bool enable3D)
        : m_log(log), m_files(files), m_config(config), m_3DEnabled(enable3D)
    {
    }

    MessageManager* m_log;
    FileManager* m_files;
    Config* m_config; // held for the back ends; no sound setting is registered
    SoundBufferManager* m_bufferManager = nullptr;
    Vector3 m_listenerPosition;
    Vector3 m_listenerFront;
    Vector3 m_listenerTop;
    bool m_3DEnabled;
};

} // namespace KeystrelEngine
