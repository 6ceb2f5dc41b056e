#include "MusicTrack.h"

#include "engine/foundation/TimerManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"

namespace GameFramework {

MusicTrack::MusicTrack(KeystrelEngine::SoundManager* sounds, KeystrelEngine::TimerManager* timers, std::uint32_t index,
                       const std::string& path)
    : m_sounds(sounds), m_timers(timers), m_index(index)
{
    m_sound = m_sounds->CreateSound(path);
    if (m_sound)
        m_sound->SetLoop(true);
}

MusicTrack::~MusicTrack()
{
    m_sounds->DeleteSound(m_sound);
}

void MusicTrack::Start(bool fadeIn, float fadeRate)
{
    m_fade = fadeIn ? 0.0f : 1.0f;
    ApplyVolume();
    m_state = Steady;
    m_sounds->Play(m_sound, true);
    if (fadeIn) {
        m_state = FadingIn;
        m_fadeRate = fadeRate;
    }
}

void MusicTrack::FadeOut(State then, float fadeRate)
{
    m_state = then;
    m_fadeRate = fadeRate;
}

void MusicTrack::TurnBack(bool fadeIn, float fadeRate)
{
    m_state = fadeIn ? FadingIn : Steady;
    m_fadeRate = fadeRate;
    if (!fadeIn) {
        m_fade = 1.0f;
        ApplyVolume();
    }
}

void MusicTrack::Step()
{
    const float step = m_fadeRate * m_timers->m_frameTime;
    if (m_state == FadingIn) {
        m_fade += step;
        if (m_fade >= 1.0f) {
            m_fade = 1.0f;
            m_state = Steady;
        }
    } else if (IsFadingOut()) {
        m_fade -= step;
        if (m_fade < 0.0f) {
            if (m_sound)
                m_state == FadingOutToStop ? m_sound->Stop() : m_sound->Pause();
            m_fade = 0.0f;
            m_state = Steady;
        }
    }
    ApplyVolume();
}

void MusicTrack::SetVolume(float volume)
{
    m_volume = volume;
    ApplyVolume();
}

int MusicTrack::GetSoundState() const
{
    return m_sound ? m_sound->GetState() : KeystrelEngine::Sound::Stopped;
}

void MusicTrack::ApplyVolume()
{
    if (m_sound)
        m_sound->SetVolume(m_volume * m_fade);
}

} // namespace GameFramework
