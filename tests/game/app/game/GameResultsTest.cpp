// The game's reactions to its windows' requests, in the running game: the story told once per profile, the
// upgrade scene from the main menu and after a stage's last level, the ending shown once, the two level tracks in
// turn and the menu track on every way back, a lost level's end of the saved game, the relax offer after the high
// scores, the clearing of every window's request after a dispatch pass, a level's end taken before a dialog request
// of its deciding frame, one dialog at a time over a level that loses the focus, and a quit confirmed as the focus
// goes. Most requests are set where the player's clicks would have left them; the windows that leave by themselves
// before they report (level complete, game over, the upgrade scene) are clicked. What follows each request is the
// game's own doing.
#include "tests/game/app/game/GameFixture.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIScroll.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/ParticleSystem.h"
#include "engine/sound/Sound.h"
#include "framework/AudioPlayer.h"
#include "framework/GUIContinueGameLogicWindowBase.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStageCompleteWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIExitWindow.h"
#include "game/app/GUIGameCompleteWindow.h"
#include "game/app/GUIGameCursor.h"
#include "game/app/GUIGameLogicMenuExitWindow.h"
#include "game/app/GUIGameLogicMenuWindow.h"
#include "game/app/GUIGameLogicPauseWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUIGameOverWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIRelaxWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/GameLogicExitQuestion.h"
#include "game/app/Profile.h"
#include "game/play/Character.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"

#include <SDL_mouse.h>
#include <SDL_scancode.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace GameTesting;
using GameFramework::GameLogicBase;
using GameFramework::RequestBack;
using GameFramework::RequestDone;
using GameFramework::RequestStart;
using Wispfold::Character;
using Wispfold::Game;
using Wispfold::Profile;

using GameResults = GameFixture;

// Asked to appear, or on screen.
template <class Pointer> bool Opened(const Pointer& window)
{
    return Menu(window).IsOpenRequested() || Menu(window).IsShown();
}

// The current profile as its file holds it.
std::unique_ptr<Profile> Saved(const TestedGame& game)
{
    const KeystrelEngine::Engine& engine = *game.GetEngine();
    return std::make_unique<Profile>(engine.m_log.get(), engine.m_files.get(), game.GetUserFolder(),
                                     Current(game).GetFileName());
}

// The name of the track the channel plays and goes on playing; empty while it is silent or fading out to stop.
std::string Music(const TestedGame& game, std::uint32_t channel)
{
    const GameFramework::MusicTrack* track = game.Player().GetChannelTrack(channel);
    if (!track || track->GetSoundState() != KeystrelEngine::Sound::Playing ||
        track->GetState() == GameFramework::MusicTrack::FadingOutToStop)
        return {};
    const std::string& path = track->GetSound()->GetName(); // "audio\music\<name>.<extension>"
    const std::size_t start = path.rfind('\\') + 1;
    return path.substr(start, path.rfind('.') - start);
}

// Both channels: the menu's, then the levels'.
std::vector<std::string> Music(const TestedGame& game)
{
    return {Music(game, Game::kMenuChannel), Music(game, Game::kLevelChannel)};
}

const std::vector<std::string> kMenuMusic{"menu", ""};

// The upgrade scene, looked at once it is opened (the step's action) and clicked away once a click counts; it
// then reports by itself.
std::vector<Step> UpgradeScene(const std::string& name, const std::function<void(TestedGame&)>& opened)
{
    std::vector<Step> steps =
        ClickAfter({name + ": click", [](TestedGame& game) {
                        return game.GetUpgradeWindow()->GetClock() > Wispfold::GUIUpgradeWindow::kClickDelay;
                    }});
    steps.insert(steps.begin(), {name, [](TestedGame& game) { return game.GetUpgradeWindow()->IsActive(); }, opened});
    return steps;
}

// START while the story is pending tells it; its end clears the flag in the file too and goes on to the saved
// game; the next start goes straight to the map. The main menu's place request shows the upgrade scene in its
// menu mode, whose end returns to the main menu.
TEST_F(GameResults, TellsTheStoryOnceAndShowsThePlaceFromTheMainMenu)
{
    std::int32_t storyState = 0;
    bool menuLeftForStory = false;
    bool pendingAfter = true;
    bool savedPendingAfter = true;
    bool storyOpenAfter = true;
    bool storyOpenedAgain = true;
    std::int32_t mapMode = 0;
    std::int32_t upgradeMode = 0;
    bool menuLeftForUpgrade = false;
    bool upgradeShownAfter = true;
    EXPECT_EQ(
        Play(Join(
            {{NewPlayer(false),
              {"main menu", MainMenuShown,
               [](TestedGame& game) {
                   game.m_mainMenuWindow->m_result = Wispfold::GUIMainMenuWindow::kRequestIntroduction;
               }},
              {"story", Shown(&Game::GetIntroductionWindow),
               [&](TestedGame& game) {
                   storyState = game.GetCharacter()->GetState();
                   menuLeftForStory = !Opened(game.m_mainMenuWindow);
                   Current(game).m_continue = 1; // a saved game waits
                   game.GetIntroductionWindow()->m_result = RequestStart;
               }},
              {"continue window", Shown(&TestedGame::m_continueGameLogicWindow),
               [&](TestedGame& game) {
                   pendingAfter = Current(game).GetFlag(Profile::IntroductionPending);
                   savedPendingAfter = Saved(game)->GetFlag(Profile::IntroductionPending);
                   storyOpenAfter = Opened(game.GetIntroductionWindow());
                   game.m_continueGameLogicWindow->m_result = RequestBack;
               }},
              {"main menu again", MainMenuShown,
               [](TestedGame& game) {
                   Current(game).m_continue = 0;
                   game.m_mainMenuWindow->m_result = RequestStart; // the menu's start once the story is told
               }},
              {"map", Shown(&TestedGame::m_startGameLogicWindow),
               [&](TestedGame& game) {
                   storyOpenedAgain = Opened(game.GetIntroductionWindow());
                   mapMode = game.m_startGameLogicWindow->m_mode;
                   game.m_startGameLogicWindow->m_result = RequestBack;
               }},
              {"main menu for the place", MainMenuShown,
               [](TestedGame& game) {
                   game.m_mainMenuWindow->m_result = Wispfold::GUIMainMenuWindow::kRequestShowPlace;
               }}},
             UpgradeScene("upgrade scene",
                          [&](TestedGame& game) {
                              upgradeMode = game.GetUpgradeWindow()->GetMode();
                              menuLeftForUpgrade = !Opened(game.m_mainMenuWindow);
                          }),
             {{"main menu after the place", MainMenuShown,
               [&](TestedGame& game) { upgradeShownAfter = game.GetUpgradeWindow()->GetWindow()->IsVisible(); }}}})),
        0);
    EXPECT_EQ(storyState, Character::kStateMenu);
    EXPECT_TRUE(menuLeftForStory);
    EXPECT_FALSE(pendingAfter);
    EXPECT_FALSE(savedPendingAfter);
    EXPECT_FALSE(storyOpenAfter);
    EXPECT_FALSE(storyOpenedAgain);
    EXPECT_EQ(mapMode, 2);
    EXPECT_EQ(upgradeMode, Wispfold::GUIUpgradeWindow::kFromMainMenu);
    EXPECT_TRUE(menuLeftForUpgrade);
    EXPECT_FALSE(upgradeShownAfter);
}

// Four levels in a row play the two level tracks in turn, and leaving a level through the in-game menu, after a
// win and after a loss brings the menu track back; a level left or won as soon as it runs still brings its
// windows. A lost level ends the saved game in the file before the game-over window opens; the high scores' relax
// offer opens the relax window, whose end returns to the menu. Between levels every window's request and the
// level's changed flag are cleared in one go.
TEST_F(GameResults, PlaysTheLevelTracksInTurnAndTheMenuTrackOnEveryWayBack)
{
    std::vector<std::vector<std::string>> music; // both channels at each reading
    std::vector<bool> trail;                     // the cursor's trail at each reading
    const auto listen = [&music, &trail](TestedGame& game) {
        music.push_back(Music(game));
        trail.push_back(game.Cursor().GetTrail()->m_emitting);
    };
    std::size_t fields = 0;
    bool cleared = false;
    bool savedContinueBefore = false;
    std::uint32_t bonus = 0, savedScore = 0; // after the win: all its energy was left
    bool silentOnTheMap = false;             // the level's phrase gone with it
    bool continueAtGameOver = true;
    bool savedContinueAtGameOver = true;
    std::int32_t relaxState = 0;
    bool scoresLeft = false;
    bool relaxLeft = false;
    const auto whenShown = [](auto window, std::uint32_t code) {
        return [window, code](TestedGame& game) { std::invoke(window, game)->m_result = code; };
    };
    // Left through the in-game menu as soon as it runs, while the menu scene still dims away.
    const auto leaveAtOnce = [&](const std::string& name, const std::function<void(TestedGame&)>& atStart) {
        return Join({StartLevel(name,
                                [atStart](TestedGame& game) {
                                    atStart(game);
                                    game.m_gameLogicWindow->m_result = GameFramework::RequestGameLogicMenu;
                                }),
                     {{name + ": in-game menu", Shown(&TestedGame::m_gameLogicMenuWindow),
                       whenShown(&TestedGame::m_gameLogicMenuWindow, GameFramework::RequestLeaveLevel)},
                      {name + ": leave the level?", Shown(&TestedGame::m_gameLogicMenuExitWindow),
                       whenShown(&TestedGame::m_gameLogicMenuExitWindow, RequestBack)},
                      {name + ": main menu after leaving", MainMenuShown, listen}}});
    };
    std::vector<Step> steps =
        Join({{NewPlayer(true)},
              leaveAtOnce("first level",
                          [&](TestedGame& game) {
                              listen(game);
                              for (std::uint32_t* field : game.ResultFields())
                                  *field = 99; // no handler's code
                              fields = game.ResultFields().size();
                              game.m_gameLogic->SetState(GameLogicBase::LevelPaused);
                              game.ClearWindowResults();
                              cleared = !game.m_gameLogic->IsChanged();
                              for (const std::uint32_t* field : game.ResultFields())
                                  cleared = cleared && *field == 0;
                              game.m_gameLogic->SetState(GameLogicBase::LevelPlaying);
                          }),
              StartLevel("second level",
                         [&](TestedGame& game) {
                             listen(game);
                             game.m_gameLogic->SetState(GameLogicBase::LevelWon);
                             game.GetCharacter()->ShowText("CHARACTER_TUTORIAL_MAKE_SWAP_4", 9.0f); // a hint, held
                         }),
              PressContinue<Wispfold::GUILevelCompleteWindow>("level complete", &TestedGame::m_levelCompleteWindow),
              {{"map after the win", Shown(&TestedGame::m_startGameLogicWindow),
                [&](TestedGame& game) {
                    listen(game);
                    silentOnTheMap = game.GetCharacter()->IsSilent();
                    savedScore = Saved(game)->m_score;
                    bonus = dynamic_cast<Wispfold::GUILevelCompleteWindow&>(*game.m_levelCompleteWindow).m_energyBonus;
                    game.m_startGameLogicWindow->m_result = RequestStart;
                }},
               {"third level", LevelRuns,
                [&](TestedGame& game) {
                    listen(game);
                    savedContinueBefore = Saved(game)->m_continue != 0;
                    Current(game).m_score = 100; // enough for the table
                    game.m_gameLogic->SetState(GameLogicBase::LevelLost);
                }},
               {"game over", [](TestedGame& game) { return Opened(game.m_gameOverWindow); },
                [&](TestedGame& game) {
                    continueAtGameOver = Current(game).m_continue != 0;
                    savedContinueAtGameOver = Saved(game)->m_continue != 0;
                }}},
              PressContinue<Wispfold::GUIGameOverWindow>("game over shown", &TestedGame::m_gameOverWindow),
              {{"high scores", Shown(&TestedGame::m_highScoresWindow),
                [&](TestedGame& game) {
                    listen(game);
                    game.m_highScoresWindow->m_result = Wispfold::GUIHighScoresWindow::kRequestRelaxOffer;
                }},
               {"relax offer", Shown(&Game::GetRelaxWindow),
                [&](TestedGame& game) {
                    relaxState = game.GetCharacter()->GetState();
                    scoresLeft = !Opened(game.m_highScoresWindow);
                    game.GetRelaxWindow()->m_result = RequestBack;
                }},
               {"main menu after the offer", MainMenuShown,
                [&](TestedGame& game) { relaxLeft = !Opened(game.GetRelaxWindow()); }}},
              // The menu windows still hold the scene's panel from the first time.
              leaveAtOnce("fourth level", listen)});
    EXPECT_EQ(Play(std::move(steps)), 0);

    EXPECT_EQ(fields, 28u); // the game's three windows and the shell's
    EXPECT_TRUE(cleared);
    const std::vector<std::vector<std::string>> expected{{"", "game0"}, kMenuMusic, {"", "game1"}, kMenuMusic,
                                                         {"", "game0"}, kMenuMusic, {"", "game1"}, kMenuMusic};
    EXPECT_EQ(music, expected);
    EXPECT_EQ(trail, (std::vector<bool>{false, true, false, true, false, true, false, true}));
    EXPECT_TRUE(savedScore == bonus && bonus > 0) << savedScore << " for " << bonus;
    EXPECT_TRUE(silentOnTheMap);
    EXPECT_TRUE(savedContinueBefore) << "a won level leaves a game to continue";
    EXPECT_FALSE(continueAtGameOver);
    EXPECT_FALSE(savedContinueAtGameOver);
    EXPECT_EQ(relaxState, Character::kStateMenu);
    EXPECT_TRUE(scoresLeft);
    EXPECT_TRUE(relaxLeft);
}

// The last level of the game, won twice: after a stage's last level the upgrade scene comes between the level's
// end and the stage's, and the ending is shown after the first win only, its flag cleared in the file.
TEST_F(GameResults, ShowsTheEndingOnceAfterTheLastLevel)
{
    struct Upgrade
    {
        std::int32_t characterState = 0;
        std::int32_t mode = 0;
        std::vector<std::string> music;
        bool levelCompleteLeft = false;
    };
    std::vector<Upgrade> upgrades; // each completion's
    bool upgradeShownAtEnding = true;
    std::vector<bool> endingShown; // the game-complete window's show flag, each completion
    std::int32_t endingState = 0;
    bool pendingAfter = true;
    bool savedPendingAfter = true;
    bool endingOnScreenAgain = false;
    std::uint32_t scoreAfter = 1; // won without energy: no bonus
    const auto lastLevel = [](TestedGame& game) {
        const GameFramework::LevelManagerBase& levels = *game.m_levelManager;
        const std::uint32_t stage = levels.GetStageCount() - 1;
        // Reached already, so the map keeps it.
        Current(game).m_currentLevel = Current(game).m_bestLevel = {stage, levels.GetStage(stage).levelCount - 1};
        static_cast<Wispfold::LevelRecord*>(levels.GetLevel(Current(game).m_currentLevel))->levelFactor = 0.0f;
    };
    // Won as soon as it runs, while the menu scene still dims away.
    const auto playAndWin = [](const std::string& name) {
        return StartLevel(name, [](TestedGame& game) { game.m_gameLogic->SetState(GameLogicBase::LevelWon); });
    };
    const auto toTheStage = [&](const std::string& name) {
        return Join({PressContinue<Wispfold::GUILevelCompleteWindow>(name + ": level complete",
                                                                     &TestedGame::m_levelCompleteWindow),
                     UpgradeScene(name + ": upgrade scene", [&upgrades](TestedGame& game) {
                         upgrades.push_back({game.GetCharacter()->GetState(), game.GetUpgradeWindow()->GetMode(),
                                             Music(game), !Opened(game.m_levelCompleteWindow)});
                     })});
    };
    const auto ending = [](TestedGame& game) {
        return static_cast<const Wispfold::GUIGameCompleteWindow&>(*game.m_gameCompleteWindow).m_show;
    };
    const auto scoresOrMenu = [](TestedGame& game) {
        return MainMenuShown(game) || FullyShown(game.m_highScoresWindow);
    };
    const auto toTheMenu = [](TestedGame& game) {
        if (FullyShown(game.m_highScoresWindow))
            game.m_highScoresWindow->m_result = RequestBack;
    };
    std::vector<Step> steps = Join({{NewPlayer(true), {"last level", Always, lastLevel}},
                                    playAndWin("last level"),
                                    toTheStage("first"),
                                    {{"ending", Shown(&TestedGame::m_gameCompleteWindow),
                                      [&](TestedGame& game) {
                                          endingShown.push_back(ending(game));
                                          endingState = game.GetCharacter()->GetState();
                                          upgradeShownAtEnding = game.GetUpgradeWindow()->GetWindow()->IsVisible();
                                          game.m_gameCompleteWindow->m_result = RequestDone;
                                      }},
                                     {"after the ending", scoresOrMenu,
                                      [&](TestedGame& game) {
                                          pendingAfter = Current(game).GetFlag(Profile::EndingPending);
                                          scoreAfter = Current(game).m_score;
                                          savedPendingAfter = Saved(game)->GetFlag(Profile::EndingPending);
                                          toTheMenu(game);
                                      }}},
                                    playAndWin("last level again"),
                                    toTheStage("second"),
                                    {{"past the ending",
                                      [&](TestedGame& game) {
                                          endingOnScreenAgain =
                                              endingOnScreenAgain || Menu(game.m_gameCompleteWindow).IsShown();
                                          return Opened(game.m_highScoresWindow) || Opened(game.m_mainMenuWindow);
                                      },
                                      [&](TestedGame& game) { endingShown.push_back(ending(game)); }}}});
    EXPECT_EQ(Play(std::move(steps)), 0);

    ASSERT_EQ(upgrades.size(), 2u);
    for (const Upgrade& upgrade : upgrades) {
        EXPECT_EQ(upgrade.characterState, Character::kStateUpgrade);
        EXPECT_EQ(upgrade.mode, Wispfold::GUIUpgradeWindow::kFromLevelComplete);
        EXPECT_EQ(upgrade.music, kMenuMusic);
        EXPECT_TRUE(upgrade.levelCompleteLeft);
    }
    EXPECT_FALSE(upgradeShownAtEnding);
    EXPECT_EQ(endingShown, (std::vector<bool>{true, false}));
    EXPECT_EQ(endingState, Character::kStateMenu);
    EXPECT_FALSE(pendingAfter);
    EXPECT_FALSE(savedPendingAfter);
    EXPECT_FALSE(endingOnScreenAgain);
    EXPECT_EQ(scoreAfter, 0u);
}

// A level left through the in-game menu's exit takes the character with it, and its phrase: the upgrade scene the
// main menu shows afterwards runs its clock again (only while the figure is gone) and returns to the main menu.
// Left in its first frame, while the menu track still fades out, the level leaves the menu track playing long after
// that fade.
TEST_F(GameResults, TheUpgradeSceneAfterALevelLeftByTheMenuReturnsToTheMainMenu)
{
    bool silent = false;
    const auto showPlace = [&silent](TestedGame& game) {
        silent = game.GetCharacter()->IsSilent();
        game.m_mainMenuWindow->m_result = Wispfold::GUIMainMenuWindow::kRequestShowPlace;
    };
    const auto leave = [](TestedGame& game) {
        game.GetCharacter()->ShowText("CHARACTER_TUTORIAL_MAKE_SWAP_4", 9.0f); // as the tutorial says it
        game.m_gameLogicMenuExitWindow->m_result = RequestBack;
    };
    std::vector<std::string> music;
    EXPECT_EQ(Play(Join({{NewPlayer(true)},
                         StartLevel("level", leave),
                         {{"main menu after leaving", MainMenuShown, showPlace}},
                         UpgradeScene("upgrade scene", {}),
                         {{"main menu after the scene", MainMenuShown,
                           [&music](TestedGame& game) { music = Music(game); }}}})),
              0);
    EXPECT_TRUE(silent);
    EXPECT_EQ(music, kMenuMusic);
}

// The level runs and its window takes the player's requests.
bool LevelTakesKeys(TestedGame& game)
{
    return LevelRuns(game) && game.m_gameLogicWindow->m_active;
}

// ESC (the in-game menu) and its EXIT, then the question's OK, clicked (the level is left once the menu scene is
// back), or its NO and the menu's RETURN (the level resumes).
std::vector<Step> MenuExit(const std::string& name, std::function<bool(TestedGame&)> when, bool leave)
{
    std::vector<Step> steps{
        Request(name + ": ESC", std::move(when), &TestedGame::m_gameLogicWindow, GameFramework::RequestGameLogicMenu),
        Request(name + ": EXIT", &TestedGame::m_gameLogicMenuWindow, GameFramework::RequestLeaveLevel)};
    if (leave)
        return Join(
            {steps, ClickAfter({name + ": OK", Shown(&TestedGame::m_gameLogicMenuExitWindow), [](TestedGame& game) {
                                    const auto& exit = dynamic_cast<const Wispfold::GUIGameLogicMenuExitWindow&>(
                                        *game.m_gameLogicMenuExitWindow);
                                    AppTesting::PointAt(game.Window(), *exit.GetQuestion().GetOkButton()->GetWidget());
                                }})});
    steps.push_back(
        Request(name + ": NO", &TestedGame::m_gameLogicMenuExitWindow, GameFramework::RequestGameLogicMenu));
    steps.push_back(Request(name + ": RETURN", &TestedGame::m_gameLogicMenuWindow, GameFramework::RequestResume));
    return steps;
}

// A level left through the in-game menu (ESC, EXIT, OK), then in the next level a dialog answered so that the level
// resumes, ESC a few frames later while the dialog's frame folds and its panel goes, and EXIT and NO: the menu
// comes back in full and RETURN resumes the level, for every delay over the fold and the panel's going, in turn
// after the pause's RESUME and after NO to the close button's question. Each round's level is left through the
// menu for the next; back in the main menu, no window of a level holds the scene's panel any more.
TEST_F(GameResults, TheInGameMenuComesBackAfterItsExitQuestionWhateverTheDialogBeforeIt)
{
    int heldAfterLeaving = 0;
    const auto noPanelHeld = [&heldAfterLeaving](TestedGame& game) {
        for (const Wispfold::GUIMenuWindow* window :
             {&Menu(game.m_gameLogicPauseWindow), &Menu(game.m_gameLogicMenuWindow),
              &Menu(game.m_gameLogicMenuExitWindow), &Menu(game.m_gameLogicGameExitWindow)})
            heldAfterLeaving += window->HoldsPanel() ? 1 : 0;
    };
    std::vector<Step> steps = Join({{NewPlayer(true)}, StartLevel("first level", {})});
    for (int delay = 0; delay <= 36; ++delay) {
        const bool pause = delay % 2 == 0;
        const std::string name = (pause ? "pause, ESC after " : "close button, ESC after ") + std::to_string(delay);
        steps = Join(
            {std::move(steps),
             MenuExit(name + ": the level before", LevelTakesKeys, true),
             {{name + ": main menu", MainMenuShown, noPanelHeld}},
             StartLevel(name, {}),
             {Request(name + ": dialog", LevelTakesKeys, &TestedGame::m_gameLogicWindow,
                      pause ? GameFramework::RequestPause : GameFramework::RequestQuit),
              pause ? Request(name + ": RESUME", &TestedGame::m_gameLogicPauseWindow, GameFramework::RequestResume)
                    : Request(name + ": NO", &TestedGame::m_gameLogicGameExitWindow, GameFramework::RequestResume)},
             MenuExit(
                 name,
                 [asked = 0, delay](TestedGame& game) mutable { return asked++ >= delay && LevelTakesKeys(game); },
                 false)});
    }
    EXPECT_EQ(Play(std::move(steps)), 0);
    EXPECT_EQ(heldAfterLeaving, 0);
}

// The game window closed before anything else saved the profile: on level complete once the energy bonus of a
// level won with all its energy left has been counted, while it is still counted, in the upgrade scene after a
// stage's last level, and with the in-game menu open after a change of the sound volume. The profile's file holds
// the score and the volume that the game had when it closed; a bonus counted in full is in it before the close.
TEST_F(GameResults, TheProfileKeepsWhatTheGameShowedWhenItsWindowIsClosed)
{
    using Kept = std::pair<std::uint32_t, float>; // the score and the sound volume
    const auto kept = [](TestedGame& game) { return Kept{Current(game).m_score, game.Player().GetSoundVolume()}; };
    const auto saved = [folder = UserFolder()](const std::string& fileName) {
        KeystrelEngine::MessageManager reader(TestSupport::BaseFolder(), "reread", "reread", false, false);
        KeystrelEngine::FileManager files(&reader, "", "Data");
        const Profile profile(&reader, &files, folder.substr(0, folder.size() - 1), fileName);
        return Kept{profile.m_score, profile.m_volumes.sound};
    };
    const auto counted = [](TestedGame& game) {
        return dynamic_cast<const Wispfold::GUILevelCompleteWindow&>(*game.m_levelCompleteWindow).GetCountedEnergy();
    };
    const auto won = [](TestedGame& game) { game.m_gameLogic->SetState(GameLogicBase::LevelWon); };
    const auto lastOfStage = [](TestedGame& game) { // reached already, so the map keeps it
        Current(game).m_currentLevel = Current(game).m_bestLevel = {0, game.m_levelManager->GetStage(0).levelCount - 1};
    };
    const auto louder = [](TestedGame& game) {
        const auto& menu = dynamic_cast<const Wispfold::GUIGameLogicMenuWindow&>(*game.m_gameLogicMenuWindow);
        AppTesting::PointAt(game.Window(), *menu.GetSettings().GetSoundSlider().GetIncreaseButton());
    };
    const std::vector<std::tuple<std::string, std::vector<Step>, std::function<bool(TestedGame&)>, bool>> closings{
        {"count ended", StartLevel("level", won),
         [counted, last = 0u, still = 0](TestedGame& game) mutable {
             still = counted(game) == last ? still + 1 : 0;
             last = counted(game);
             return last > 0 && still == 15;
         },
         true},
        {"counting", StartLevel("level", won), [counted](TestedGame& game) { return counted(game) > 0; }, false},
        {"upgrade scene",
         Join({{{"last level of the stage", Always, lastOfStage}},
               StartLevel("level", won),
               PressContinue<Wispfold::GUILevelCompleteWindow>("level complete", &TestedGame::m_levelCompleteWindow)}),
         [](TestedGame& game) { return game.GetUpgradeWindow()->IsActive(); }, true},
        {"in-game menu",
         Join({StartLevel("level", {}),
               {Request("ESC", LevelTakesKeys, &TestedGame::m_gameLogicWindow, GameFramework::RequestGameLogicMenu)},
               ClickAfter({"louder", Shown(&TestedGame::m_gameLogicMenuWindow), louder})}),
         [](TestedGame& game) { return game.Player().GetSoundVolume() != game.Player().GetDefaultSoundVolume(); },
         false}};
    for (const auto& [name, before, closeWhen, savedBefore] : closings) {
        std::filesystem::remove_all(UserFolder() + "profiles"); // a new player each time
        Kept atStart, last, beforeClosing;
        std::string fileName;
        const Step watch{"watched", Always, [&](TestedGame& game) {
                             fileName = Current(game).GetFileName();
                             atStart = kept(game);
                             game.windowsUpdatedProbe = [shown = &game, &last, kept] { last = kept(*shown); };
                         }};
        const Step close{name + ": window closed", closeWhen, [&](TestedGame& game) {
                             beforeClosing = saved(fileName);
                             PlatformTesting::InjectWindowEvent(game.Window().m_handle,
                                                                PlatformTesting::WindowEvent::Close);
                         }};
        EXPECT_EQ(
            Play(Join(
                {{NewPlayer(true), watch}, before, {close, {"the game ends", [](TestedGame&) { return false; }}}})),
            0)
            << name;
        EXPECT_NE(last, atStart) << name << ": nothing to keep";
        EXPECT_EQ(saved(fileName), last) << name;
        if (savedBefore) {
            EXPECT_EQ(beforeClosing.first, last.first) << name;
        }
    }
}

// A "done" from each window that follows a level, with no level running, crashes nothing.
TEST_F(GameResults, DoneAfterALevelWithoutALevelRunningCrashesNothing)
{
    const auto done = [](TestedGame& game) {
        for (std::uint32_t* field : {&game.m_levelCompleteWindow->m_result, &game.m_stageCompleteWindow->m_result,
                                     &game.m_gameCompleteWindow->m_result, &game.m_gameOverWindow->m_result})
            *field = RequestDone;
    };
    EXPECT_EQ(Play({NewPlayer(true), {"main menu", MainMenuShown, done}, {"the game runs on", NextFrame()}}), 0);
}

const Wispfold::GUIGameLogicWindow& Hud(const TestedGame& game)
{
    return static_cast<const Wispfold::GUIGameLogicWindow&>(*game.m_gameLogicWindow);
}

// The level's window has faded in and takes the player's requests.
bool HudTakesKeys(TestedGame& game)
{
    return LevelTakesKeys(game) && Hud(game).GetAlpha() >= 1.0f;
}

// The level window has recorded a request in the frame just run; the dispatch of the next frame takes it.
bool LevelRequested(TestedGame& game)
{
    return game.m_gameLogicWindow->m_result != 0;
}

// A request of a dialog over the level made the player's way once the condition holds: a key pressed and
// released a frame later, or a click on the level window's close button.
using RequestInput = std::function<std::vector<Step>(const std::string& name, std::function<bool(TestedGame&)>)>;

RequestInput KeyPress(SDL_Scancode key)
{
    return [key](const std::string& name, std::function<bool(TestedGame&)> when) {
        return std::vector<Step>{
            {name, std::move(when), [key](TestedGame&) { PlatformTesting::InjectKey(key, true); }},
            {name + ": released", NextFrame(), [key](TestedGame&) { PlatformTesting::InjectKey(key, false); }}};
    };
}

std::vector<Step> CloseButton(const std::string& name, std::function<bool(TestedGame&)> when)
{
    return ClickAfter({name, std::move(when), [](TestedGame& game) {
                           AppTesting::PointAt(game.Window(),
                                               *Hud(game).GetControl(Wispfold::GUIGameLogicWindow::kExit).GetWidget());
                       }});
}

const std::vector<std::pair<std::string, RequestInput>> kDialogRequests{{"ESC", KeyPress(SDL_SCANCODE_ESCAPE)},
                                                                        {"SPACE", KeyPress(SDL_SCANCODE_SPACE)},
                                                                        {"P", KeyPress(SDL_SCANCODE_P)},
                                                                        {"close button", CloseButton}};

// The dialogs that lie over a running level, by name, that have been asked to open or are on screen.
std::set<std::string> LevelDialogs(const TestedGame& game)
{
    std::set<std::string> open;
    for (const auto& [name, window] : {std::pair{"pause", &Menu(game.m_gameLogicPauseWindow)},
                                       {"in-game menu", &Menu(game.m_gameLogicMenuWindow)},
                                       {"quit question", &Menu(game.m_gameLogicGameExitWindow)}})
        if (Opened(window))
            open.insert(name);
    return open;
}

// Each dialog request, recorded by the level window in the frame in which the level is decided (the level's logic,
// updated after its window, turns it won or lost in that frame), opens no dialog over the finished board: the
// level's end window opens, and the profile's file holds what the end leaves (a win the next level and a game to
// continue, a loss no saved game).
TEST_F(GameResults, ALevelDecidedInTheFrameOfADialogRequestOpensItsEndWindowAlone)
{
    for (const auto& [request, input] : kDialogRequests) {
        for (const GameLogicBase::LevelState outcome : {GameLogicBase::LevelWon, GameLogicBase::LevelLost}) {
            const std::string name = request + (outcome == GameLogicBase::LevelWon ? ", won" : ", lost");
            std::filesystem::remove_all(UserFolder() + "profiles"); // a new player each time
            bool decided = false;
            std::set<std::string> dialogs;
            std::unique_ptr<Profile> saved;
            const auto decideWithTheRequest = [&decided, &dialogs, outcome](TestedGame& game) {
                Current(game).m_continue = 1; // a game to continue, for the loss to end
                Current(game).Save();
                game.windowsUpdatedProbe = [&game, &decided, &dialogs, outcome] {
                    dialogs.merge(LevelDialogs(game));
                    if (!decided && game.m_gameLogic && LevelRequested(game)) {
                        game.m_gameLogic->SetState(outcome);
                        decided = true;
                    }
                };
            };
            const Step ended{name + ": end window",
                             outcome == GameLogicBase::LevelWon ? Shown(&TestedGame::m_levelCompleteWindow)
                                                                : Shown(&TestedGame::m_gameOverWindow),
                             [&saved](TestedGame& game) { saved = Saved(game); }, 300};
            EXPECT_EQ(
                Play(Join(
                    {{NewPlayer(true)}, StartLevel(name, decideWithTheRequest), input(name, HudTakesKeys), {ended}})),
                0)
                << name;
            EXPECT_TRUE(decided) << name;
            EXPECT_EQ(dialogs, std::set<std::string>{}) << name;
            ASSERT_TRUE(saved) << name;
            EXPECT_EQ(saved->m_continue != 0, outcome == GameLogicBase::LevelWon) << name;
            EXPECT_EQ(saved->m_currentLevel.level, outcome == GameLogicBase::LevelWon ? 1u : 0u) << name;
        }
    }
}

// The game's window loses the focus to another program, or gets it back.
std::function<void(TestedGame&)> Focus(bool gained)
{
    return [gained](TestedGame& game) {
        using PlatformTesting::WindowEvent;
        if (gained)
            PlatformTesting::InjectWindowEvent(game.Window().m_handle, WindowEvent::Restored);
        PlatformTesting::InjectWindowEvent(game.Window().m_handle,
                                           gained ? WindowEvent::FocusGained : WindowEvent::FocusLost);
    };
}

// A dialog request and the loss of the focus within one frame: the request read by the level window in the frame
// before the focus pause, or the focus lost and ESC pressed together. The focus pause alone holds the level: once
// the focus is back, it holds the level until its RESUME returns the player to the level, which plays on and takes
// keys, with no other dialog opened on the way. A dialog's RESUME (or the quit question's NO) read in the frame the
// focus goes is taken, and the focus pause holds the level as it would have a frame later.
TEST_F(GameResults, OneDialogAtATimeHoldsALevelThatLosesTheFocus)
{
    using Dialogs = std::set<std::string>;
    std::vector<std::tuple<std::string, std::vector<Step>, Dialogs>> rounds;
    for (const auto& [request, input] : kDialogRequests)
        rounds.emplace_back(request + ", then the focus lost",
                            Join({input(request, HudTakesKeys), {{"focus lost", LevelRequested, Focus(false)}}}),
                            Dialogs{"pause"});
    rounds.emplace_back(
        "the focus lost, then ESC",
        Join({{{"focus lost", HudTakesKeys, Focus(false)}}, KeyPress(SDL_SCANCODE_ESCAPE)("ESC", Always)}),
        Dialogs{"pause"});
    const auto resumeAsFocusGoes = [](const std::string& dialog, std::uint32_t open, auto window) {
        return std::tuple{dialog + "'s RESUME as the focus goes",
                          std::vector<Step>{Request(dialog, HudTakesKeys, &TestedGame::m_gameLogicWindow, open),
                                            {dialog + ": RESUME, focus lost", Shown(window),
                                             [window, lost = Focus(false)](TestedGame& game) {
                                                 std::invoke(window, game)->m_result = GameFramework::RequestResume;
                                                 lost(game);
                                             }}},
                          dialog == "pause" ? Dialogs{"pause"} : Dialogs{dialog, "pause"}};
    };
    rounds.push_back(resumeAsFocusGoes("pause", GameFramework::RequestPause, &TestedGame::m_gameLogicPauseWindow));
    rounds.push_back(
        resumeAsFocusGoes("in-game menu", GameFramework::RequestGameLogicMenu, &TestedGame::m_gameLogicMenuWindow));
    rounds.push_back(
        resumeAsFocusGoes("quit question", GameFramework::RequestQuit, &TestedGame::m_gameLogicGameExitWindow));
    for (const auto& [name, loseFocus, expected] : rounds) {
        std::filesystem::remove_all(UserFolder() + "profiles");
        std::set<std::string> dialogs;
        bool held = false;
        bool playsOn = false;
        const auto watch = [&dialogs](TestedGame& game) {
            game.windowsUpdatedProbe = [&game, &dialogs] { dialogs.merge(LevelDialogs(game)); };
        };
        const auto resume = [](TestedGame& game) {
            const auto& pause = dynamic_cast<const Wispfold::GUIGameLogicPauseWindow&>(*game.m_gameLogicPauseWindow);
            AppTesting::PointAt(game.Window(), *pause.GetResumeButton()->GetWidget());
        };
        const auto level = [&playsOn](TestedGame& game) {
            playsOn = LevelTakesKeys(game) && game.m_gameLogic->GetState() == GameLogicBase::LevelPlaying &&
                      LevelDialogs(game).empty();
        };
        const auto stillHeld = [&held](TestedGame& game) {
            held = game.m_gameLogic->GetState() == GameLogicBase::LevelPaused && LevelDialogs(game) == Dialogs{"pause"};
        };
        EXPECT_EQ(Play(Join({{NewPlayer(true)},
                             StartLevel(name, watch),
                             loseFocus,
                             {{name + ": focus back", Frames(10), Focus(true)},
                              {name + ": a second after", Frames(30), stillHeld}},
                             ClickAfter({name + ": RESUME", Shown(&TestedGame::m_gameLogicPauseWindow), resume}),
                             {{name + ": the level", HudTakesKeys}, {name + ": a second on", Frames(30), level}}})),
                  0)
            << name;
        EXPECT_EQ(dialogs, expected) << name;
        EXPECT_TRUE(held) << name;
        EXPECT_TRUE(playsOn) << name;
    }
}

// A quit the player confirmed just before the game lost the focus: YES to the main menu's exit question, the focus
// lost while its frame folds away, and OK to the level's quit question read in the frame the focus goes. The game
// ends without the focus coming back.
TEST_F(GameResults, AQuitConfirmedAsTheFocusGoesEndsTheGame)
{
    const auto yes = [](TestedGame& game) {
        const auto& exit = dynamic_cast<const Wispfold::GUIExitWindow&>(*game.m_exitWindow);
        AppTesting::PointAt(game.Window(), *exit.GetYesButton()->GetWidget());
    };
    const std::vector<std::pair<std::string, std::vector<Step>>> quits{
        {"exit question",
         Join({{Request("EXIT", MainMenuShown, &TestedGame::m_mainMenuWindow, GameFramework::RequestQuit)},
               ClickAfter({"YES", Shown(&TestedGame::m_exitWindow), yes}),
               {{"focus lost", [](TestedGame& game) { return game.m_exitWindow->IsConfirmed(); }, Focus(false)}}})},
        {"quit question",
         Join({StartLevel("level", {}),
               {Request("close button", LevelTakesKeys, &TestedGame::m_gameLogicWindow, GameFramework::RequestQuit),
                {"OK, focus lost", Shown(&TestedGame::m_gameLogicGameExitWindow), [](TestedGame& game) {
                     game.m_gameLogicGameExitWindow->m_result = GameFramework::RequestExitProgram;
                     Focus(false)(game);
                 }}}})}};
    for (const auto& [name, quit] : quits) {
        EXPECT_EQ(
            Play(Join(
                {{NewPlayer(true)}, quit, {{name + ": the game ends", [](TestedGame&) { return false; }, {}, 300}}})),
            0)
            << name;
    }
}

} // namespace
