#include "SoundBufferManager.h"

#include "SoundBuffer.h"
#include "SoundSystem.h"

#include "engine/foundation/StringUtils.h"

namespace KeystrelEngine {

SoundBufferManager::SoundBufferManager(MessageManager* log, FileManager* files, SoundSystem* system)
    : m_log(log), m_files(files), m_system(system)
{
}

SoundBufferManager::~SoundBufferManager()
{
    m_buffers.ForEachUsed([](SoundBuffer* buffer) { delete buffer; });
}

SoundBuffer* SoundBufferManager::Get(const std::string& name)
{
    SoundBuffer* model = FindModel(ToLower(name));
    SoundBuffer* buffer = model ? m_system->CreateSoundBuffer(*model) : m_system->CreateSoundBuffer(name);
    if (!buffer)
        return nullptr;
    // The slot is taken only now that the buffer exists.
    m_buffers.Add(buffer);
    return buffer;
}

// The first used buffer of that name, when it is static.
SoundBuffer* SoundBufferManager::FindModel(const std::string& name) const
{
    for (const std::uint32_t slot : m_buffers.GetUsedSlots()) {
        SoundBuffer* buffer = m_buffers.GetSlots()[slot];
        if (buffer->GetName() == name)
            return buffer->IsStreamed() ? nullptr : buffer;
    }
    return nullptr;
}

void SoundBufferManager::Release(SoundBuffer* buffer)
{
    if (buffer && m_buffers.Remove(buffer))
        delete buffer;
}

void SoundBufferManager::UpdateAll()
{
    m_buffers.ForEachUsed([](SoundBuffer* buffer) { buffer->Update(); });
}

} // namespace KeystrelEngine
