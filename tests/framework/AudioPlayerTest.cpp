#include "framework/AudioPlayer.h"

#include "engine/foundation/Timer.h"
#include "engine/sound/Sound.h"
#include "tests/framework/PlayerFixture.h"
#include "tools/formats/SoundWriters.h"

#include <algorithm>

using GameFramework::AudioPlayer;
using KeystrelEngine::Sound;
using KeystrelEngine::SoundCommand;

namespace {

// The player over the test bed's sound manager, with the effect and music files it plays.
class AudioPlayerTest : public FrameworkTesting::PlayerFixture
{
protected:
    AudioPlayerTest()
    {
        for (const char* name : {"click", "music0", "music1"}) {
            TestSupport::WriteFile(TestSupport::BaseFolder() + "/data/audio/" + name + ".wav",
                                   Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(4000, 1)));
        }
    }

    // The player with music tracks 0 and 1, whose sounds are the manager's first two.
    void MakePlayer(KeystrelEngine::SoundManager* manager)
    {
        player = std::make_unique<AudioPlayer>(&services.config, manager, &timers, 1.0f, 1.0f);
        player->AddMusic(0, "audio\\music0.wav");
        player->AddMusic(1, "audio\\music1.wav");
    }
    void MakePlayer() { MakePlayer(sounds.get()); }
    Sound* Music(std::uint32_t track) const { return sounds->GetSounds().GetSlots()[track]; }

    // Frames of 0.1 s, each ending with the player's update.
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            PlatformTesting::AdvanceFakeClock(0.1);
            timers.Update();
            player->Update();
        }
    }

    // The queued commands as (kind, index of the sound among the player's voices).
    std::vector<std::pair<std::uint32_t, int>> Queued() const
    {
        std::vector<std::pair<std::uint32_t, int>> queued;
        const auto& voices = player->GetVoices();
        for (const SoundCommand* command : sounds->m_commands) {
            const auto voice =
                std::find_if(voices.begin(), voices.end(), [&](const auto& v) { return v->sound == command->sound; });
            queued.emplace_back(command->kind, static_cast<int>(voice - voices.begin()));
        }
        return queued;
    }
};

using Commands = std::vector<std::pair<std::uint32_t, int>>;

TEST_F(AudioPlayerTest, EffectsPlayTheirVoicesInTurnThroughTheQueue)
{
    MakePlayer();
    player->AddSound(7, "audio\\click.wav", 3, false);
    player->AddSound(8, "audio\\click.wav", 1, true);
    EXPECT_EQ(player->GetSoundState(9), Sound::Stopped);
    Frames(1);

    // A second play within 0.02 s is ignored and moves no start time.
    player->PlaySound(7);
    const double started = player->GetVoices()[0]->startTime;
    PlatformTesting::AdvanceFakeClock(0.01);
    player->PlaySound(7);
    EXPECT_EQ(Queued(), (Commands{{SoundCommand::Play, 0}}));
    EXPECT_EQ(player->GetVoices()[0]->startTime, started);
    EXPECT_EQ(player->GetVoices()[1]->startTime, 0.0);

    for (int i = 0; i < 3; ++i) {
        Frames(1);
        player->PlaySound(7);
    }
    EXPECT_EQ(Queued(), (Commands{{0, 0}, {0, 1}, {0, 2}, {0, 0}}));
    sounds->Update(true);
    EXPECT_EQ(player->GetSoundState(7), Sound::Playing);

    // A looping effect that plays is left playing; only its start time moves.
    player->PlaySound(8);
    sounds->Update(true);
    Frames(1);
    player->PlaySound(8);
    EXPECT_TRUE(Queued().empty());
    EXPECT_DOUBLE_EQ(player->GetVoices()[3]->startTime, timers.m_masterTimer->GetPreciseTime());

    player->StopSound(7);
    EXPECT_EQ(Queued(), (Commands{{SoundCommand::Stop, 0}, {2, 1}, {2, 2}}));
    sounds->Update(true);
    EXPECT_EQ(player->GetSoundState(7), Sound::Stopped);

    // After more than 100,000 s of running the voices still take turns.
    PlatformTesting::AdvanceFakeClock(100'001.0);
    for (int play = 0; play < 5; ++play) {
        player->PlaySound(7);
        PlatformTesting::AdvanceFakeClock(0.5);
    }
    EXPECT_EQ(Queued(), (Commands{{0, 1}, {0, 2}, {0, 0}, {0, 1}, {0, 2}}));
    EXPECT_DOUBLE_EQ(player->GetVoices()[0]->startTime, timers.m_masterTimer->GetPreciseTime() - 1.5);
}

TEST_F(AudioPlayerTest, MusicRestartsOnlyWhatDoesNotPlayAndSwitchesWithFades)
{
    MakePlayer();
    Sound* music = Music(0);
    player->PlayMusic(0, 0, 0.5);
    EXPECT_EQ(music->GetVolume(), 0.0f);
    Frames(25);
    EXPECT_EQ(music->GetVolume(), 1.0f);

    player->PlayMusic(0, 0, 0.5);
    EXPECT_EQ(music->GetVolume(), 1.0f);

    player->PauseMusic(0, true, false, 0.0f);
    EXPECT_EQ(player->GetMusicState(0), Sound::Paused);
    player->PlayMusic(0, 0, 0.5);
    EXPECT_EQ(player->GetMusicState(0), Sound::Playing);
    EXPECT_EQ(music->GetVolume(), 0.0f);

    Frames(5);
    music->Stop();
    player->PlayMusic(0, 0, 0.5);
    EXPECT_EQ(music->GetVolume(), 0.0f);

    // Switching tracks: the old one fades out within a second and stops.
    Frames(20);
    player->PlayMusic(0, 1, 0.5f);
    Frames(10);
    EXPECT_EQ(Music(0)->GetVolume(), 0.0f);
    EXPECT_EQ(Music(0)->GetState(), Sound::Stopped);
    EXPECT_NEAR(Music(1)->GetVolume(), 0.5f, 1e-5);
    Frames(10);
    EXPECT_EQ(Music(1)->GetVolume(), 1.0f);
    EXPECT_EQ(player->GetMusicState(0), Sound::Playing);
}

TEST_F(AudioPlayerTest, APlayOrResumeDuringAFadeOutTurnsTheTrackBackWhereItIs)
{
    MakePlayer();
    player->PlayMusic(0, 0, 10.0f);
    Frames(1);
    player->StopAllMusic(1.0f); // a level left at once: the menu track asked for again must outlive the stop
    Frames(3);
    player->PlayMusic(0, 0, 10.0f);
    EXPECT_NEAR(Music(0)->GetVolume(), 0.7f, 1e-5) << "on from where the fade was";
    player->PauseMusic(0, true, true, 1.0f);
    Frames(5);
    player->PauseMusic(0, false, false, 0.0f);
    Frames(20);
    EXPECT_EQ(Music(0)->GetVolume(), 1.0f) << "neither stopped nor paused by the fades";
}

TEST_F(AudioPlayerTest, PausingAndResumingEveryChannel)
{
    MakePlayer();
    player->PlayMusic(0, 0, 10.0f);
    player->PlayMusic(1, 1, 10.0f);
    Frames(1);
    player->StopMusic(1, 0.5f);
    Frames(1);
    EXPECT_EQ(player->GetMusicState(1), Sound::Playing);

    player->PauseAllMusic(true, false, 0.0f);
    EXPECT_EQ(player->GetMusicState(0), Sound::Paused);
    EXPECT_EQ(player->GetMusicState(1), Sound::Stopped);

    player->PauseAllMusic(false, true, 0.5f);
    EXPECT_EQ(player->GetMusicState(0), Sound::Playing);
    EXPECT_EQ(player->GetMusicState(1), Sound::Stopped);
    EXPECT_EQ(Music(0)->GetVolume(), 0.0f);
    Frames(10);
    EXPECT_NEAR(Music(0)->GetVolume(), 0.5f, 1e-5);

    // Fading out to a pause, and a stop of a channel that does not exist.
    player->PauseMusic(0, true, true, 10.0f);
    player->StopMusic(7, 1.0f);
    Frames(1);
    EXPECT_EQ(player->GetMusicState(0), Sound::Paused);
    EXPECT_EQ(player->GetMusicState(7), Sound::Stopped);
    player->StopMusic(0, 1.0f);
    EXPECT_EQ(player->GetMusicState(0), Sound::Stopped);
}

TEST_F(AudioPlayerTest, VolumesAreSavedSettingsThatReachEverySound)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/Quellhaven.ini", "g_sound_volume 0.250000\n");
    services.config.Load();
    MakePlayer();
    EXPECT_EQ(services.config.GetDefaultValue("g_music_volume"), "1.000000");
    EXPECT_EQ(services.config.GetDefaultValue("g_sound_volume"), "1.000000");
    EXPECT_EQ(player->GetDefaultSoundVolume(), 1.0f);
    EXPECT_EQ(player->GetMusicVolume(), 1.0f);
    EXPECT_EQ(player->GetSoundVolume(), 0.25f);

    player->AddSound(1, "audio\\click.wav", 1, false);
    Sound* gui = sounds->CreateSound("audio\\click.wav"); // as the GUI's sounds are made
    EXPECT_EQ(player->GetVoices()[0]->sound->GetVolume(), 0.25f);

    player->SetSoundVolume(-0.2f);
    EXPECT_EQ(player->GetSoundVolume(), 0.0f);
    EXPECT_EQ(gui->GetVolume(), 0.0f);
    EXPECT_EQ(player->GetVoices()[0]->sound->GetVolume(), 0.0f);
    EXPECT_EQ(Music(0)->GetVolume(), 1.0f);

    player->SetMusicVolume(1.7f);
    EXPECT_EQ(player->GetMusicVolume(), 1.0f);
    player->SetMusicVolume(0.5f);
    EXPECT_EQ(Music(0)->GetVolume(), 0.5f);

    player.reset();
    services.config.Save();
    const std::string saved = services.ConfigFile();
    EXPECT_NE(saved.find("g_music_volume 0.500000"), std::string::npos);
    EXPECT_NE(saved.find("g_sound_volume 0.000000"), std::string::npos);
}

TEST_F(AudioPlayerTest, WithoutASoundManagerNothingHappens)
{
    MakePlayer(nullptr);
    player->AddSound(1, "audio\\click.wav", 2, false);
    player->PlaySound(1);
    player->PlayMusic(0, 0, 1.0f);
    player->SetMusicVolume(0.3f);
    player->SetSoundVolume(0.3f);
    Frames(1);
    EXPECT_TRUE(player->GetVoices().empty());
    EXPECT_EQ(player->GetMusicVolume(), 1.0f);
    EXPECT_EQ(player->GetSoundVolume(), 1.0f);
    EXPECT_EQ(player->GetSoundState(1), Sound::Stopped);
    EXPECT_EQ(player->GetMusicState(0), Sound::Stopped);
    EXPECT_TRUE(sounds->m_commands.empty());
}

} // namespace
