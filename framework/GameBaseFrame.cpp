// The game base's frame: the focus pause, the video-mode change in two steps, the three result passes and the
// window updates.
#include "GameBase.h"

#include "AudioPlayer.h"
#include "GUIContinueGameLogicWindowBase.h"
#include "GUIDeleteProfileWindowBase.h"
#include "GUIExitWindowBase.h"
#include "GUIGameCompleteWindowBase.h"
#include "GUIGameCursorBase.h"
#include "GUIGameLogicGameExitWindowBase.h"
#include "GUIGameLogicMenuExitWindowBase.h"
#include "GUIGameLogicMenuWindowBase.h"
#include "GUIGameLogicPauseWindowBase.h"
#include "GUIGameLogicWindowBase.h"
#include "GUIGameOverWindowBase.h"
#include "GUIHelpWindowBase.h"
#include "GUIHighScoresWindowBase.h"
#include "GUILevelCompleteWindowBase.h"
#include "GUILoadingWindowBase.h"
#include "GUILogosWindowBase.h"
#include "GUIMainMenuWindowBase.h"
#include "GUINewProfileWindowBase.h"
#include "GUIOptionsWindowBase.h"
#include "GUIProfileNameConflictWindowBase.h"
#include "GUIProfilesWindowBase.h"
#include "GUIRenameProfileWindowBase.h"
#include "GUIStageCompleteWindowBase.h"
#include "GUIStartGameLogicWindowBase.h"
#include "GUIWelcomeWindowBase.h"
#include "GameLogicBase.h"
#include "WindowRequest.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/render/RenderSystem.h"
#include "engine/sound/SoundManager.h"

namespace GameFramework {
namespace {

constexpr float kMusicFadeRate = 0.5f;
constexpr DWORD kIdleMilliseconds = 100;
constexpr std::uint32_t kResultPasses = 3;
// Frame ends that see a window-mode request before the video mode is updated: the windows get one full update
// with the request pending.
constexpr std::uint32_t kWindowChangeFrames = 2;

template <class Window> void UpdateWindow(const std::unique_ptr<Window>& window)
{
    if (window)
        window->Update();
}

template <class Window> void ClearResult(const std::unique_ptr<Window>& window)
{
    if (window)
        window->m_result = 0;
}

} // namespace

// A game that the player has asked to quit runs on without the focus until it has quit: idle, its exit window
// would never fold away, nor would a quit read in the frame the focus went be dispatched.
void GameBase::Frame()
{
    if (!m_window->HasFocus() && m_window->m_minimiseWhenInactive && !IsQuitting()) {
        if (PauseLevelForFocusLoss())
            RunFullFrame();
        else
            IdleWithoutFocus();
        return;
    }
    if (m_pausedByFocus)
        ResumeAfterFocus();
    RunFullFrame();
}

bool GameBase::IsQuitting() const
{
    return (m_exitWindow && m_exitWindow->IsConfirmed()) ||
           (m_gameLogicGameExitWindow && m_gameLogicGameExitWindow->m_result == RequestExitProgram);
}

bool GameBase::PauseLevelForFocusLoss()
{
    if (!m_gameLogic || m_pausedByFocus)
        return false;
    TakeResumeOfTheLastFrame();
    if (m_gameLogic->GetState() == GameLogicBase::LevelPlaying) {
        m_gameLogic->SetState(GameLogicBase::LevelPaused);
        m_gameLogicWindow->SetActive(false);
        m_gameLogicPauseWindow->Open();
        // The player resumes from the pause window, so the timer stays paused when the focus comes back.
        m_timerWasPaused = true;
        SilenceForFocusLoss();
        m_pausedByFocus = true;
        return true;
    }
    KeystrelEngine::Timer& timer = *m_gameLogic->GetTimer();
    m_timerWasPaused = timer.IsPaused();
    timer.Pause(true);
    return false;
}

// Only the window, the surfaces, the timers and the sound stay alive; nothing is drawn or dispatched. Nothing steps
// the music's fades or stops the loops of the windows that no longer run either, so every such frame silences
// whatever the last full frame left sounding.
void GameBase::IdleWithoutFocus()
{
    m_window->Update();
    m_renderSystem->Refresh();
    m_timerManager->Update();
    if (m_soundManager)
        m_soundManager->Update(true);
    SilenceForFocusLoss();
    m_pausedByFocus = true;
    Sleep(kIdleMilliseconds);
}

// A track that a channel left still fades out on no channel, and a loop sounds until its window stops it: both
// would play on through frames that step no fade and run no window. The windows restart their loops once they run.
void GameBase::SilenceForFocusLoss()
{
    m_audioPlayer->PauseAllMusic(true, false, kMusicFadeRate);
    m_audioPlayer->StopLoopingSounds();
}

void GameBase::ResumeAfterFocus()
{
    m_audioPlayer->PauseAllMusic(false, true, kMusicFadeRate);
    if (m_gameLogic)
        m_gameLogic->GetTimer()->Pause(m_timerWasPaused);
    m_pausedByFocus = false;
}

void GameBase::RunFullFrame()
{
    ApplyVideoModeChange();
    m_engine->Update();
    HandleConsoleCommands();
    m_audioPlayer->Update();
    for (std::uint32_t pass = 0; pass < kResultPasses; ++pass) {
        DispatchWindowResults();
        ClearWindowResults();
    }
    UpdateWindows();
    m_cursor->Update();
    m_engine->EndFrame();
    CountWindowChangeFrames();
}

void GameBase::ApplyVideoModeChange()
{
    if (TakeCommand("g_update_video_mode"))
        m_renderSystem->CheckModeChange();
    if (!m_renderSystem->IsModeChangePending())
        return;
    m_audioPlayer->PauseAllMusic(true, false, kMusicFadeRate);
    ResetRenderSystem();
    m_audioPlayer->PauseAllMusic(false, true, kMusicFadeRate);
    // Keys held through the switch must not reach the game.
    m_controls->m_inputLock = true;
}

void GameBase::CountWindowChangeFrames()
{
    using KeystrelEngine::Config;
    if (m_config->GetCommandState("v_window_change_mode") != Config::kCommandRaised)
        return;
    if (++m_windowChangeFrames < kWindowChangeFrames)
        return;
    m_windowChangeFrames = 0;
    m_config->SetCommandState("v_window_change_mode", Config::kCommandIdle);
    m_config->SetCommandState("g_update_video_mode", Config::kCommandRaised);
}

void GameBase::ClearWindowResults()
{
    ClearResult(m_logosWindow);
    ClearResult(m_gameLoadingWindow);
    ClearResult(m_welcomeWindow);
    ClearResult(m_exitWindow);
    ClearResult(m_mainMenuWindow);
    ClearResult(m_profilesWindow);
    ClearResult(m_gameLogicLoadingWindow);
    ClearResult(m_newProfileWindow);
    ClearResult(m_renameProfileWindow);
    ClearResult(m_deleteProfileWindow);
    ClearResult(m_profileNameConflictWindow);
    ClearResult(m_startGameLogicWindow);
    ClearResult(m_continueGameLogicWindow);
    ClearResult(m_highScoresWindow);
    ClearResult(m_optionsWindow);
    ClearResult(m_helpWindow);
    ClearResult(m_gameLogicWindow);
    ClearResult(m_gameLogicPauseWindow);
    ClearResult(m_gameLogicMenuWindow);
    ClearResult(m_gameLogicMenuExitWindow);
    ClearResult(m_gameLogicGameExitWindow);
    ClearResult(m_levelCompleteWindow);
    ClearResult(m_stageCompleteWindow);
    ClearResult(m_gameCompleteWindow);
    ClearResult(m_gameOverWindow);
    if (m_gameLogic)
        m_gameLogic->ClearChanged();
}

// The level's logic runs after the windows that lie over a running level and before those that follow its end.
void GameBase::UpdateWindows()
{
    UpdateWindow(m_logosWindow);
    UpdateWindow(m_gameLoadingWindow);
    UpdateWindow(m_welcomeWindow);
    UpdateWindow(m_exitWindow);
    UpdateWindow(m_mainMenuWindow);
    UpdateWindow(m_profilesWindow);
    UpdateWindow(m_newProfileWindow);
    UpdateWindow(m_renameProfileWindow);
    UpdateWindow(m_deleteProfileWindow);
    UpdateWindow(m_profileNameConflictWindow);
    UpdateWindow(m_gameLogicLoadingWindow);
    UpdateWindow(m_startGameLogicWindow);
    UpdateWindow(m_continueGameLogicWindow);
    UpdateWindow(m_highScoresWindow);
    UpdateWindow(m_optionsWindow);
    UpdateWindow(m_helpWindow);
    UpdateWindow(m_gameLogicWindow);
    UpdateWindow(m_gameLogicPauseWindow);
    UpdateWindow(m_gameLogicMenuWindow);
    UpdateWindow(m_gameLogicMenuExitWindow);
    UpdateWindow(m_gameLogicGameExitWindow);
    UpdateWindow(m_gameLogic);
    UpdateWindow(m_levelCompleteWindow);
    UpdateWindow(m_stageCompleteWindow);
    UpdateWindow(m_gameCompleteWindow);
    UpdateWindow(m_gameOverWindow);
}

} // namespace GameFramework
