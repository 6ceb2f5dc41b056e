// Owns every sound buffer. A static buffer of a name that is already loaded is shared through a duplicate of
// its device buffer instead of reading the file again; a stream is never shared.
#pragma once

#include "engine/foundation/SlotList.h"

#include <string>

namespace KeystrelEngine {

class FileManager;
class MessageManager;
class SoundBuffer;
class SoundSystem;

class SoundBufferManager
{
public:
    SoundBufferManager(MessageManager* log, FileManager* files, SoundSystem* system);
    // Deletes every buffer still used.
    ~SoundBufferManager();

    SoundBufferManager(const SoundBufferManager&) = delete;
    SoundBufferManager& operator=(const SoundBufferManager&) = delete;

    // A buffer for the file name (matched lower-cased); the reader's errors reach the caller, and then no slot
    // is taken.
    SoundBuffer* Get(const std::string& name);
    // Deletes the buffer and frees its slot; null or a buffer the manager does not hold does nothing.
    void Release(SoundBuffer* buffer);
    // Updates every used buffer in the order of use.
    void UpdateAll();

    // Buffers by slot (null in a free slot) and the used slots in order of use.
    const SlotList<SoundBuffer>& GetBuffers() const { return m_buffers; }

private:
    SoundBuffer* FindModel(const std::string& name) const;

    MessageManager* m_log;
    FileManager* m_files;
    SoundSystem* m_system;
    SlotList<SoundBuffer> m_buffers;
};

} // namespace KeystrelEngine
