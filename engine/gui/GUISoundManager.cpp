#include "GUISoundManager.h"

#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"

#include <cmath>

namespace KeystrelEngine {

GUISoundManager::GUISoundManager(TimerManager* timers, SoundManager* sounds) : m_timers(timers), m_sounds(sounds) {}

GUISoundManager::~GUISoundManager()
{
    for (const auto& [id, voices] : m_voices) {
        for (const Voice& voice : voices)
            m_sounds->DeleteSound(voice.sound);
    }
}

void GUISoundManager::AddSound(std::uint32_t id, const std::string& fileName)
{
    if (!m_sounds)
        return;
    Sound* sound = m_sounds->CreateSound(fileName);
    sound->SetVolume(m_volume);
    m_voices[id].push_back({sound, 0.0});
}

void GUISoundManager::Play(std::uint32_t id)
{
    if (!m_sounds)
        return;
    const auto found = m_voices.find(id);
    if (found == m_voices.end())
        return;
    const double now = m_timers->m_masterTimer->GetPreciseTime();
    Voice* chosen = nullptr;
    for (Voice& voice : found->second) {
        if (std::fabs(now - voice.startTime) < kRepeatInterval)
            return;
        if (!chosen || voice.startTime < chosen->startTime)
            chosen = &voice;
    }
    m_sounds->m_commands.push_back(new SoundCommand{SoundCommand::Play, chosen->sound});
    chosen->startTime = now;
}

std::vector<Sound*> GUISoundManager::GetSounds(std::uint32_t id) const
{
    std::vector<Sound*> sounds;
    if (const auto found = m_voices.find(id); found != m_voices.end()) {
        for (const Voice& voice : found->second)
            sounds.push_back(voice.sound);
    }
    return sounds;
}

} // namespace KeystrelEngine
