// The game's sound and music player above the engine's sound manager. Effects are registered under small sound
// ids, each with a fixed number of voices so that an effect can overlap itself, and are played through the sound
// manager's command queue; music tracks are registered under track indices and played at once on numbered
// channels (the menus on 0, the levels on 1), switching with fades. The player owns the two volume settings
// "g_music_volume" and "g_sound_volume".
//
// Without a sound manager every operation does nothing and both state queries answer stopped.
#pragma once

#include "MusicTrack.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {
class Config;
class Sound;
class SoundManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameFramework {

// One voice of an effect.
struct AudioVoice
{
    std::uint32_t soundId = 0;
    std::string path;
    KeystrelEngine::Sound* sound = nullptr; // owned through the sound manager
    bool loop = false;
    double startTime = 0.0; // the master timer's seconds at the last start; double keeps it exact after days
};

class AudioPlayer
{
public:
    AudioPlayer(KeystrelEngine::Config* config, KeystrelEngine::SoundManager* sounds,
                KeystrelEngine::TimerManager* timers, float defaultMusicVolume, float defaultSoundVolume);
    // Deletes every sound it made and unregisters the volumes, whose last values the configuration keeps.
    ~AudioPlayer();

    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    void AddSound(std::uint32_t soundId, const std::string& path, std::uint32_t voiceCount, bool loop);
    void AddMusic(std::uint32_t trackIndex, const std::string& path);

    // Queues a play of the id's voice started longest ago, unless a voice of the id started less than 0.02 s ago.
    void PlaySound(std::uint32_t soundId);
    // Queues a stop for every voice of the id.
    void StopSound(std::uint32_t soundId);
    // The state of the id's first voice; stopped when the id has none.
    int GetSoundState(std::uint32_t soundId) const;

    void PlayMusic(std::uint32_t channel, std::uint32_t trackIndex, float fadeRate);
    void StopMusic(std::uint32_t channel, float fadeRate);
    void StopAllMusic(float fadeRate);
    void PauseMusic(std::uint32_t channel, bool pause, bool fade, float fadeRate);
    // Pausing takes every track that sounds, on a channel or fading out on none; resuming the channels' tracks.
    void PauseAllMusic(bool pause, bool fade, float fadeRate);
    // Stops at once every looping effect that plays: a loop sounds on until its owner stops it.
    void StopLoopingSounds();
    // Playing or paused; stopped also for an unknown channel and a track without a sound.
    int GetMusicState(std::uint32_t channel) const;
    // The track the channel was last given; none before its first play.
    const MusicTrack* GetChannelTrack(std::uint32_t channel) const { return ChannelTrack(channel); }

    // Both clamp to 0..1.
    void SetMusicVolume(float volume);
    void SetSoundVolume(float volume);
    float GetMusicVolume() const { return m_musicVolume; }
    float GetSoundVolume() const { return m_soundVolume; }
    float GetDefaultMusicVolume() const;
    float GetDefaultSoundVolume() const;

    // Once per frame: every track's fade step, in registration order.
    void Update();

    const std::vector<std::unique_ptr<AudioVoice>>& GetVoices() const { return m_voices; }

private:
    MusicTrack* FindTrack(std::uint32_t trackIndex) const;
    MusicTrack* ChannelTrack(std::uint32_t channel) const;
    void PauseTrack(MusicTrack& track, bool pause, bool fade, float fadeRate);
    bool IsMusic(const KeystrelEngine::Sound* sound) const;

    KeystrelEngine::Config* m_config;
    KeystrelEngine::SoundManager* m_sounds;
    KeystrelEngine::TimerManager* m_timers;
    std::vector<std::unique_ptr<AudioVoice>> m_voices;
    std::vector<std::unique_ptr<MusicTrack>> m_tracks;
    float m_musicVolume = 1.0f; // bound to "g_music_volume"
    float m_soundVolume = 1.0f; // bound to "g_sound_volume"
    std::map<std::uint32_t, MusicTrack*> m_channels;
};

} // namespace GameFramework
