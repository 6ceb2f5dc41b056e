// Each of the watch's invariants fails on the fault it guards, injected into the running game: a head-up display
// that ignores ESCAPE (no way back), one left on over the main menu, a lost level whose score the profile on disk
// lacks, a high-score table saved unsorted, and a temporary file and an error line left behind. The stuck screen
// is the GL test's, which keeps its picture.
#include "tests/game/app/game/GameWatch.h"
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/RandomPlayer.h"

#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIWindow.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/HighScoresTable.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/Profile.h"

#include <functional>
#include <ranges>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace GameTesting;

constexpr std::uint32_t kLost = 3;

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
        const auto failures = watch.GetFailures();
        const auto invariants = std::views::keys(failures);
        return {invariants.begin(), invariants.end()};
    }

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
        if (game.m_gameOverWindow && Menu(game.m_gameOverWindow).m_openRequested)
            Current(game).m_score += 10;
    };
    const auto lose = [](TestedGame& game) { game.m_gameLogic->SetState(kLost); };
    EXPECT_EQ(
        Watched(
            Join({{NewPlayer(true)}, StartLevel("level", lose), {{"game over", Shown(&TestedGame::m_gameOverWindow)}}}),
            scoreNotSaved),
        std::set<std::string>{"progress kept: a lost level"});
}

TEST_F(GameWatchFaults, ProgressKeptFailsOnAnUnsortedTable)
{
    const auto savedUnsorted = [sorted = true](TestedGame& game) mutable {
        if (!sorted || !game.m_highScoresWindow || !Menu(game.m_highScoresWindow).m_openRequested)
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
        std::set<std::string>{"progress kept: the high scores"});
}

TEST_F(GameWatchFaults, SoundFilesFailOnATemporaryFileAndAnErrorLine)
{
    const auto leaveFaults = [](TestedGame& game) {
        TestSupport::WriteFile(UserFolder() + "profiles/left.prf.tmp", "half a save");
        game.GetEngine()->m_log->Error("a fault");
    };
    EXPECT_EQ(Watched({NewPlayer(true), {"main menu", MainMenuShown, leaveFaults}}),
              (std::set<std::string>{"sound files: left over", "sound files: the log"}));
}

} // namespace
