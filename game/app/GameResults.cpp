// The game's window-result handling: its three own windows are dispatched after the shell's, and its handlers add
// the music (the menu track on channel 0, the two level tracks in turn on channel 1), the speaking character, the
// profile's game flags, the background scene and the cursor's trail to the shell's reactions.
#include "Game.h"

#include "GUIBackgroundWindow.h"
#include "GUIGameCompleteWindow.h"
#include "GUIGameCursor.h"
#include "GUIHighScoresWindow.h"
#include "GUIIntroductionWindow.h"
#include "GUILevelCompleteWindow.h"
#include "GUIMainMenuWindow.h"
#include "GUIRelaxWindow.h"
#include "GUIUpgradeWindow.h"
#include "Profile.h"

#include "framework/AudioPlayer.h"
#include "framework/GUIContinueGameLogicWindowBase.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUILoadingWindowBase.h"
#include "framework/GUILogosWindowBase.h"
#include "framework/GUIProfilesWindowBase.h"
#include "framework/GUIStageCompleteWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/LevelManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/play/Board.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"

namespace Wispfold {
namespace {

constexpr float kFadeRate = 0.5f;
constexpr float kStopFadeRate = 1.0f;
// The level map's modes.
constexpr std::int32_t kMapNewGame = 2;
constexpr std::int32_t kMapAfterLevel = 7;

} // namespace

void Game::DispatchWindowResults()
{
    GameBase::DispatchWindowResults();
    if (m_upgradeWindow)
        OnUpgradeResult();
    if (m_introductionWindow)
        OnIntroductionResult();
    if (m_relaxWindow)
        OnRelaxResult();
}

// The game's windows, then the shell's, the level's changed flag last.
void Game::ClearWindowResults()
{
    if (m_upgradeWindow)
        m_upgradeWindow->m_result = 0;
    if (m_introductionWindow)
        m_introductionWindow->m_result = 0;
    if (m_relaxWindow)
        m_relaxWindow->m_result = 0;
    GameBase::ClearWindowResults();
}

void Game::PlayMenuMusic()
{
    m_audioPlayer->StopAllMusic(kStopFadeRate);
    m_audioPlayer->PlayMusic(kMenuChannel, kMenuTrack, kFadeRate);
}

void Game::ShowUpgradeWindow(std::int32_t mode)
{
    m_upgradeWindow->Open(mode);
}

// The menu track starts over the logos' silence; nothing plays yet that would need stopping.
void Game::OnLogosResult(GameFramework::GUILogosWindowBase* window)
{
    if (window->m_result != GameFramework::RequestDone)
        return;
    window->Close();
    m_gameLoadingWindow->Open(m_gameData.get());
    m_background->Start();
    m_audioPlayer->PlayMusic(kMenuChannel, kMenuTrack, kFadeRate);
}

void Game::OnMainMenuResult(GameFramework::GUIMainMenuWindowBase* window)
{
    GameBase::OnMainMenuResult(window);
    if (window->m_result == GUIMainMenuWindow::kRequestIntroduction) {
        window->Close();
        m_introductionWindow->Open();
        m_character->SetState(Character::kStateMenu);
    } else if (window->m_result == GUIMainMenuWindow::kRequestShowPlace) {
        window->Close();
        ShowUpgradeWindow(GUIUpgradeWindow::kFromMainMenu);
    }
}

// Another profile may stand at another stage.
void Game::OnProfilesResult(GameFramework::GUIProfilesWindowBase* window)
{
    GameBase::OnProfilesResult(window);
    if (window->m_result == GameFramework::RequestBack)
        m_background->UpdateStageTheme();
}

void Game::OnGameLogicLoadingResult(GameFramework::GUILoadingWindowBase* window)
{
    GameBase::OnGameLogicLoadingResult(window);
    if (window->m_result != GameFramework::RequestDone)
        return;
    m_background->LeaveForLevel();
    m_audioPlayer->StopAllMusic(kStopFadeRate);
    m_audioPlayer->PlayMusic(kLevelChannel, kFirstLevelTrack + m_levelMusic, kFadeRate);
    m_levelMusic ^= 1u;
}

// The drawn cursor and its sparks stay away while the level loads and is played.
void Game::OnStartGameLogicResult(GameFramework::GUIStartGameLogicWindowBase* window)
{
    if (window->m_result == GameFramework::RequestStart) {
        Cursor().Show(false);
        Cursor().SetTrailEnabled(false);
    }
    GameBase::OnStartGameLogicResult(window);
}

void Game::OnHighScoresResult(GameFramework::GUIHighScoresWindowBase* window)
{
    if (window->m_result == GUIHighScoresWindow::kRequestRelaxOffer) {
        m_character->SetState(Character::kStateMenu);
        window->Close();
        m_relaxWindow->Open();
    } else if (window->m_result == GameFramework::RequestBack) {
        window->Close();
        m_mainMenuWindow->Open();
    }
}

void Game::OnGameLogicMenuExitResult(GameFramework::GUIGameLogicMenuExitWindowBase* window)
{
    GameBase::OnGameLogicMenuExitResult(window);
    if (window->m_result != GameFramework::RequestBack)
        return;
    PlayMenuMusic();
    Cursor().SetTrailEnabled(true);
    // The figure leaves with the level; left standing in it, it would hold the upgrade view's clock for ever.
    m_character->ResetSpeech();
}

// The level-complete window counts up what the level left: its id, the board's level points as the energy bonus,
// and no bonus in relax mode.
void Game::OnLevelWon()
{
    auto& levelComplete = static_cast<GUILevelCompleteWindow&>(*m_levelCompleteWindow);
    const auto& logic = static_cast<const GameLogic&>(*m_gameLogic);
    levelComplete.m_level = logic.GetLevel()->id;
    levelComplete.m_energyBonus = logic.GetBoard().GetLevelPointTotal();
    levelComplete.m_noEnergyBonus = logic.IsRelaxMode();
    Cursor().SetTrailEnabled(true);
    GameBase::OnLevelWon();
}

// The trail comes back with the menus after every level, won, lost or left.
void Game::OnLevelLost()
{
    Cursor().SetTrailEnabled(true);
    GameBase::OnLevelLost();
}

void Game::OnGameLogicStateChange()
{
    GameBase::OnGameLogicStateChange();
    m_startGameLogicWindow->Open(kMapAfterLevel);
}

void Game::OnLevelCompleteResult(GameFramework::GUILevelCompleteWindowBase* window)
{
    if (window->m_result == GameFramework::RequestDone) {
        PlayMenuMusic();
        m_character->ResetSpeech();
    } else if (window->m_result == GUILevelCompleteWindow::kRequestUpgrade) {
        PlayMenuMusic();
        m_character->AnnounceUpgrade();
        window->Close();
        // The level stays until the stage is complete, but its window goes now: left open in its won state, it
        // would fill its bars again over the upgrade's scene and hide its hint.
        m_gameLogicWindow->Close();
        ShowUpgradeWindow(GUIUpgradeWindow::kFromLevelComplete);
    }
    GameBase::OnLevelCompleteResult(window);
}

// After the last level the ending is shown once per profile; otherwise the game-complete window passes through.
void Game::OnStageCompleteResult(GameFramework::GUIStageCompleteWindowBase* window)
{
    if (window->m_result == GameFramework::RequestDone && m_levelManager->IsLastLevel(m_wonLevel)) {
        auto& gameComplete = static_cast<GUIGameCompleteWindow&>(*m_gameCompleteWindow);
        gameComplete.m_show = CurrentGameProfile().GetFlag(Profile::EndingPending);
        if (gameComplete.m_show)
            m_character->SetState(Character::kStateMenu);
    }
    GameBase::OnStageCompleteResult(window);
}

void Game::OnGameCompleteResult(GameFramework::GUIGameCompleteWindowBase* window)
{
    GameBase::OnGameCompleteResult(window);
    if (window->m_result != GameFramework::RequestDone)
        return;
    Profile& profile = CurrentGameProfile();
    if (!profile.GetFlag(Profile::EndingPending))
        return;
    profile.SetFlag(Profile::EndingPending, false);
    profile.Save();
    m_character->ResetSpeech();
}

void Game::OnGameOverResult(GameFramework::GUIGameOverWindowBase* window)
{
    GameBase::OnGameOverResult(window);
    if (window->m_result == GameFramework::RequestDone)
        PlayMenuMusic();
}

void Game::OnUpgradeResult()
{
    const std::uint32_t code = m_upgradeWindow->m_result;
    if (code != GameFramework::RequestBack && code != GUIUpgradeWindow::kRequestStageComplete)
        return;
    m_upgradeWindow->Hide();
    if (code == GameFramework::RequestBack)
        m_mainMenuWindow->Open();
    else
        m_stageCompleteWindow->Open();
}

// The story is told once per profile; then the game starts as the main menu's start would have started it.
void Game::OnIntroductionResult()
{
    if (m_introductionWindow->m_result != GameFramework::RequestStart)
        return;
    Profile& profile = CurrentGameProfile();
    profile.SetFlag(Profile::IntroductionPending, false);
    profile.Save();
    m_character->ResetSpeech();
    m_introductionWindow->Close();
    if (profile.m_continue) {
        m_continueGameLogicWindow->Open();
    } else {
        profile.Reset();
        m_startGameLogicWindow->Open(kMapNewGame);
    }
}

void Game::OnRelaxResult()
{
    if (m_relaxWindow->m_result != GameFramework::RequestBack)
        return;
    m_character->ResetSpeech();
    m_relaxWindow->Close();
    m_mainMenuWindow->Open();
}

} // namespace Wispfold
