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
    std::lock_guard lock(m_mutex);
    Sound* sound = m_system->CreateSound(name);
    if (!sound)
        return nullptr;
    // The slot is taken only now that the sound exists.
    m_sounds.Add(sound);
    return sound;
}

void SoundManager::DeleteSound(Sound* sound)
{
    std::lock_guard lock(m_mutex);
    if (!sound || !m_sounds.Contains(sound))
        return;
    const auto named = std::stable_partition(m_commands.begin(), m_commands.end(),
                                             [&](const SoundCommand* command) { return command->sound != sound; });
    std::for_each(named, m_commands.end(), [](SoundCommand* command) { delete command; });
    m_commands.erase(named, m_commands.end());
    m_sounds.Remove(sound);
    delete sound;
}

void SoundManager::Play(Sound* sound, bool immediately)
{
    std::lock_guard lock(m_mutex);
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
    for (const std::uint32_t slot : m_sounds.GetUsedSlots()) {
        Sound* other = m_sounds.GetSlots()[slot];
        if (other != sound && other->GetState() != Sound::Stopped && !other->GetLoop()) {
            other->Stop();
            sound->Play();
            return;
        }
    }
}

void SoundManager::Update(bool runCommands)
{
    std::lock_guard lock(m_mutex);
    if (runCommands) {
        for (const SoundCommand* command : m_commands)
            Run(*command);
        DeleteAllAndClear(m_commands);
    }
    m_sounds.ForEachUsed([](Sound* sound) { sound->Update(); });
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
    m_sounds.ForEachUsed([](Sound* sound) { delete sound; });
    m_sounds.Clear();
    m_system->SetSoundBufferManager(nullptr);
    m_bufferManager.reset();
}

} // namespace KeystrelEngine
