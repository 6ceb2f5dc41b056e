// The game base's result dispatch on the test game: every window's codes and what its handler opens, closes,
// creates and deletes (read from the journal), the level's won and lost states, the profile's way through the
// levels as its file keeps it, the best level, and a current level the catalogue does not hold.
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "framework/HighScoresTable.h"
#include "framework/LevelManagerBase.h"
#include "framework/ScoreKeeper.h"
#include "framework/WindowRequest.h"
#include "tests/framework/EnginePlatform.h"
#include "tests/framework/ShellGame.h"

#include <algorithm>
#include <filesystem>

using namespace GameFramework;
using FrameworkTesting::Journal;
using FrameworkTesting::ShellGame;
using Entries = std::vector<std::string>;

namespace {

using GameBaseResultsTest = FrameworkTesting::ShellFixture;

TEST_F(GameBaseResultsTest, LogosAndGameLoadingLeadToWelcomeOrToTheMainMenu)
{
    journal.entries.clear();
    EXPECT_TRUE(Dispatch("LogosWindow", 2).empty());
    EXPECT_EQ(Dispatch("LogosWindow", RequestDone), (Entries{"close LogosWindow", "open GameLoadingWindow"}));
    EXPECT_EQ(game->m_gameLoadingWindow->GetKeeper(), game->m_gameData.get()) << "the game data";

    EXPECT_FALSE(game->m_controls->m_cursorVisible);
    const Entries entries = Dispatch("GameLoadingWindow", RequestDone);
    ASSERT_EQ(entries.size(), 1u + 23u + 1u);
    EXPECT_EQ(entries.front(), "close GameLoadingWindow");
    EXPECT_EQ(entries[1], "CreateGameLogicLoadingWindow") << "CreateWindows";
    EXPECT_EQ(entries.back(), "open WelcomeWindow") << "no profile yet";
    EXPECT_TRUE(game->m_controls->m_cursorVisible);

    // With a profile the main menu opens instead; the windows are made anew.
    game = nullptr;
    game = std::make_unique<ShellGame>(journal);
    game->m_profileManager->AddProfile(u"Ann");
    EXPECT_EQ(Dispatch("GameLoadingWindow", RequestDone).back(), "open MainMenuWindow");
}

TEST_F(GameBaseResultsTest, MenuAndProfileWindowsCloseAndOpenTheirNeighbours)
{
    Ready();
    ExpectRows(
        {{"WelcomeWindow", RequestBack, {"close WelcomeWindow", "open MainMenuWindow"}},
         {"WelcomeWindow", RequestQuit, {"close WelcomeWindow", "open ExitWindow"}},
         {"ExitWindow", RequestWelcome, {"close ExitWindow", "open WelcomeWindow"}},
         {"ExitWindow", RequestBack, {"close ExitWindow", "open MainMenuWindow"}},
         {"ExitWindow", RequestNewProfile, {"close ExitWindow", "open NewProfileWindow"}},
         {"MainMenuWindow", RequestProfiles, {"close MainMenuWindow", "open ProfilesWindow"}},
         {"MainMenuWindow", RequestOptions, {"close MainMenuWindow", "open OptionsWindow"}},
         {"MainMenuWindow", RequestHelp, {"close MainMenuWindow", "open HelpWindow"}},
         {"ProfilesWindow", RequestNewProfile, {"close ProfilesWindow", "open NewProfileWindow"}},
         {"ProfilesWindow", RequestBack, {"close ProfilesWindow", "open MainMenuWindow"}},
         {"NewProfileWindow", RequestNameTaken, {"close NewProfileWindow", "open ProfileNameConflictWindow"}},
         {"NewProfileWindow", RequestProfiles, {"close NewProfileWindow", "open ProfilesWindow"}},
         {"RenameProfileWindow", RequestProfiles, {"close RenameProfileWindow", "open ProfilesWindow"}},
         {"DeleteProfileWindow", RequestProfiles, {"close DeleteProfileWindow", "open ProfilesWindow"}},
         {"DeleteProfileWindow", RequestNewProfile, {"close DeleteProfileWindow", "open NewProfileWindow"}},
         {"ProfileNameConflictWindow", RequestNewProfile, {"close ProfileNameConflictWindow", "open NewProfileWindow"}},
         {"ContinueGameLogicWindow", RequestBack, {"close ContinueGameLogicWindow", "open MainMenuWindow"}},
         {"HighScoresWindow", RequestBack, {"close HighScoresWindow", "open MainMenuWindow"}},
         {"OptionsWindow", RequestBack, {"close OptionsWindow", "open MainMenuWindow"}},
         {"HelpWindow", RequestBack, {"close HelpWindow", "open MainMenuWindow"}},
         {"StartGameLogicWindow", RequestBack, {"close StartGameLogicWindow", "open MainMenuWindow"}}});

    // The parameters the windows keep.
    Dispatch("WelcomeWindow", RequestQuit);
    EXPECT_EQ(game->m_exitWindow->m_callerCode, 1);
    Dispatch("MainMenuWindow", RequestQuit);
    EXPECT_EQ(game->m_exitWindow->m_callerCode, 2);
    EXPECT_EQ(Dispatch("NewProfileWindow", RequestQuit), (Entries{"close NewProfileWindow", "open ExitWindow"}));
    EXPECT_EQ(game->m_exitWindow->m_callerCode, 3);
    EXPECT_EQ(game->m_profileNameConflictWindow->m_callerCode, 3);
    Dispatch("RenameProfileWindow", RequestNameTaken);
    EXPECT_EQ(game->m_profileNameConflictWindow->m_callerCode, 4);
    Dispatch("MainMenuWindow", RequestHighScores);
    EXPECT_EQ(game->m_highScoresWindow->m_mode, 2);
    EXPECT_EQ(game->m_highScoresWindow->m_highlighted, nullptr);
    game->m_profilesWindow->m_selectedName = u"Ann";
    EXPECT_EQ(Dispatch("ProfilesWindow", RequestRenameProfile),
              (Entries{"close ProfilesWindow", "open RenameProfileWindow"}));
    EXPECT_EQ(game->m_renameProfileWindow->m_profileName, u"Ann");
    EXPECT_EQ(Dispatch("ProfilesWindow", RequestDeleteProfile),
              (Entries{"close ProfilesWindow", "open DeleteProfileWindow"}));
    EXPECT_EQ(game->m_deleteProfileWindow->m_profileName, u"Ann");
    game->m_renameProfileWindow->m_profileName = u"kept";
    EXPECT_EQ(Dispatch("ProfileNameConflictWindow", RequestRenameProfile),
              (Entries{"close ProfileNameConflictWindow", "open RenameProfileWindow"}));
    EXPECT_EQ(game->m_renameProfileWindow->m_profileName, u"kept") << "opened without a name to keep";

    EXPECT_FALSE(game->m_engine->IsExitRequested());
    EXPECT_TRUE(Dispatch("ExitWindow", RequestExitProgram).empty());
    EXPECT_TRUE(game->m_engine->IsExitRequested());
}

TEST_F(GameBaseResultsTest, CodeZeroAndUnlistedCodesDoNothing)
{
    Ready();
    StartLevel({0, 0});
    for (const char* window : {"LogosWindow",
                               "GameLoadingWindow",
                               "WelcomeWindow",
                               "ExitWindow",
                               "MainMenuWindow",
                               "ProfilesWindow",
                               "GameLogicLoadingWindow",
                               "NewProfileWindow",
                               "RenameProfileWindow",
                               "DeleteProfileWindow",
                               "ProfileNameConflictWindow",
                               "StartGameLogicWindow",
                               "ContinueGameLogicWindow",
                               "HighScoresWindow",
                               "OptionsWindow",
                               "HelpWindow",
                               "GameLogicWindow",
                               "GameLogicPauseWindow",
                               "GameLogicMenuWindow",
                               "GameLogicMenuExitWindow",
                               "GameLogicGameExitWindow",
                               "LevelCompleteWindow",
                               "StageCompleteWindow",
                               "GameCompleteWindow",
                               "GameOverWindow"}) {
        for (const std::uint32_t code : {0u, 19u, 99u})
            EXPECT_TRUE(Dispatch(window, code).empty()) << window << " " << code;
    }
    EXPECT_FALSE(game->m_engine->IsExitRequested());
    EXPECT_EQ(game->Logic().GetState(), GameLogicBase::LevelPlaying);
}

TEST_F(GameBaseResultsTest, MainMenuStartContinuesOrStartsAnew)
{
    Ready();
    profile->m_continue = 1;
    profile->m_score = 40;
    EXPECT_EQ(Dispatch("MainMenuWindow", RequestStart),
              (Entries{"close MainMenuWindow", "open ContinueGameLogicWindow"}));
    EXPECT_EQ(profile->m_score, 40u) << "kept for the continue window";

    profile->m_continue = 0;
    profile->m_carriedValue = 9;
    EXPECT_EQ(Dispatch("MainMenuWindow", RequestStart), (Entries{"close MainMenuWindow", "open StartGameLogicWindow"}));
    EXPECT_EQ(profile->m_score, 0u) << "reset";
    EXPECT_EQ(profile->m_carriedValue, 3u);
    EXPECT_EQ(game->m_startGameLogicWindow->m_mode, 2);

    // The continue window: continue keeps the game, a new game clears the flag in the file and resets.
    EXPECT_EQ(Dispatch("ContinueGameLogicWindow", RequestContinueGame),
              (Entries{"close ContinueGameLogicWindow", "open StartGameLogicWindow"}));
    EXPECT_EQ(game->m_startGameLogicWindow->m_mode, 6);
    profile->m_continue = 1;
    profile->m_score = 40;
    game->m_startGameLogicWindow->m_mode = 0;
    EXPECT_EQ(Dispatch("ContinueGameLogicWindow", RequestNewGame),
              (Entries{"close ContinueGameLogicWindow", "open StartGameLogicWindow"}));
    EXPECT_EQ(game->m_startGameLogicWindow->m_mode, 6);
    EXPECT_EQ(profile->m_continue, 0);
    EXPECT_EQ(profile->m_score, 0u);
    EXPECT_EQ(Saved()->m_continue, 0);
    EXPECT_EQ(Saved()->m_score, 40u) << "saved before the reset";
}

TEST_F(GameBaseResultsTest, StartingLevelsKeepsThePreviousLevelsDataUntilTheNextOnesExist)
{
    Ready();
    profile->m_carriedValue = 7;
    EXPECT_EQ(Dispatch("StartGameLogicWindow", RequestStart),
              (Entries{"CreateGameLogicData", "close StartGameLogicWindow", "open GameLogicLoadingWindow"}));
    EXPECT_EQ(game->m_gameLogicLoadingWindow->GetKeeper(), game->m_gameLogicData.get());
    EXPECT_EQ(game->m_previousGameLogicData, nullptr);
    DataKeeper* first = game->m_gameLogicData.get();

    EXPECT_EQ(Dispatch("GameLogicLoadingWindow", RequestDone),
              (Entries{"close GameLogicLoadingWindow", "CreateGameLogic", "open GameLogicWindow"}));
    ASSERT_NE(game->m_gameLogic, nullptr);
    EXPECT_EQ(game->m_gameLogic->GetCarriedValue(), 7u);
    EXPECT_EQ(game->m_gameLogic->GetLevel(), game->m_levelManager->GetLevel({0, 0}));
    EXPECT_EQ(game->m_gameLogic->GetStage(), &game->m_levelManager->GetStage(0));

    profile->m_currentLevel = {0, 1};
    EXPECT_EQ(Dispatch("StartGameLogicWindow", RequestStart).front(), "CreateGameLogicData");
    EXPECT_EQ(game->m_previousGameLogicData.get(), first);
    profile->m_currentLevel = {0, 2};
    EXPECT_EQ(Dispatch("StartGameLogicWindow", RequestStart),
              (Entries{"delete level data 0", "CreateGameLogicData", "close StartGameLogicWindow",
                       "open GameLogicLoadingWindow"}));
    EXPECT_EQ(Dispatch("StartGameLogicWindow", RequestStart).front(), "delete level data 1");
}

TEST_F(GameBaseResultsTest, DialogsOverTheLevelPauseItAndGiveItBack)
{
    Ready();
    StartLevel({0, 0});
    const auto& window = *game->m_gameLogicWindow;
    const struct
    {
        std::uint32_t code;
        const char* dialog;
    } dialogs[] = {{RequestGameLogicMenu, "GameLogicMenuWindow"},
                   {RequestPause, "GameLogicPauseWindow"},
                   {RequestQuit, "GameLogicGameExitWindow"}};
    for (const auto& d : dialogs) {
        game->m_gameLogicWindow->SetActive(true);
        game->m_gameLogic->SetState(GameLogicBase::LevelPlaying);
        EXPECT_EQ(Dispatch("GameLogicWindow", d.code), (Entries{std::string("open ") + d.dialog}));
        EXPECT_FALSE(window.m_active) << d.dialog;
        EXPECT_EQ(game->m_gameLogic->GetState(), GameLogicBase::LevelPaused) << d.dialog;
        EXPECT_EQ(Dispatch(d.dialog, RequestResume), (Entries{std::string("close ") + d.dialog}));
        EXPECT_TRUE(window.m_active) << d.dialog;
        EXPECT_EQ(game->m_gameLogic->GetState(), GameLogicBase::LevelPlaying) << d.dialog;
    }

    EXPECT_EQ(Dispatch("GameLogicMenuWindow", RequestLeaveLevel),
              (Entries{"close GameLogicMenuWindow", "open GameLogicMenuExitWindow"}));
    EXPECT_EQ(Dispatch("GameLogicMenuExitWindow", RequestGameLogicMenu),
              (Entries{"close GameLogicMenuExitWindow", "open GameLogicMenuWindow"}));
    EXPECT_EQ(
        Dispatch("GameLogicMenuExitWindow", RequestBack),
        (Entries{"close GameLogicMenuExitWindow", "close GameLogicWindow", "delete GameLogic", "open MainMenuWindow"}));
    EXPECT_EQ(game->m_gameLogic, nullptr);

    StartLevel({0, 0});
    EXPECT_TRUE(Dispatch("GameLogicGameExitWindow", RequestExitProgram).empty());
    EXPECT_TRUE(game->m_engine->IsExitRequested());
}

TEST_F(GameBaseResultsTest, DispatchRunsTheWindowsThenTheLevelStateThenTheLevelsEnd)
{
    Ready();
    StartLevel({0, 0});
    const char* backToMenu[] = {"WelcomeWindow",
                                "ExitWindow",
                                "ProfilesWindow",
                                "NewProfileWindow",
                                "RenameProfileWindow",
                                "DeleteProfileWindow",
                                "StartGameLogicWindow",
                                "ContinueGameLogicWindow",
                                "HighScoresWindow",
                                "OptionsWindow",
                                "HelpWindow"};
    for (const char* window : backToMenu)
        Result(window) = RequestBack;
    Result("LogosWindow") = RequestDone;
    Result("MainMenuWindow") = RequestOptions;
    Result("ProfileNameConflictWindow") = RequestNewProfile;
    Result("NewProfileWindow") = RequestProfiles;
    Result("RenameProfileWindow") = RequestProfiles;
    Result("DeleteProfileWindow") = RequestProfiles;
    // Handlers that give the level back would set its state to 0, so the level's dialogs only move on.
    Result("GameLogicMenuWindow") = RequestLeaveLevel;
    Result("GameLogicMenuExitWindow") = RequestGameLogicMenu;
    Result("LevelCompleteWindow") = RequestDone;
    game->m_gameLogic->SetState(GameLogicBase::LevelWon);
    journal.entries.clear();
    game->DispatchWindowResults();
    const Entries expected = {"close LogosWindow",
                              "close WelcomeWindow",
                              "close ExitWindow",
                              "close MainMenuWindow",
                              "close ProfilesWindow",
                              "close NewProfileWindow",
                              "close RenameProfileWindow",
                              "close DeleteProfileWindow",
                              "close ProfileNameConflictWindow",
                              "close StartGameLogicWindow",
                              "close ContinueGameLogicWindow",
                              "close HighScoresWindow",
                              "close OptionsWindow",
                              "close HelpWindow",
                              "close GameLogicMenuWindow",
                              "close GameLogicMenuExitWindow",
                              "open LevelCompleteWindow",
                              "close LevelCompleteWindow",
                              "close GameLogicWindow"};
    Entries seen;
    for (const std::string& entry : journal.entries) {
        if (entry.rfind("close", 0) == 0 || entry == "open LevelCompleteWindow")
            seen.push_back(entry);
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(GameBaseResultsTest, LevelStatesReachTheirHandlerOnce)
{
    Ready();
    StartLevel({0, 0});
    game->watch = true;
    const auto passes = [&] {
        journal.entries.clear();
        for (int i = 0; i < 3; ++i) {
            game->DispatchWindowResults();
            game->ClearWindowResults();
        }
        return journal.Starting("OnLevel");
    };
    for (const auto state : {GameLogicBase::LevelPaused, GameLogicBase::LevelPlaying, GameLogicBase::LevelState{4}}) {
        game->m_gameLogic->SetState(state);
        EXPECT_TRUE(passes().empty()) << state;
    }
    game->m_gameLogic->SetState(GameLogicBase::LevelLost);
    EXPECT_EQ(passes(), Entries{"OnLevelLost"});
    EXPECT_EQ(journal.Starting("open"), Entries{"open GameOverWindow"});
    EXPECT_FALSE(game->m_gameLogicWindow->m_active);

    game->m_gameLogic->SetState(GameLogicBase::LevelPlaying);
    game->m_gameLogic->SetState(GameLogicBase::LevelWon);
    EXPECT_EQ(passes(), Entries{"OnLevelWon"});
    EXPECT_EQ(journal.Starting("open"), Entries{"open LevelCompleteWindow"});
}

TEST_F(GameBaseResultsTest, LosingAndGameOverFeedTheTableWithTheRunningTotal)
{
    Ready();
    StartLevel({0, 1});
    profile->m_continue = 1;
    game->m_gameLogic->SetState(GameLogicBase::LevelLost);
    Dispatch("GameLogicWindow", 0);
    EXPECT_EQ(Saved()->m_continue, 0);

    // A total of 0: the main menu, the table untouched.
    EXPECT_EQ(Dispatch("GameOverWindow", RequestDone),
              (Entries{"close GameOverWindow", "open MainMenuWindow", "close GameLogicWindow", "delete GameLogic"}));
    EXPECT_TRUE(game->m_highScoresTable->GetEntries().empty());

    StartLevel({0, 1});
    profile->m_score = 30;
    game->m_gameLogic->GetScoreKeeper()->m_total = 12;
    EXPECT_EQ(Dispatch("GameOverWindow", RequestDone),
              (Entries{"close GameOverWindow", "open HighScoresWindow", "close GameLogicWindow", "delete GameLogic"}));
    ASSERT_EQ(game->m_highScoresTable->GetEntries().size(), 1u);
    const HighScoreEntry* entry = game->m_highScoresTable->GetEntries()[0].get();
    EXPECT_EQ(entry->score, 42u);
    EXPECT_EQ(entry->name, u"Ann");
    EXPECT_EQ(game->m_highScoresWindow->m_mode, 10);
    EXPECT_EQ(game->m_highScoresWindow->m_highlighted, entry);
}

// Winning moves the profile on and saves it; after the last level of a stage the stage-complete window follows,
// after the last level of the game the game-complete window and the high-score table.
TEST_F(GameBaseResultsTest, WinningLeadsThroughTheStagesToTheGamesEnd)
{
    Ready();
    const auto win = [&](LevelId id, std::uint32_t points) {
        StartLevel(id);
        profile->m_carriedValue = 0;
        game->m_gameLogic->GetScoreKeeper()->m_total = points;
        game->m_gameLogic->SetState(GameLogicBase::LevelWon);
        return Dispatch("GameLogicWindow", 0);
    };
    profile->m_carriedValue = 5;
    EXPECT_EQ(win({0, 0}, 10), Entries{"open LevelCompleteWindow"});
    EXPECT_FALSE(game->m_gameLogicWindow->m_active);
    auto saved = Saved();
    EXPECT_EQ(saved->m_currentLevel.stage, 0u);
    EXPECT_EQ(saved->m_currentLevel.level, 1u);
    EXPECT_EQ(saved->m_bestLevel.level, 1u);
    EXPECT_EQ(saved->m_finished, 0);
    EXPECT_EQ(saved->m_continue, 1);
    EXPECT_EQ(saved->m_score, 10u);
    EXPECT_EQ(saved->m_carriedValue, 5u) << "the logic's carried value";
    EXPECT_EQ(game->m_gameLogic->GetScoreKeeper()->m_total, 0u);
    EXPECT_EQ(Dispatch("LevelCompleteWindow", RequestDone),
              (Entries{"close LevelCompleteWindow", "close GameLogicWindow", "delete GameLogic",
                       "open StartGameLogicWindow"}));
    EXPECT_EQ(game->m_startGameLogicWindow->m_mode, 7);

    // The last level of stage 0: stage complete, then the map.
    win({0, 2}, 5);
    saved = Saved();
    EXPECT_EQ(saved->m_currentLevel.stage, 1u);
    EXPECT_EQ(saved->m_currentLevel.level, 0u);
    EXPECT_EQ(Dispatch("LevelCompleteWindow", RequestDone),
              (Entries{"close LevelCompleteWindow", "open StageCompleteWindow"}));
    EXPECT_EQ(Dispatch("StageCompleteWindow", RequestDone),
              (Entries{"close StageCompleteWindow", "close GameLogicWindow", "delete GameLogic",
                       "open StartGameLogicWindow"}));
    EXPECT_EQ(game->m_startGameLogicWindow->m_mode, 8);

    // The last level of the game stays current, is recorded finished, and nothing is left to continue.
    win({1, 1}, 20);
    saved = Saved();
    EXPECT_EQ(saved->m_currentLevel.stage, 1u);
    EXPECT_EQ(saved->m_currentLevel.level, 1u);
    EXPECT_EQ(saved->m_bestLevel.stage, 1u);
    EXPECT_EQ(saved->m_bestLevel.level, 1u);
    EXPECT_EQ(saved->m_finished, 1);
    EXPECT_EQ(saved->m_continue, 0);
    EXPECT_EQ(saved->m_score, 35u);
    EXPECT_EQ(Dispatch("LevelCompleteWindow", RequestDone),
              (Entries{"close LevelCompleteWindow", "open StageCompleteWindow"}));
    // The level's id is read before its logic is deleted (the sanitizer build watches the order).
    EXPECT_EQ(
        Dispatch("StageCompleteWindow", RequestDone),
        (Entries{"close StageCompleteWindow", "close GameLogicWindow", "delete GameLogic", "open GameCompleteWindow"}));
    EXPECT_EQ(Dispatch("GameCompleteWindow", RequestDone),
              (Entries{"close GameCompleteWindow", "open HighScoresWindow"}));
    ASSERT_EQ(game->m_highScoresTable->GetEntries().size(), 1u);
    EXPECT_EQ(game->m_highScoresTable->GetEntries()[0]->score, 35u);
    EXPECT_EQ(game->m_highScoresWindow->m_mode, 9);
    EXPECT_EQ(game->m_highScoresWindow->m_highlighted, game->m_highScoresTable->GetEntries()[0].get());

    // A score of 0 goes to the main menu without touching the table.
    profile->m_score = 0;
    EXPECT_EQ(Dispatch("GameCompleteWindow", RequestDone),
              (Entries{"close GameCompleteWindow", "open MainMenuWindow"}));
    EXPECT_EQ(game->m_highScoresTable->GetEntries().size(), 1u);
}

TEST_F(GameBaseResultsTest, AdvanceLevelAndOneLevelBack)
{
    Ready();
    const struct
    {
        LevelId from;
        LevelId next;
        LevelId back;
    } cases[] = {{{0, 0}, {0, 1}, {0, 0}},
                 {{0, 1}, {0, 2}, {0, 0}},
                 {{0, 2}, {1, 0}, {0, 1}},
                 {{1, 0}, {1, 1}, {0, 2}},
                 {{1, 1}, {1, 1}, {1, 0}}};
    for (const auto& c : cases) {
        const LevelId next = game->AdvanceLevel(c.from);
        EXPECT_EQ(next.stage, c.next.stage) << c.from.stage << "." << c.from.level;
        EXPECT_EQ(next.level, c.next.level) << c.from.stage << "." << c.from.level;

        StartLevel(c.from);
        journal.entries.clear();
        game->OnGameLogicStateChange();
        EXPECT_EQ(journal.entries, (Entries{"close GameLogicWindow", "delete GameLogic", "open StartGameLogicWindow"}));
        EXPECT_EQ(game->m_startGameLogicWindow->m_mode, 2);
        const auto saved = Saved();
        EXPECT_EQ(saved->m_currentLevel.stage, c.back.stage) << c.from.stage << "." << c.from.level;
        EXPECT_EQ(saved->m_currentLevel.level, c.back.level) << c.from.stage << "." << c.from.level;
    }
}

TEST_F(GameBaseResultsTest, BestLevelIsRecordedAndSavedOnlyWhenItMovesOnOrFinishes)
{
    Ready();
    std::string file = profile->GetFilePath(profile->GetFileName());
    std::replace(file.begin(), file.end(), '\\', '/');
    const struct
    {
        LevelId best;
        std::uint8_t bestFinished;
        LevelId id;
        bool finished;
        bool recorded;
    } cases[] = {
        {{0x80000000u, 0}, 0, {1, 0}, false, false},
        {{1, 1}, 0, {2, 0}, false, true},
        {{1, 1}, 0, {1, 2}, false, true},
        {{1, 1}, 0, {1, 1}, true, true},
        {{1, 1}, 1, {1, 1}, false, false},
        {{1, 1}, 0, {1, 0}, true, false},
        {{1, 1}, 0, {0, 9}, false, false},
        {{0, 0}, 0, {0x80000000u, 0}, false, true},
        {{0, 0x7fffffffu}, 0, {0, 0x80000000u}, false, true},
    };
    for (const auto& c : cases) {
        profile->m_bestLevel = c.best;
        profile->m_finished = c.bestFinished;
        std::filesystem::remove(file);
        GameBase::RecordBestLevel(*profile, c.id, c.finished);
        const LevelId expected = c.recorded ? c.id : c.best;
        EXPECT_EQ(profile->m_bestLevel.stage, expected.stage) << c.id.stage << "." << c.id.level;
        EXPECT_EQ(profile->m_bestLevel.level, expected.level) << c.id.stage << "." << c.id.level;
        EXPECT_EQ(profile->m_finished, c.recorded ? c.finished : c.bestFinished);
        EXPECT_EQ(std::filesystem::exists(file), c.recorded) << "saved only on change";
    }
    EXPECT_EQ(Saved()->m_bestLevel.stage, 0u) << "the last change";
    EXPECT_EQ(Saved()->m_bestLevel.level, 0x80000000u);
}

TEST_F(GameBaseResultsTest, ACurrentLevelOutsideTheCatalogueGoesBackToTheFirstLevel)
{
    Ready();
    for (const LevelId damaged : {LevelId{5, 0}, LevelId{0, 3}, LevelId{1, 2}, LevelId{0xffffffffu, 0xffffffffu}}) {
        profile->m_currentLevel = damaged;
        game->m_log->ClearHistory();
        EXPECT_EQ(Dispatch("StartGameLogicWindow", RequestStart).back(), "open GameLogicLoadingWindow");
        EXPECT_EQ(profile->m_currentLevel.stage, 0u);
        EXPECT_EQ(profile->m_currentLevel.level, 0u);
        EXPECT_EQ(Saved()->m_currentLevel.stage, 0u);
        EXPECT_EQ(Saved()->m_currentLevel.level, 0u);
        ASSERT_FALSE(game->m_log->m_history.empty());
        EXPECT_EQ(game->m_log->m_history.front().kind, KeystrelEngine::MessageManager::KindWarning);
    }
    EXPECT_EQ(Dispatch("GameLogicLoadingWindow", RequestDone).back(), "open GameLogicWindow");
    EXPECT_EQ(game->m_gameLogic->GetLevel(), game->m_levelManager->GetLevel({0, 0}));

    // A catalogue without a level has no level to fall back on.
    FrameworkTesting::WriteShellData("0\n");
    game->m_levelManager->Load();
    profile->m_currentLevel = {0, 0};
    EXPECT_THROW(Dispatch("StartGameLogicWindow", RequestStart), KeystrelEngine::FatalError);
}

} // namespace
