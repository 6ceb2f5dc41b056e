#include "SoundBufferManager.h"

#include "SoundBuffer.h"
#include "SoundSystem.h"

#include "engine/foundation/StringUtils.h"

#include <algorithm>

namespace KeystrelEngine {

SoundBufferManager::SoundBufferManager(MessageManager* log, FileManager* files, SoundSystem* system)
    : m_log(log), m_files(files), m_system(system)
{
}

SoundBufferManager::~SoundBufferManager()
{
    m_freeSlots.clear();
    for (const std::uint32_t slot : m_usedSlots)
        delete m_buffers[slot];
}

SoundBuffer* SoundBufferManager::Get(const std::string& name)
{
    SoundBuffer* model = FindModel(ToLower(name));
    SoundBuffer* buffer = model ? m_system->CreateSoundBuffer(*model) : m_system->CreateSoundBuffer(name);
    if (!buffer)
        return nullptr;
    // The slot is taken only now that the buffer exists.
    if (m_freeSlots.empty()) {
        m_usedSlots.push_back(static_cast<std::uint32_t>(m_buffers.size()));
        m_buffers.push_back(buffer);
    } else {
        m_usedSlots.push_back(m_freeSlots.back());
        m_buffers[m_freeSlots.back()] = buffer;
        m_freeSlots.pop_back();
    }
    return buffer;
}

// The first used buffer of that name, when it is static.
SoundBuffer* SoundBufferManager::FindModel(const std::string& name) const
{
    for (const std::uint32_t slot : m_usedSlots) {
        if (m_buffers[slot]->GetName() == name)
            return m_buffers[slot]->IsStreamed() ? nullptr : m_buffers[slot];
    }
    return nullptr;
}

void SoundBufferManager::Release(SoundBuffer* buffer)
{
    if (!buffer)
        return;
    const auto used = std::find_if(m_usedSlots.begin(), m_usedSlots.end(),
                                   [&](std::uint32_t slot) { return m_buffers[slot] == buffer; });
    if (used == m_usedSlots.end())
        return;
    delete buffer;
    m_buffers[*used] = nullptr;
    m_freeSlots.push_back(*used);
    m_usedSlots.erase(used);
}

void SoundBufferManager::UpdateAll()
{
    for (const std::uint32_t slot : m_usedSlots)
        m_buffers[slot]->Update();
}

} // namespace KeystrelEngine
