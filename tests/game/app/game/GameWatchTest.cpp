// Each of the watch's checks fails on the fault it guards, injected into the running game. The stuck screen with
// no window taking input is the GL test's, which keeps its picture.
#include "tests/game/app/game/GameWatch.h"
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/RandomPlayer.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Model.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUILoadingWindowBase.h"
#include "framework/GUILogosWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/HighScoresTable.h"
#include "framework/LevelManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/Profile.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "game/play/Item.h"
#include "game/play/ItemManager.h"
#include "game/play/Tutorial.h"
#include "platform/win32/MessageBox.h"
#include "tests/game/play/support/BoardSolver.h"

#include <SDL.h>
#include <filesystem>

#include <functional>
#include <optional>
#include <ranges>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace GameTesting;
using GameFramework::GameLogicBase;

std::string Described(const std::map<std::string, std::string>& failures)
{
    std::string text;
    for (const auto& [invariant, failure] : failures)
        text += invariant + ": " + failure + "; ";
    return text;
}

// One fault and the checks it must break, each failure telling what it was told (when given).
struct Fault
{
    const char* name;
    std::function<void(TestedGame&)> fault;
    std::set<std::string> broken;
    std::string told = {};
};

// The fault in the first frame in which the condition holds, and then no more.
std::function<void(TestedGame&)> Once(std::function<bool(TestedGame&)> when, std::function<void(TestedGame&)> fault)
{
    return [when, fault, done = false](TestedGame& game) mutable {
        if (done || !when(game))
            return;
        fault(game);
        done = true;
    };
}

void Win(TestedGame& game)
{
    game.m_gameLogic->SetState(GameLogicBase::LevelWon);
}

// The running level played to its win by the player's clicks (a level won otherwise would skip the board's own
// end, whose butterflies fly off). The solver lives in the step, so each game that plays a copy of the step
// starts with one of its own (a shared one would point at the engine and board of the game before).
Step PlayedToItsWin()
{
    const auto won = [solver = std::optional<TestSupport::BoardSolver>()](TestedGame& game) mutable {
        const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
        if (!solver)
            solver.emplace(*game.GetEngine(), TestSupport::BoardSolver::Aim::Win);
        return level && solver->Step(*level);
    };
    return {"played", won, {}, 9000};
}

// The last level of the first stage, won and left with CONTINUE: the upgrade scene follows, the level still
// there under it.
std::vector<Step> ToTheUpgradeScene()
{
    const auto lastOfTheStage = [](TestedGame& game) {
        const GameFramework::LevelId last{0, game.m_levelManager->GetStage(0).levelCount - 1};
        Current(game).m_currentLevel = Current(game).m_bestLevel = last;
    };
    return Join({{NewPlayer(true), {"last level of the stage", Always, lastOfTheStage}},
                 StartLevel("level", {}),
                 {PlayedToItsWin()},
                 PressContinue<Wispfold::GUILevelCompleteWindow>("level complete", &TestedGame::m_levelCompleteWindow),
                 {{"upgrade scene", [](TestedGame& game) { return game.GetUpgradeWindow()->IsActive(); }}}});
}

bool UpgradeShown(TestedGame& game)
{
    return game.GetUpgradeWindow() && game.GetUpgradeWindow()->GetWindow()->IsVisible();
}

class GameWatchFaults : public GameFixture
{
protected:
    // The steps with the watch looking at every frame once its windows have updated, after the fault (when given);
    // the invariants that failed.
    std::set<std::string> Watched(std::vector<Step> steps, const std::function<void(TestedGame&)>& fault = {})
    {
        GameWatch watch;
        steps.insert(steps.begin(), Step{"watch", Always, [&](TestedGame& game) {
                                             game.windowsUpdatedProbe = [&] {
                                                 if (fault)
                                                     fault(game);
                                                 watch.AfterFrame(game, player.GetWayBackFrames());
                                             };
                                         }});
        const int exitCode = Play(std::move(steps));
        watch.AfterGame(exitCode, ReadUserFile("Quellhaven.html"));
        watch.AtEnd(UserFolder());
        failures = watch.GetFailures();
        const auto invariants = std::views::keys(failures);
        return {invariants.begin(), invariants.end()};
    }

    // Each fault of the table over the same steps, followed by frames enough to break the checks (1: none).
    void ExpectEachBreaks(const std::vector<Step>& steps, int frames, const std::vector<Fault>& table)
    {
        for (const Fault& row : table) {
            FreshUserFolder();
            EXPECT_EQ(Watched(Join({steps, {{"watched", Frames(frames)}}}), row.fault), row.broken)
                << row.name << ": " << Described(failures);
            for (const std::string& invariant : row.broken)
                EXPECT_NE(failures[invariant].find(row.told), std::string::npos)
                    << row.name << ", " << invariant << ": " << failures[invariant];
        }
    }

    // As at a first start, no message box shown yet.
    static void FreshUserFolder()
    {
        std::filesystem::remove_all(UserFolder());
        std::filesystem::create_directories(UserFolder());
        PlatformTesting::RecordMessageBoxes(true); // forgets the boxes kept so far
    }

    std::map<std::string, std::string> failures; // of the last watched play, by invariant

    RandomPlayer player{1};
};

TEST_F(GameWatchFaults, NoWayBackWhenTheLevelIgnoresEscape)
{
    const auto escapeIgnored = [](TestedGame& game) {
        if (game.m_gameLogicWindow && game.m_gameLogicWindow->m_result == GameFramework::RequestGameLogicMenu)
            game.m_gameLogicWindow->m_result = 0;
    };
    const auto wayBack = [this](TestedGame& game) {
        player.Act(game);
        return player.GetWayBackFrames() > GameWatch::kWayBackBound;
    };
    EXPECT_EQ(Watched(Join({{NewPlayer(true)},
                            StartLevel("level", [this](TestedGame&) { player.TakeWayBack(); }),
                            {{"way back", wayBack, {}, GameWatch::kWayBackBound + 100}}}),
                      escapeIgnored),
              std::set<std::string>{"always a way back"});
}

TEST_F(GameWatchFaults, NothingOfALevelOverTheMainMenu)
{
    const auto hudLeftOn = [](TestedGame& game) {
        if (MainMenuShown(game))
            static_cast<Wispfold::GUIGameLogicWindow&>(*game.m_gameLogicWindow).GetRoot()->SetVisible(true);
    };
    EXPECT_EQ(Watched({NewPlayer(true), {"main menu", MainMenuShown}, {"fold", Frames(GameWatch::kHudFoldBound + 2)}},
                      hudLeftOn),
              std::set<std::string>{"nothing of a level outside it: the head-up display over main menu"});
}

TEST_F(GameWatchFaults, ProgressKeptFailsOnAStaleProfile)
{
    const auto scoreNotSaved = [](TestedGame& game) {
        if (game.m_gameOverWindow && Menu(game.m_gameOverWindow).IsOpenRequested())
            Current(game).m_score += 10;
    };
    const auto lose = [](TestedGame& game) { game.m_gameLogic->SetState(GameLogicBase::LevelLost); };
    EXPECT_EQ(
        Watched(
            Join({{NewPlayer(true)}, StartLevel("level", lose), {{"game over", Shown(&TestedGame::m_gameOverWindow)}}}),
            scoreNotSaved),
        std::set<std::string>{"progress kept: a lost level"});
}

TEST_F(GameWatchFaults, ProgressKeptFailsOnAnUnsortedTable)
{
    const auto savedUnsorted = [sorted = true](TestedGame& game) mutable {
        if (!sorted || !game.m_highScoresWindow || !Menu(game.m_highScoresWindow).IsOpenRequested())
            return;
        game.m_highScoresTable->Insert(u"Low", 1, 0);
        game.m_highScoresTable->Insert(u"High", 9, 1);
        game.m_highScoresTable->Save();
        sorted = false;
    };
    EXPECT_EQ(
        Watched({NewPlayer(true),
                 Request("main menu", MainMenuShown, &TestedGame::m_mainMenuWindow, GameFramework::RequestHighScores),
                 {"high scores", Shown(&TestedGame::m_highScoresWindow)}},
                savedUnsorted),
        (std::set<std::string>{"progress kept: the high scores", "player's files intact: loads"}));
}

TEST_F(GameWatchFaults, ACleanRunAndIntactFilesFailOnATemporaryFileAnErrorAndAWarning)
{
    const auto leaveFaults = [](TestedGame& game) {
        TestSupport::WriteFile(UserFolder() + "profiles/left.prf.tmp", "half a save");
        game.GetEngine()->m_log->Error("a fault");
        game.GetEngine()->m_log->Warning("a value mended");
    };
    EXPECT_EQ(
        Watched({NewPlayer(true), {"main menu", MainMenuShown, leaveFaults}}),
        (std::set<std::string>{"player's files intact: left over", "a clean run: the log", "a clean run: a warning"}));
}

TEST_F(GameWatchFaults, NeverStuckFailsOnEachWaitThatDoesNotEnd)
{
    const auto neverReported = [](auto window) {
        return [window](TestedGame& game) {
            if (std::invoke(window, game))
                std::invoke(window, game)->m_result = 0;
        };
    };
    const std::set<std::string> stuck{"never stuck"};
    ExpectEachBreaks({}, GameWatch::kStartUpBound + 10,
                     {{"the logos never end", neverReported(&TestedGame::m_logosWindow), stuck}});
    ExpectEachBreaks(
        {NewPlayer(true),
         Request("main menu", MainMenuShown, &TestedGame::m_mainMenuWindow, GameFramework::RequestStart),
         Request("map", &TestedGame::m_startGameLogicWindow, GameFramework::RequestStart)},
        GameWatch::kLoadingBound + 60,
        {{"a level's loading never reports", neverReported(&TestedGame::m_gameLogicLoadingWindow), stuck}});
    const auto deadLevelComplete = [](TestedGame& game) {
        if (game.m_levelCompleteWindow)
            for (const auto& control : Menu(game.m_levelCompleteWindow).GetControls())
                if (KeystrelEngine::GUIButton* button = control->GetButton())
                    button->SetEnabled(false);
    };
    ExpectEachBreaks(Join({{NewPlayer(true)}, StartLevel("level", Win)}), GameWatch::kLevelEndBound + 120,
                     {{"the won level's window takes no click", deadLevelComplete, stuck}});
    // The place shown from the main menu is clicked away and then never reports.
    const auto clicked = [](TestedGame& game) {
        return game.GetUpgradeWindow()->IsActive() &&
               game.GetUpgradeWindow()->GetClock() > Wispfold::GUIUpgradeWindow::kClickDelay;
    };
    ExpectEachBreaks(
        {NewPlayer(true),
         Request("main menu", MainMenuShown, &TestedGame::m_mainMenuWindow,
                 Wispfold::GUIMainMenuWindow::kRequestShowPlace),
         {"place shown", clicked, [](TestedGame&) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true); }},
         {"click", NextFrame(), [](TestedGame&) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false); }}},
        GameWatch::kQuietBound + 120,
        {{"the timed scene never reports", neverReported(&TestedGame::GetUpgradeWindow), stuck}});
}

TEST_F(GameWatchFaults, NothingOfALevelIsDrawnOutsideIt)
{
    const auto guideSpeaksInTheMenu = [](TestedGame& game) {
        Wispfold::Character* guide = game.GetCharacter();
        if (!MainMenuShown(game) || !guide)
            return;
        if (guide->GetState() != Wispfold::Character::kStateLevel)
            guide->SetState(Wispfold::Character::kStateLevel);
        guide->GetBubble(0)->SetVisible(true);
    };
    const auto pauseKeepsThePanel = [](TestedGame& game) {
        const Wispfold::GUIMenuWindow* pause = game.MenuWindows()[TestedGame::kFirstOverLevel];
        if (MainMenuShown(game) && pause)
            game.GetBackground()->HoldPanel(*pause);
    };
    ExpectEachBreaks({NewPlayer(true), {"main menu", MainMenuShown}}, 2,
                     {{"the guide's bubble",
                       guideSpeaksInTheMenu,
                       {"nothing of a level outside it: the level's guide or tip over main menu"}},
                      {"a level's window keeping the panel", pauseKeepsThePanel, {"the panel goes back"}}});
    const auto level = [](TestedGame& game) { return dynamic_cast<Wispfold::GameLogic*>(game.m_gameLogic.get()); };
    const auto tipShown = [level](TestedGame& game) {
        if (UpgradeShown(game) && level(game))
            level(game)->GetTutorial().GetTip().m_flags |= KeystrelEngine::Model::kShown;
    };
    const auto butterfliesShown = [level](TestedGame& game) {
        if (!UpgradeShown(game) || !level(game))
            return;
        for (const auto& item : level(game)->GetItemManager().GetItems())
            if (item->IsInUse() && item->GetModel())
                item->GetModel()->m_flags |= KeystrelEngine::Model::kShown;
    };
    ExpectEachBreaks(
        ToTheUpgradeScene(), 2,
        {{"the tutorial's tip",
          tipShown,
          {"nothing of a level outside it: the level's guide or tip over the upgrade scene"}},
         {"butterflies", butterfliesShown, {"nothing of a level outside it: butterflies over the upgrade scene"}}});
}

// The score the game shows as the won level's window reports is one it never saved; a level played to its win is
// turned into a loss in the frame that decided it.
TEST_F(GameWatchFaults, ProgressKeptFailsOnADecidedLevelNotSavedAsShown)
{
    const auto scoreNotSaved = [](TestedGame& game) {
        if (game.m_levelCompleteWindow && game.m_levelCompleteWindow->m_result == GameFramework::RequestDone)
            Current(game).m_score += 10;
    };
    ExpectEachBreaks(
        Join({{NewPlayer(true)},
              StartLevel("level", Win),
              PressContinue<Wispfold::GUILevelCompleteWindow>("level complete", &TestedGame::m_levelCompleteWindow),
              {{"map", Shown(&TestedGame::m_startGameLogicWindow)}}}),
        1, {{"a won level", scoreNotSaved, {"progress kept: a won level"}}});
    const auto wonTurnedLost = [](TestedGame& game) {
        if (game.m_gameLogic && game.m_gameLogic->GetState() == GameLogicBase::LevelWon)
            game.m_gameLogic->SetState(GameLogicBase::LevelLost);
    };
    ExpectEachBreaks(Join({{NewPlayer(true)},
                           StartLevel("level", {}),
                           {PlayedToItsWin(), {"game over", Shown(&TestedGame::m_gameOverWindow)}}}),
                     1, {{"a lost level", wonTurnedLost, {"progress kept: a lost level"}, "mana bar full"}});
}

// A table saved with more entries than it keeps, and one on screen that was never saved.
TEST_F(GameWatchFaults, ProgressKeptFailsOnATableTooLongOrNotAsShown)
{
    const auto scoresAsked = [](TestedGame& game) {
        return game.m_highScoresWindow && Menu(game.m_highScoresWindow).IsOpenRequested();
    };
    const auto savedLong = [](TestedGame& game) {
        for (std::uint32_t score = 20; score > 9; --score)
            game.m_highScoresTable->Insert(u"Ann", score, 20 - score);
        game.m_highScoresTable->Save();
    };
    const auto notSaved = [](TestedGame& game) { game.m_highScoresTable->Insert(u"Ann", 20, 0); };
    ExpectEachBreaks(
        {NewPlayer(true),
         Request("main menu", MainMenuShown, &TestedGame::m_mainMenuWindow, GameFramework::RequestHighScores),
         {"high scores", Shown(&TestedGame::m_highScoresWindow)}},
        1,
        {{"too long",
          Once(scoresAsked, savedLong),
          {"progress kept: the high scores", "player's files intact: loads"},
          "11 entries"},
         {"not saved", Once(scoresAsked, notSaved), {"progress kept: the high scores"}, "not those on screen"}});
}

TEST_F(GameWatchFaults, ACleanRunAndIntactFilesFailOnWhatTheGameLeavesWrong)
{
    const auto fatal = [](TestedGame&) { throw KeystrelEngine::Error("a fault"); };
    const auto profileGone = [](TestedGame& game) {
        std::filesystem::remove(UserFolder() + "profiles/" + Current(game).GetFileName());
    };
    const auto listGone = [](TestedGame&) { std::filesystem::remove(UserFolder() + "profiles.pmf"); };
    const auto tableCut = [](TestedGame&) { TestSupport::WriteFile(UserFolder() + "high_scores_table.hsf", "GFHSF"); };
    const auto box = [](TestedGame&) { MessageBoxA(nullptr, "a fault", "Fault", MB_ICONERROR); };
    ExpectEachBreaks(
        {NewPlayer(true), {"main menu", MainMenuShown}}, 2,
        {{"a fatal error", Once(MainMenuShown, fatal), {"a clean run: the exit", "a clean run: a message box"}},
         {"the current profile's file gone",
          Once(MainMenuShown, profileGone),
          {"player's files intact: the profile list"}},
         {"the profile list gone", Once(MainMenuShown, listGone), {"player's files intact: the profile list"}},
         {"the high scores cut short", Once(MainMenuShown, tableCut), {"player's files intact: loads"}},
         {"a message box", Once(MainMenuShown, box), {"a clean run: a message box"}}});
}

} // namespace
