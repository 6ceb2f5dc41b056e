// One music track of the audio player: a looping engine sound played at the track's volume times its fade
// factor, which the per-frame fade step moves toward full or toward silence.
#pragma once

#include <cstdint>
#include <string>

namespace KeystrelEngine {
class Sound;
class SoundManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameFramework {

class MusicTrack
{
public:
    enum State : std::uint32_t
    {
        Steady = 0,
        FadingIn = 1,
        FadingOutToPause = 3,
        FadingOutToStop = 4
    };

    // When the sound manager refuses the file, the track has no sound.
    MusicTrack(KeystrelEngine::SoundManager* sounds, KeystrelEngine::TimerManager* timers, std::uint32_t index,
               const std::string& path);
    // Deletes the sound through the sound manager.
    ~MusicTrack();

    MusicTrack(const MusicTrack&) = delete;
    MusicTrack& operator=(const MusicTrack&) = delete;

    // Plays the sound at once from silence, fading in at the rate, or at once at full fade.
    void Start(bool fadeIn, float fadeRate);
    void FadeOut(State then, float fadeRate);
    // Turns a fade-out back while the sound plays on unbroken: fading in at the rate from the present fade
    // factor, or at once to full fade.
    void TurnBack(bool fadeIn, float fadeRate);
    // Once per frame, by the frame time.
    void Step();
    void SetVolume(float volume);
    // Playing, paused or stopped; stopped for a track without a sound.
    int GetSoundState() const;

    KeystrelEngine::Sound* GetSound() const { return m_sound; }
    std::uint32_t GetIndex() const { return m_index; }
    State GetState() const { return m_state; }
    bool IsFadingOut() const { return m_state == FadingOutToPause || m_state == FadingOutToStop; }
    float GetFade() const { return m_fade; }

private:
    void ApplyVolume();

    KeystrelEngine::SoundManager* m_sounds;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::Sound* m_sound = nullptr;
    std::uint32_t m_index;
    float m_fade = 1.0f;
    float m_volume = 1.0f;
    State m_state = Steady;
    float m_fadeRate = 0.0f; // per second
};

} // namespace GameFramework
