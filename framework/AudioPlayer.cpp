#include "AudioPlayer.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"

#include <algorithm>
#include <cmath>

namespace GameFramework {
namespace {

using KeystrelEngine::Sound;

constexpr double kRepeatGuard = 0.02;   // seconds within which a second play of an id is ignored
constexpr float kSwitchFadeRate = 1.0f; // the track a channel leaves fades out within a second

const char* const kMusicVolume = "g_music_volume";
const char* const kSoundVolume = "g_sound_volume";

// A configuration value that is no number counts as silence.
float ClampVolume(float volume)
{
    if (volume >= 1.0f)
        return 1.0f;
    return volume > 0.0f ? volume : 0.0f;
}

} // namespace

AudioPlayer::AudioPlayer(KeystrelEngine::Config* config, KeystrelEngine::SoundManager* sounds,
                         KeystrelEngine::TimerManager* timers, float defaultMusicVolume, float defaultSoundVolume)
    : m_config(config), m_sounds(sounds), m_timers(timers)
{
    using KeystrelEngine::FileValues;
    m_config->RegisterVariable(kMusicVolume, KeystrelEngine::FormatFloat(defaultMusicVolume, 6),
                               KeystrelEngine::Config::TypeFloat, true, &m_musicVolume, false, FileValues::kUnit);
    m_config->RegisterVariable(kSoundVolume, KeystrelEngine::FormatFloat(defaultSoundVolume, 6),
                               KeystrelEngine::Config::TypeFloat, true, &m_soundVolume, false, FileValues::kUnit);
    SetMusicVolume(m_musicVolume);
    SetSoundVolume(m_soundVolume);
}

AudioPlayer::~AudioPlayer()
{
    for (const auto& voice : m_voices)
        m_sounds->DeleteSound(voice->sound);
    m_voices.clear();
    m_channels.clear();
    m_tracks.clear();
    m_config->UnregisterVariable(kMusicVolume);
    m_config->UnregisterVariable(kSoundVolume);
}

void AudioPlayer::AddSound(std::uint32_t soundId, const std::string& path, std::uint32_t voiceCount, bool loop)
{
    if (!m_sounds)
        return;
    for (std::uint32_t i = 0; i < voiceCount; ++i) {
        Sound* sound = m_sounds->CreateSound(path);
        if (!sound)
            continue;
        sound->SetLoop(loop);
        sound->SetVolume(m_soundVolume);
        m_voices.push_back(std::make_unique<AudioVoice>(AudioVoice{soundId, path, sound, loop, 0.0}));
    }
}

void AudioPlayer::AddMusic(std::uint32_t trackIndex, const std::string& path)
{
    if (!m_sounds)
        return;
    auto track = std::make_unique<MusicTrack>(m_sounds, m_timers, trackIndex, path);
    track->SetVolume(m_musicVolume);
    m_tracks.push_back(std::move(track));
}

// The voice started longest ago plays (the earlier registered on a tie). Every start time qualifies, however
// long the program has run.
void AudioPlayer::PlaySound(std::uint32_t soundId)
{
    const double now = m_timers->m_masterTimer->GetPreciseTime();
    AudioVoice* kept = nullptr;
    for (const auto& voice : m_voices) {
        if (voice->soundId != soundId)
            continue;
        if (std::abs(now - voice->startTime) < kRepeatGuard)
            return;
        if (!kept || voice->startTime < kept->startTime)
            kept = voice.get();
    }
    if (!kept)
        return;
    // A looping effect that plays is not restarted.
    if (!kept->loop || kept->sound->GetState() != Sound::Playing)
        m_sounds->Play(kept->sound, false);
    kept->startTime = now;
}

void AudioPlayer::StopSound(std::uint32_t soundId)
{
    for (const auto& voice : m_voices) {
        if (voice->soundId == soundId)
            m_sounds->m_commands.push_back(
                new KeystrelEngine::SoundCommand{KeystrelEngine::SoundCommand::Stop, voice->sound});
    }
}

int AudioPlayer::GetSoundState(std::uint32_t soundId) const
{
    for (const auto& voice : m_voices) {
        if (voice->soundId == soundId)
            return voice->sound->GetState();
    }
    return Sound::Stopped;
}

void AudioPlayer::PlayMusic(std::uint32_t channel, std::uint32_t trackIndex, float fadeRate)
{
    MusicTrack* track = FindTrack(trackIndex);
    if (!track)
        return;
    const auto found = m_channels.find(channel);
    if (found == m_channels.end()) {
        m_channels.emplace(channel, track);
    } else if (found->second->GetIndex() == trackIndex) {
        track = found->second;
        if (track->GetSoundState() == Sound::Playing && !track->IsFadingOut())
            return;
    } else {
        found->second->FadeOut(MusicTrack::FadingOutToStop, kSwitchFadeRate);
        found->second = track;
    }
    // A track still fading out would be stopped or paused by its fade after this request: it turns back
    // where it is instead, without restarting.
    if (track->GetSoundState() == Sound::Playing && track->IsFadingOut())
        track->TurnBack(true, fadeRate);
    else
        track->Start(true, fadeRate);
}

void AudioPlayer::StopMusic(std::uint32_t channel, float fadeRate)
{
    MusicTrack* track = ChannelTrack(channel);
    if (!track)
        return;
    const int state = track->GetSoundState();
    if (state == Sound::Paused)
        track->GetSound()->Stop();
    else if (state == Sound::Playing)
        track->FadeOut(MusicTrack::FadingOutToStop, fadeRate);
}

void AudioPlayer::StopAllMusic(float fadeRate)
{
    for (const auto& [channel, track] : m_channels)
        StopMusic(channel, fadeRate);
}

void AudioPlayer::PauseMusic(std::uint32_t channel, bool pause, bool fade, float fadeRate)
{
    if (MusicTrack* track = ChannelTrack(channel))
        PauseTrack(*track, pause, fade, fadeRate);
}

// A pause takes every track, also one that a channel has left and that fades out on no channel, which a pause at
// once stops; a resume takes the channels' tracks only.
void AudioPlayer::PauseAllMusic(bool pause, bool fade, float fadeRate)
{
    if (pause) {
        for (const auto& track : m_tracks)
            PauseTrack(*track, true, fade, fadeRate);
        return;
    }
    for (const auto& [channel, track] : m_channels)
        PauseTrack(*track, false, fade, fadeRate);
}

void AudioPlayer::PauseTrack(MusicTrack& track, bool pause, bool fade, float fadeRate)
{
    const int state = track.GetSoundState();
    const bool stopping = track.GetState() == MusicTrack::FadingOutToStop;
    if (pause && state == Sound::Playing) {
        if (fade && !stopping)
            track.FadeOut(MusicTrack::FadingOutToPause, fadeRate);
        else if (!fade)
            stopping ? track.GetSound()->Stop() : track.GetSound()->Pause();
    } else if (!pause && state == Sound::Paused) {
        track.Start(fade, fadeRate);
    } else if (!pause && state == Sound::Playing && track.GetState() == MusicTrack::FadingOutToPause) {
        track.TurnBack(fade, fadeRate);
    }
}

// Their owners restart them once they run again.
void AudioPlayer::StopLoopingSounds()
{
    for (const auto& voice : m_voices) {
        if (voice->loop && voice->sound->GetState() == Sound::Playing)
            voice->sound->Stop();
    }
}

int AudioPlayer::GetMusicState(std::uint32_t channel) const
{
    const MusicTrack* track = ChannelTrack(channel);
    return track ? track->GetSoundState() : Sound::Stopped;
}

void AudioPlayer::SetMusicVolume(float volume)
{
    if (!m_sounds)
        return;
    m_musicVolume = ClampVolume(volume);
    for (const auto& track : m_tracks)
        track->SetVolume(m_musicVolume);
}

// Every sound of the sound manager but the music, the GUI's sounds included.
void AudioPlayer::SetSoundVolume(float volume)
{
    if (!m_sounds)
        return;
    m_soundVolume = ClampVolume(volume);
    m_sounds->GetSounds().ForEachUsed([this](Sound* sound) {
        if (!IsMusic(sound))
            sound->SetVolume(m_soundVolume);
    });
}

float AudioPlayer::GetDefaultMusicVolume() const
{
    return KeystrelEngine::ToFloat(m_config->GetDefaultValue(kMusicVolume));
}

float AudioPlayer::GetDefaultSoundVolume() const
{
    return KeystrelEngine::ToFloat(m_config->GetDefaultValue(kSoundVolume));
}

void AudioPlayer::Update()
{
    for (const auto& track : m_tracks)
        track->Step();
}

MusicTrack* AudioPlayer::FindTrack(std::uint32_t trackIndex) const
{
    const auto found = std::find_if(m_tracks.begin(), m_tracks.end(),
                                    [trackIndex](const auto& track) { return track->GetIndex() == trackIndex; });
    return found == m_tracks.end() ? nullptr : found->get();
}

MusicTrack* AudioPlayer::ChannelTrack(std::uint32_t channel) const
{
    const auto found = m_channels.find(channel);
    return found == m_channels.end() ? nullptr : found->second;
}

bool AudioPlayer::IsMusic(const Sound* sound) const
{
    return std::any_of(m_tracks.begin(), m_tracks.end(),
                       [sound](const auto& track) { return track->GetSound() == sound; });
}

} // namespace GameFramework
