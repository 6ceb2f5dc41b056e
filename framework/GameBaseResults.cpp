// The game base's window-result dispatch and the shell's handlers: each window's request closes it and opens the
// next window, starts or ends a level, moves the current profile through the levels, feeds the high-score table
// or asks for the exit. A code a handler does not list does nothing.
#include "GameBase.h"

#include "DataKeeper.h"
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
#include "HighScoresTable.h"
#include "LevelManagerBase.h"
#include "ProfileBase.h"
#include "ProfileManagerBase.h"
#include "ScoreKeeper.h"
#include "WindowRequest.h"

#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"

namespace GameFramework {
namespace {

// The modes the start-game window is opened in.
constexpr std::int32_t kStartNewGame = 2;
constexpr std::int32_t kStartFromContinue = 6;
constexpr std::int32_t kStartAfterLevel = 7;
constexpr std::int32_t kStartAfterStage = 8;
// The modes of the high-score window.
constexpr std::int32_t kScoresFromMenu = 2;
constexpr std::int32_t kScoresAfterGameComplete = 9;
constexpr std::int32_t kScoresAfterGameOver = 10;
// Who opened the exit window, the new-profile window and the name-conflict window.
constexpr std::int32_t kFromWelcome = 1;
constexpr std::int32_t kFromMainMenu = 2;
constexpr std::int32_t kFromNewProfile = 3;
constexpr std::int32_t kFromRenameProfile = 4;
constexpr std::int32_t kNewProfileFirst = 0;
constexpr std::int32_t kNewProfileFromList = 1;

template <class Window>
void Hand(GameBase& game, const std::unique_ptr<Window>& window, void (GameBase::*handler)(Window*))
{
    if (window)
        (game.*handler)(window.get());
}

// Takes the window's request when it is the code: the window closes.
template <class Window> bool Take(Window* window, std::uint32_t code)
{
    if (window->m_result != code)
        return false;
    window->Close();
    return true;
}

} // namespace

void GameBase::DispatchWindowResults()
{
    Hand(*this, m_logosWindow, &GameBase::OnLogosResult);
    Hand(*this, m_gameLoadingWindow, &GameBase::OnGameLoadingResult);
    Hand(*this, m_welcomeWindow, &GameBase::OnWelcomeResult);
    Hand(*this, m_exitWindow, &GameBase::OnExitResult);
    Hand(*this, m_mainMenuWindow, &GameBase::OnMainMenuResult);
    Hand(*this, m_profilesWindow, &GameBase::OnProfilesResult);
    Hand(*this, m_gameLogicLoadingWindow, &GameBase::OnGameLogicLoadingResult);
    Hand(*this, m_newProfileWindow, &GameBase::OnNewProfileResult);
    Hand(*this, m_renameProfileWindow, &GameBase::OnRenameProfileResult);
    Hand(*this, m_deleteProfileWindow, &GameBase::OnDeleteProfileResult);
    Hand(*this, m_profileNameConflictWindow, &GameBase::OnProfileNameConflictResult);
    Hand(*this, m_startGameLogicWindow, &GameBase::OnStartGameLogicResult);
    Hand(*this, m_continueGameLogicWindow, &GameBase::OnContinueGameLogicResult);
    Hand(*this, m_highScoresWindow, &GameBase::OnHighScoresResult);
    Hand(*this, m_optionsWindow, &GameBase::OnOptionsResult);
    Hand(*this, m_helpWindow, &GameBase::OnHelpResult);
    Hand(*this, m_gameLogicWindow, &GameBase::OnGameLogicWindowResult);
    Hand(*this, m_gameLogicPauseWindow, &GameBase::OnGameLogicPauseResult);
    Hand(*this, m_gameLogicMenuWindow, &GameBase::OnGameLogicMenuResult);
    Hand(*this, m_gameLogicMenuExitWindow, &GameBase::OnGameLogicMenuExitResult);
    Hand(*this, m_gameLogicGameExitWindow, &GameBase::OnGameLogicGameExitResult);
    if (m_gameLogic && m_gameLogic->IsChanged()) {
        if (m_gameLogic->GetState() == GameLogicBase::LevelWon)
            OnLevelWon();
        else if (m_gameLogic->GetState() == GameLogicBase::LevelLost)
            OnLevelLost();
    }
    Hand(*this, m_levelCompleteWindow, &GameBase::OnLevelCompleteResult);
    Hand(*this, m_stageCompleteWindow, &GameBase::OnStageCompleteResult);
    Hand(*this, m_gameCompleteWindow, &GameBase::OnGameCompleteResult);
    Hand(*this, m_gameOverWindow, &GameBase::OnGameOverResult);
}

void GameBase::OnLogosResult(GUILogosWindowBase* window)
{
    if (Take(window, RequestDone))
        m_gameLoadingWindow->Open(m_gameData.get());
}

void GameBase::OnGameLoadingResult(GUILoadingWindowBase* window)
{
    if (!Take(window, RequestDone))
        return;
    CreateWindows();
    if (m_profileManager->GetProfiles().empty())
        m_welcomeWindow->Open();
    else
        m_mainMenuWindow->Open();
    m_cursor->Show(true);
}

void GameBase::OnWelcomeResult(GUIWelcomeWindowBase* window)
{
    if (Take(window, RequestBack))
        m_mainMenuWindow->Open();
    else if (Take(window, RequestQuit))
        m_exitWindow->Open(kFromWelcome);
}

void GameBase::OnExitResult(GUIExitWindowBase* window)
{
    if (Take(window, RequestWelcome))
        m_welcomeWindow->Open();
    else if (Take(window, RequestBack))
        m_mainMenuWindow->Open();
    else if (Take(window, RequestNewProfile))
        m_newProfileWindow->Open(kNewProfileFirst);
    else if (window->m_result == RequestExitProgram)
        m_engine->RequestExit();
}

void GameBase::OnMainMenuResult(GUIMainMenuWindowBase* window)
{
    if (Take(window, RequestProfiles)) {
        m_profilesWindow->Open();
    } else if (Take(window, RequestStart)) {
        ProfileBase& profile = CurrentProfile();
        if (profile.m_continue) {
            m_continueGameLogicWindow->Open();
        } else {
            profile.Reset();
            m_startGameLogicWindow->Open(kStartNewGame);
        }
    } else if (Take(window, RequestHighScores)) {
        m_highScoresWindow->Open(kScoresFromMenu, nullptr);
    } else if (Take(window, RequestOptions)) {
        m_optionsWindow->Open();
    } else if (Take(window, RequestHelp)) {
        m_helpWindow->Open();
    } else if (Take(window, RequestQuit)) {
        m_exitWindow->Open(kFromMainMenu);
    }
}

void GameBase::OnProfilesResult(GUIProfilesWindowBase* window)
{
    if (Take(window, RequestNewProfile))
        m_newProfileWindow->Open(kNewProfileFromList);
    else if (Take(window, RequestRenameProfile))
        m_renameProfileWindow->Open(true, window->m_selectedName);
    else if (Take(window, RequestDeleteProfile))
        m_deleteProfileWindow->Open(window->m_selectedName);
    else if (Take(window, RequestBack))
        m_mainMenuWindow->Open();
}

void GameBase::OnGameLogicLoadingResult(GUILoadingWindowBase* window)
{
    if (!Take(window, RequestDone))
        return;
    m_cursor->Show(true);
    ProfileBase& profile = CurrentProfile();
    LevelRecord* level = CurrentLevelRecord(profile);
    m_gameLogic = CreateGameLogic(&m_levelManager->GetStage(level->id.stage), level, profile.m_carriedValue);
    m_gameLogicWindow->Open(m_gameLogic.get());
}

void GameBase::OnNewProfileResult(GUINewProfileWindowBase* window)
{
    if (Take(window, RequestNameTaken))
        m_profileNameConflictWindow->Open(kFromNewProfile);
    else if (Take(window, RequestProfiles))
        m_profilesWindow->Open();
    else if (Take(window, RequestQuit))
        m_exitWindow->Open(kFromNewProfile);
}

void GameBase::OnRenameProfileResult(GUIRenameProfileWindowBase* window)
{
    if (Take(window, RequestNameTaken))
        m_profileNameConflictWindow->Open(kFromRenameProfile);
    else if (Take(window, RequestProfiles))
        m_profilesWindow->Open();
}

void GameBase::OnDeleteProfileResult(GUIDeleteProfileWindowBase* window)
{
    if (Take(window, RequestProfiles))
        m_profilesWindow->Open();
    else if (Take(window, RequestNewProfile))
        m_newProfileWindow->Open(kNewProfileFromList);
}

void GameBase::OnProfileNameConflictResult(GUIProfileNameConflictWindowBase* window)
{
    if (Take(window, RequestNewProfile))
        m_newProfileWindow->Open(kNewProfileFirst);
    else if (Take(window, RequestRenameProfile))
        m_renameProfileWindow->Open(false, std::u16string());
}

// The level data of the level before stay alive until the next level's data exist.
void GameBase::OnStartGameLogicResult(GUIStartGameLogicWindowBase* window)
{
    if (Take(window, RequestBack)) {
        m_mainMenuWindow->Open();
        return;
    }
    if (window->m_result != RequestStart)
        return;
    LevelRecord* level = CurrentLevelRecord(CurrentProfile());
    m_previousGameLogicData.reset();
    m_previousGameLogicData = std::move(m_gameLogicData);
    m_gameLogicData = CreateGameLogicData(&m_levelManager->GetStage(level->id.stage), level);
    window->Close();
    m_gameLogicLoadingWindow->Open(m_gameLogicData.get());
}

void GameBase::OnContinueGameLogicResult(GUIContinueGameLogicWindowBase* window)
{
    if (Take(window, RequestContinueGame)) {
        m_startGameLogicWindow->Open(kStartFromContinue);
    } else if (window->m_result == RequestNewGame) {
        ProfileBase& profile = CurrentProfile();
        profile.m_continue = 0;
        profile.Save();
        profile.Reset();
        window->Close();
        m_startGameLogicWindow->Open(kStartFromContinue);
    } else if (Take(window, RequestBack)) {
        m_mainMenuWindow->Open();
    }
}

void GameBase::OnHighScoresResult(GUIHighScoresWindowBase* window)
{
    if (Take(window, RequestBack))
        m_mainMenuWindow->Open();
}

void GameBase::OnOptionsResult(GUIOptionsWindowBase* window)
{
    if (Take(window, RequestBack))
        m_mainMenuWindow->Open();
}

void GameBase::OnHelpResult(GUIHelpWindowBase* window)
{
    if (Take(window, RequestBack))
        m_mainMenuWindow->Open();
}

// A dialog opens over the level: the level window stops, and the level pauses once the dialog is open. Only a
// playing level takes a request. The window reads its keys before the level updates, so a request may come from
// the frame in which the level was decided, whose end window must open instead; and the focus pause, which holds
// the level before the dispatch, must stay the one dialog over it.
void GameBase::OnGameLogicWindowResult(GUIGameLogicWindowBase* window)
{
    const std::uint32_t code = window->m_result;
    if (code != RequestGameLogicMenu && code != RequestPause && code != RequestQuit)
        return;
    if (!m_gameLogic || m_gameLogic->GetState() != GameLogicBase::LevelPlaying)
        return;
    window->SetActive(false);
    if (code == RequestGameLogicMenu)
        m_gameLogicMenuWindow->Open();
    else if (code == RequestPause)
        m_gameLogicPauseWindow->Open();
    else
        m_gameLogicGameExitWindow->Open();
    m_gameLogic->SetState(GameLogicBase::LevelPaused);
}

void GameBase::ResumeLevel()
{
    m_gameLogicWindow->SetActive(true);
    if (m_gameLogic)
        m_gameLogic->SetState(GameLogicBase::LevelPlaying);
}

// A RESUME read in the frame the focus went would start the level once the focus is back, with no pause window over
// it: it is taken now, as the next dispatch would take it, and the focus pause then holds the level it resumed.
void GameBase::TakeResumeOfTheLastFrame()
{
    const auto take = [this](auto* window) {
        if (!Take(window, RequestResume))
            return;
        window->m_result = RequestNone;
        ResumeLevel();
    };
    take(m_gameLogicPauseWindow.get());
    take(m_gameLogicMenuWindow.get());
    take(m_gameLogicGameExitWindow.get());
}

void GameBase::OnGameLogicPauseResult(GUIGameLogicPauseWindowBase* window)
{
    if (Take(window, RequestResume))
        ResumeLevel();
}

void GameBase::OnGameLogicMenuResult(GUIGameLogicMenuWindowBase* window)
{
    if (Take(window, RequestResume))
        ResumeLevel();
    else if (Take(window, RequestLeaveLevel))
        m_gameLogicMenuExitWindow->Open();
}

void GameBase::OnGameLogicMenuExitResult(GUIGameLogicMenuExitWindowBase* window)
{
    if (Take(window, RequestGameLogicMenu)) {
        m_gameLogicMenuWindow->Open();
    } else if (Take(window, RequestBack)) {
        EndLevel();
        m_mainMenuWindow->Open();
    }
}

void GameBase::OnGameLogicGameExitResult(GUIGameLogicGameExitWindowBase* window)
{
    if (Take(window, RequestResume))
        ResumeLevel();
    else if (window->m_result == RequestExitProgram)
        m_engine->RequestExit();
}

void GameBase::EndLevel()
{
    m_gameLogicWindow->Close();
    m_gameLogic.reset();
}

void GameBase::OnLevelWon()
{
    m_gameLogicWindow->SetActive(false);
    ProfileBase& profile = CurrentProfile();
    const LevelId won = m_wonLevel = m_gameLogic->GetLevel()->id;
    const LevelId next = AdvanceLevel(won);
    const bool stays = next.stage == won.stage && next.level == won.level;
    profile.m_currentLevel = next;
    profile.Save();
    RecordBestLevel(profile, next, stays);
    profile.m_carriedValue = m_gameLogic->GetCarriedValue();
    ScoreKeeper& keeper = *m_gameLogic->GetScoreKeeper();
    profile.m_score += keeper.m_total;
    keeper.m_total = 0;
    // After the last level of the game there is nothing to continue.
    profile.m_continue = stays ? 0 : 1;
    profile.Save();
    m_levelCompleteWindow->Open();
}

// One level back: the previous level of the stage, else the last level of the stage before; the first level of
// the game stays.
void GameBase::OnGameLogicStateChange()
{
    ProfileBase& profile = CurrentProfile();
    LevelId& current = profile.m_currentLevel;
    if (current.level > 0)
        current.level -= 1;
    else if (current.stage > 0)
        current = {current.stage - 1, m_levelManager->GetStage(current.stage - 1).levelCount - 1};
    profile.Save();
    EndLevel();
    m_startGameLogicWindow->Open(kStartNewGame);
}

void GameBase::OnLevelLost()
{
    m_gameLogicWindow->SetActive(false);
    ProfileBase& profile = CurrentProfile();
    profile.m_continue = 0;
    profile.Save();
    m_gameOverWindow->Open();
}

void GameBase::OnLevelCompleteResult(GUILevelCompleteWindowBase* window)
{
    if (!Take(window, RequestDone))
        return;
    if (m_levelManager->GetStage(m_wonLevel.stage).levelCount == m_wonLevel.level + 1) {
        m_stageCompleteWindow->Open();
        return;
    }
    EndLevel();
    m_startGameLogicWindow->Open(kStartAfterLevel);
}

void GameBase::OnStageCompleteResult(GUIStageCompleteWindowBase* window)
{
    if (!Take(window, RequestDone))
        return;
    EndLevel();
    if (m_levelManager->IsLastLevel(m_wonLevel))
        m_gameCompleteWindow->Open();
    else
        m_startGameLogicWindow->Open(kStartAfterStage);
}

void GameBase::OnGameCompleteResult(GUIGameCompleteWindowBase* window)
{
    if (!Take(window, RequestDone))
        return;
    const ProfileBase& profile = CurrentProfile();
    if (profile.m_score == 0) {
        m_mainMenuWindow->Open();
        return;
    }
    const HighScoreEntry* entry = m_highScoresTable->Add(profile.GetName(), profile.m_score);
    m_highScoresWindow->Open(kScoresAfterGameComplete, entry);
}

void GameBase::OnGameOverResult(GUIGameOverWindowBase* window)
{
    if (!Take(window, RequestDone))
        return;
    const ProfileBase& profile = CurrentProfile();
    const std::uint32_t total = (m_gameLogic ? m_gameLogic->GetScoreKeeper()->m_total : 0) + profile.m_score;
    if (total == 0)
        m_mainMenuWindow->Open();
    else
        m_highScoresWindow->Open(kScoresAfterGameOver, m_highScoresTable->Add(profile.GetName(), total));
    EndLevel();
}

LevelId GameBase::AdvanceLevel(LevelId id) const
{
    if (id.level + 1 < m_levelManager->GetStage(id.stage).levelCount)
        return {id.stage, id.level + 1};
    if (m_levelManager->IsLastLevel(id))
        return id;
    return {id.stage + 1, 0};
}

void GameBase::RecordBestLevel(ProfileBase& profile, LevelId id, bool finished)
{
    const LevelId best = profile.m_bestLevel;
    const bool sameLevel = id.stage == best.stage && id.level == best.level;
    const bool further = id.stage > best.stage || (id.stage == best.stage && id.level > best.level);
    if (further || (sameLevel && finished))
        profile.RecordBestLevel(id, finished ? 1 : 0);
}

ProfileBase& GameBase::CurrentProfile() const
{
    if (!m_profileManager->m_current)
        m_log->FatalError("GameBase: no current profile");
    return *m_profileManager->m_current;
}

// A damaged profile, or a catalogue that now holds fewer levels, must not index past the catalogue's lists.
LevelRecord* GameBase::CurrentLevelRecord(ProfileBase& profile)
{
    if (!m_levelManager->Holds(profile.m_currentLevel)) {
        if (!m_levelManager->Holds(LevelId{}))
            m_log->FatalError("GameBase: the level catalogue holds no level");
        m_log->Warning("GameBase: the profile's current level (" + DescribeLevel(profile.m_currentLevel) +
                       ") is not in the catalogue; the profile goes back to the first level");
        profile.m_currentLevel = LevelId{};
        profile.Save();
    }
    return m_levelManager->GetLevel(profile.m_currentLevel);
}

} // namespace GameFramework
