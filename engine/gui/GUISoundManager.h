// The widgets' feedback sounds by GUI sound id. Each file registered under an id is one voice; a play takes the
// voice started longest ago, so several voices of one id alternate, and an id none of whose voices started in the
// last hundredth of a second. Plays go to the sound manager's queue and sound at its next update.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Sound;
class SoundManager;
class TimerManager;

class GUISoundManager
{
public:
    // Two plays of an id closer than this give one sound.
    static constexpr double kRepeatInterval = 0.01;

    // Without a sound manager nothing is registered or played.
    GUISoundManager(TimerManager* timers, SoundManager* sounds);
    // Gives every voice's sound back to the sound manager.
    virtual ~GUISoundManager();

    GUISoundManager(const GUISoundManager&) = delete;
    GUISoundManager& operator=(const GUISoundManager&) = delete;

    // A new voice of the id at the GUI volume; the sound manager's errors reach the caller and add no voice.
    void AddSound(std::uint32_t id, const std::string& fileName);
    // Queues a play of the id's least recently started voice; nothing for an id without voices or within the
    // repeat interval of any of its voices.
    void Play(std::uint32_t id);

    // The sounds of the id's voices in order of registration.
    std::vector<Sound*> GetSounds(std::uint32_t id) const;

private:
    struct Voice
    {
        Sound* sound = nullptr;
        double startTime = 0.0; // master timer seconds, 0 before the first play; double keeps the interval after
                                // days of running
    };

    TimerManager* m_timers;
    SoundManager* m_sounds;
    std::map<std::uint32_t, std::vector<Voice>> m_voices;
    float m_volume = 1.0f;
};

} // namespace KeystrelEngine
