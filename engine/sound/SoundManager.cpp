#include "SoundManager.h"

#include "Sound.h"
#include "SoundBufferManager.h"
#include "SoundSystem.h"

#include "engine/foundation/VectorUtils.h"

#include <algorithm>

namespace KeystrelEngine {

SoundManager::SoundManager(MessageManager* log, FileManager* files, SoundSystem* system)
    : m_log(log), m_files(files), m_system(system),
      m_bufferManager(std::make_unique<SoundBufferManager>(log, files, system))
{
    m_system->SetSoundBufferManager(m_bufferManager.get());
}

SoundManager::~SoundManager()
{
    DeleteAllSounds();
}

Sound* SoundManager::CreateSound(const std::string& name)
{
    Sound* sound = m_system->CreateSound(name);
    if (!sound)
        return nullptr;
    // The slot is taken only now that the sound exists.
    if (m_freeSlots.empty()) {
        m_usedSlots.push_back(static_cast<std::uint32_t>(m_sounds.size()));
        m_sounds.push_back(sound);
    } else {
        m_usedSlots.push_back(m_freeSlots.back());
        m_sounds[m_freeSlots.back()] = sound;
        m_freeSlots.pop_back();
    }
    return sound;
}

void SoundManager::DeleteSound(Sound* sound)
{
    if (!sound)
        return;
    const auto used = std::find_if(m_usedSlots.begin(), m_usedSlots.end(),
                                   [&](std::uint32_t slot) { return m_sounds[slot] == sound; });
    if (used == m_usedSlots.end())
        return;
    const auto named = std::stable_partition(m_commands.begin(), m_commands.end(),
                                             [&](const SoundCommand* command) { return command->sound != sound; });
    std::for_each(named, m_commands.end(), [](SoundCommand* command) { delete command; });
    m_commands.erase(named, m_commands.end());
    delete sound;
    m_sounds[*used] = nullptr;
    m_freeSlots.push_back(*used);
    m_usedSlots.erase(used);
}

void SoundManager::Play(Sound* sound, bool immediately)
{
    if (immediately)
        PlayNow(sound);
    else
        m_commands.push_back(new SoundCommand{SoundCommand::Play, sound});
}

// Looping sounds and the requesting sound are never stolen.
void SoundManager::PlayNow(Sound* sound)
{
    if (!sound || sound->Play())
        return;
    for (const std::uint32_t slot : m_usedSlots) {
        Sound* other = m_sounds[slot];
        if (other != sound && other->GetState() != Sound::Stopped && !other->GetLoop()) {
            other->Stop();
            sound->Play();
            return;
        }
    }
}

void SoundManager::Update(bool runCommands)
{
    if (runCommands) {
        for (const SoundCommand* command : m_commands)
            Run(*command);
        DeleteAllAndClear(m_commands);
    }
    for (const std::uint32_t slot : m_usedSlots)
        m_sounds[slot]->Update();
    m_bufferManager->UpdateAll();
}

// A command of an unknown kind, or without a sound, is dropped without effect.
void SoundManager::Run(const SoundCommand& command)
{
    if (!command.sound)
        return;
    switch (command.kind) {
    case SoundCommand::Play:
        PlayNow(command.sound);
        break;
    case SoundCommand::Pause:
        command.sound->Pause();
        break;
    case SoundCommand::Stop:
        command.sound->Stop();
        break;
    default:
        break;
    }
}

void SoundManager::DeleteAllSounds()
{
    DeleteAllAndClear(m_commands);
    m_freeSlots.clear();
    for (const std::uint32_t slot : m_usedSlots)
        delete m_sounds[slot];
    m_usedSlots.clear();
    m_sounds.clear();
    m_system->SetSoundBufferManager(nullptr);
    m_bufferManager.reset();
}

} // namespace KeystrelEngine
