// The only entry to the sound subsystem for the rest of the program: it owns every sound and the buffer
// manager, creates and deletes sounds by file name, plays them at once or through a queue of deferred
// commands, and runs the per-frame update of every sound and buffer. A loading worker may create sounds while the
// main thread updates them: creating, deleting, playing and updating hold one lock.
#pragma once

#include "engine/foundation/SlotList.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace KeystrelEngine {

class FileManager;
class MessageManager;
class Sound;
class SoundBufferManager;
class SoundSystem;

// One deferred sound command. Whoever queues one allocates it with new and appends it to
// SoundManager::m_commands; the manager runs it at its next full update and deletes it.
struct SoundCommand
{
    enum Kind : std::uint32_t
    {
        Play = 0,
        Pause = 1,
        Stop = 2
    };

    std::uint32_t kind;
    Sound* sound;
};

class SoundManager
{
public:
    // Creates the buffer manager and hands it to the sound system.
    SoundManager(MessageManager* log, FileManager* files, SoundSystem* system);
    virtual ~SoundManager();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // The reader's errors reach the caller, and then no slot is taken.
    Sound* CreateSound(const std::string& name);
    // Drops the sound's queued commands (the others keep their order) and deletes it; null or a sound the
    // manager does not hold does nothing.
    void DeleteSound(Sound* sound);
    // Immediately: plays now, and when the sound refuses, stops the first other sound that is neither stopped
    // nor looping and tries once more. Otherwise a play command is queued.
    void Play(Sound* sound, bool immediately);
    // Runs the queued commands when runCommands is set (the loading loop passes false, so that they wait for
    // the next full frame), then updates every sound and every buffer (streams are refilled).
    void Update(bool runCommands);

    // Sounds by slot (null in a free slot) and the used slots in order of creation.
    const SlotList<Sound>& GetSounds() const { return m_sounds; }
    SoundBufferManager* GetBufferManager() const { return m_bufferManager.get(); }

    // Deferred commands in order of arrival, owned by the manager.
    std::vector<SoundCommand*> m_commands;

private:
    void PlayNow(Sound* sound);
    void Run(const SoundCommand& command);
    void DeleteAllSounds();

    MessageManager* m_log;
    FileManager* m_files;
    SoundSystem* m_system;
    std::unique_ptr<SoundBufferManager> m_bufferManager;
    SlotList<Sound> m_sounds;
    std::mutex m_mutex;
};

} // namespace KeystrelEngine
