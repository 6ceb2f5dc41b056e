// The game base's frame on the recording device and the fake clock: the focus pause during a level and outside
// one, silent while it lasts, the setting that turns it off, the two-step window-mode change, the render-system reset
// with the music paused around it, the three result passes and the place of the level's logic among the window updates.
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/Window.h"
#include "engine/render/RenderSystem.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "tests/framework/ShellGame.h"
#include "tools/formats/SoundWriters.h"

using namespace GameFramework;
using FrameworkTesting::TestGame;
using KeystrelEngine::Config;
using KeystrelEngine::Sound;
using PlatformTesting::DDrawCall;
using Entries = std::vector<std::string>;

namespace {

class GameBaseFrameTest : public FrameworkTesting::ShellFixture
{
protected:
    // A level running with music: the game window has the focus, music track 0 plays.
    void PlayLevel()
    {
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/audio/music0.wav",
                               Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(4000, 1)));
        game->m_audioPlayer->AddMusic(0, "audio\\music0.wav");
        Ready();
        StartLevel({0, 0});
        game->m_audioPlayer->PlayMusic(0, 0, 0.0f);
        Focus(true);
        Frame();
        ASSERT_TRUE(game->m_window->HasFocus());
        ASSERT_EQ(MusicState(), Sound::Playing);
    }

    // The window manager takes the focus, or restores the window (which minimises itself without the focus) and
    // gives the focus back; the program hears of it with its next messages.
    void Focus(bool focus)
    {
        using PlatformTesting::WindowEvent;
        DrainMessages();
        if (focus)
            PlatformTesting::InjectWindowEvent(game->m_window->m_handle, WindowEvent::Restored);
        PlatformTesting::InjectWindowEvent(game->m_window->m_handle,
                                           focus ? WindowEvent::FocusGained : WindowEvent::FocusLost);
        DrainMessages();
    }

    static void DrainMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }

    // One frame after a tenth of a second; the journal then holds what the frame did.
    void Frame()
    {
        PlatformTesting::AdvanceFakeClock(0.1);
        journal.entries.clear();
        game->watch = true;
        game->Frame();
        game->watch = false;
    }

    int MusicState() const { return game->m_audioPlayer->GetMusicState(0); }
    Sound& Music() const { return *game->m_soundManager->GetSounds().GetSlots()[0]; }
    KeystrelEngine::Timer& LevelTimer() const { return *game->m_gameLogic->GetTimer(); }
};

TEST_F(GameBaseFrameTest, FocusLostDuringALevelPausesItBehindThePauseWindowAndIdles)
{
    PlayLevel();
    Focus(false);
    Frame();
    EXPECT_EQ(journal.Starting("dispatch").size(), 3u) << "one full frame";
    EXPECT_EQ(journal.Starting("open"), Entries{"open GameLogicPauseWindow"});
    EXPECT_EQ(game->m_gameLogic->GetState(), GameLogicBase::LevelPaused);
    EXPECT_FALSE(game->m_gameLogicWindow->m_active);
    EXPECT_EQ(MusicState(), Sound::Paused) << "at once";

    // Then each frame only keeps the window, the timers and the sound alive, and sleeps 100 ms.
    for (int i = 0; i < 3; ++i) {
        const std::size_t scenes = PlatformTesting::CountCalls(DDrawCall::BeginScene);
        const DWORD before = timeGetTime();
        journal.entries.clear();
        game->watch = true;
        game->Frame();
        EXPECT_EQ(timeGetTime() - before, 100u);
        EXPECT_TRUE(journal.entries.empty()) << "no dispatch";
        EXPECT_EQ(PlatformTesting::CountCalls(DDrawCall::BeginScene), scenes) << "no drawing";
    }
    EXPECT_EQ(MusicState(), Sound::Paused);

    // Back: the music fades in at 0.5 a second, the level stays paused behind its window.
    Focus(true);
    Frame();
    EXPECT_EQ(journal.Starting("dispatch").size(), 3u);
    EXPECT_EQ(MusicState(), Sound::Playing);
    const float musicVolume = game->m_audioPlayer->GetMusicVolume();
    EXPECT_NEAR(Music().GetVolume(), musicVolume * 0.05f, 1e-4f) << "0.5 times the frame's 0.1 s";
    Frame();
    EXPECT_NEAR(Music().GetVolume(), musicVolume * 0.1f, 1e-4f);
    EXPECT_EQ(game->m_gameLogic->GetState(), GameLogicBase::LevelPaused);
    EXPECT_TRUE(LevelTimer().IsPaused());
    EXPECT_EQ(journal.Starting("open"), Entries{}) << "no second pause window";
}

// A level track that its channel has just left fades out on no channel, and a looping effect plays, when the focus
// goes a frame later: the mixer's output stays silent through 5 s without the focus.
TEST_F(GameBaseFrameTest, NothingOfTheMusicNorALoopingEffectIsHeardWhileTheGameWaitsWithoutFocus)
{
    PlayLevel();
    AudioPlayer& audio = *game->m_audioPlayer;
    for (const std::uint32_t n : {1u, 2u}) {
        const std::string name = "music" + std::to_string(n) + ".wav";
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/audio/" + name,
                               Formats::MakeWav(1, 16, 22050, Formats::SoundBytes(4000, 1)));
        audio.AddMusic(n, "audio\\" + name);
    }
    audio.AddSound(3, "audio\\music0.wav", 1, true);
    audio.PlayMusic(1, 1, 10.0f);
    audio.PlaySound(3);
    Frame();
    Frame();
    DWORD rendered = timeGetTime();
    audio.PlayMusic(1, 2, 0.5f);
    Frame();
    const auto loudest = [&] {
        std::vector<std::int16_t> output(2 * static_cast<std::size_t>(timeGetTime() - rendered) * 22050 / 1000);
        rendered = timeGetTime();
        PlatformTesting::RenderSoundOutput(output.data(), static_cast<std::uint32_t>(output.size() / 2));
        int peak = 0;
        for (const std::int16_t sample : output)
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        return peak;
    };
    ASSERT_GT(loudest(), 0) << "heard with the focus";

    Focus(false);
    const DWORD lost = timeGetTime();
    while (timeGetTime() - lost < 5000) {
        Frame();
        EXPECT_EQ(loudest(), 0) << timeGetTime() - lost << " ms without the focus";
    }
    Focus(true);
    Frame();
    EXPECT_EQ(audio.GetMusicState(1), Sound::Playing) << "the channel's track fades in again";
    EXPECT_EQ(audio.GetChannelTrack(1)->GetIndex(), 2u);
}

TEST_F(GameBaseFrameTest, FocusLostOverAPausedLevelKeepsItsTimersStateAndOpensNothing)
{
    PlayLevel();
    game->m_gameLogic->SetState(GameLogicBase::LevelPaused);
    for (const bool timerPaused : {false, true}) {
        LevelTimer().Pause(timerPaused);
        Focus(false);
        Frame();
        EXPECT_TRUE(journal.entries.empty()) << "no full frame";
        EXPECT_TRUE(LevelTimer().IsPaused());
        EXPECT_EQ(MusicState(), Sound::Paused);
        Frame();
        Focus(true);
        Frame();
        EXPECT_TRUE(journal.Starting("open").empty());
        EXPECT_EQ(LevelTimer().IsPaused(), timerPaused);
        EXPECT_EQ(game->m_gameLogic->GetState(), GameLogicBase::LevelPaused);
    }
}

TEST_F(GameBaseFrameTest, WithoutMinimiseOnFocusLossTheGameRunsOn)
{
    PlayLevel();
    game->m_window->m_minimiseWhenInactive = false;
    Focus(false);
    ASSERT_FALSE(game->m_window->HasFocus());
    for (int i = 0; i < 2; ++i) {
        Frame();
        EXPECT_EQ(journal.Starting("dispatch").size(), 3u);
        EXPECT_TRUE(journal.Starting("open").empty());
    }
    EXPECT_EQ(game->m_gameLogic->GetState(), GameLogicBase::LevelPlaying);
    EXPECT_EQ(MusicState(), Sound::Playing);
    EXPECT_FALSE(game->m_pausedByFocus);
}

TEST_F(GameBaseFrameTest, AFrameDispatchesThreeTimesBeforeTheUpdatesAndTheLogicRunsAmongTheWindows)
{
    PlayLevel();
    Frame();
    EXPECT_EQ(journal.entries, (Entries{"dispatch", "clear", "dispatch", "clear", "dispatch", "clear"}));

    // The level's logic sees the game-exit window updated and the level-complete window not yet.
    TestGame::As<FrameworkTesting::GameLogicGameExitWindow>(game->m_gameLogicGameExitWindow).script = {77};
    TestGame::As<FrameworkTesting::LevelCompleteWindow>(game->m_levelCompleteWindow).script = {78};
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    game->Logic().onUpdate = [&] {
        seen.emplace_back(game->m_gameLogicGameExitWindow->m_result, game->m_levelCompleteWindow->m_result);
    };
    game->ClearWindowResults();
    game->UpdateWindows();
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{77, 0}}));
    EXPECT_EQ(game->m_levelCompleteWindow->m_result, 78u);

    // Clearing also forgets the level's change.
    game->m_gameLogic->SetState(GameLogicBase::LevelWon);
    game->ClearWindowResults();
    EXPECT_FALSE(game->m_gameLogic->IsChanged());
    EXPECT_EQ(game->m_levelCompleteWindow->m_result, 0u);
}

TEST_F(GameBaseFrameTest, WindowModeChangeChecksTheModeInTheThirdFrameOnce)
{
    PlayLevel();
    Config& config = *game->m_config;
    config.SetValue("v_mode", "640x480x32");
    config.SetCommandState("v_window_change_mode", Config::kCommandRaised);
    std::vector<Entries> resets;
    for (int frame = 0; frame < 5; ++frame) {
        Frame();
        resets.push_back(journal.Starting("ResetRenderSystem"));
        if (frame == 0) {
            EXPECT_EQ(config.GetCommandState("v_window_change_mode"), Config::kCommandRaised);
        } else if (frame == 1) {
            EXPECT_EQ(config.GetCommandState("v_window_change_mode"), Config::kCommandIdle);
            EXPECT_EQ(config.GetCommandState("g_update_video_mode"), Config::kCommandRaised);
        }
    }
    EXPECT_EQ(resets, (std::vector<Entries>{{}, {}, {"ResetRenderSystem"}, {}, {}}));
    EXPECT_EQ(config.GetCommandState("g_update_video_mode"), Config::kCommandIdle);
    EXPECT_FALSE(game->m_renderSystem->IsModeChangePending());
}

TEST_F(GameBaseFrameTest, APendingResetPausesTheMusicAroundItAndBlocksTheInput)
{
    PlayLevel();
    std::vector<int> musicAtReset;
    game->onReset = [&] { musicAtReset.push_back(MusicState()); };
    // A key held through the reset keeps the input blocked after the frame's input update.
    PlatformTesting::InjectKey(SDL_SCANCODE_A, true);
    Frame();
    ASSERT_FALSE(game->m_controls->m_inputLock) << "a held key alone blocks nothing";
    game->m_config->SetValue("v_mode", "640x480x32");
    game->m_config->SetCommandState("g_update_video_mode", Config::kCommandRaised);
    Frame();
    EXPECT_EQ(musicAtReset, std::vector<int>{Sound::Paused});
    EXPECT_EQ(MusicState(), Sound::Playing);
    EXPECT_NEAR(Music().GetVolume(), game->m_audioPlayer->GetMusicVolume() * 0.05f, 1e-4f) << "fading in";
    EXPECT_TRUE(game->m_controls->m_inputLock);
    PlatformTesting::InjectKey(SDL_SCANCODE_A, false);
    Frame();
    EXPECT_FALSE(game->m_controls->m_inputLock) << "free once no key is held";

    // Without music the reset runs all the same.
    game->m_audioPlayer->StopAllMusic(0.0f);
    game->m_config->SetValue("v_mode", "800x600x32");
    game->m_config->SetCommandState("g_update_video_mode", Config::kCommandRaised);
    Frame();
    EXPECT_EQ(journal.Starting("ResetRenderSystem").size(), 1u);
}

} // namespace
