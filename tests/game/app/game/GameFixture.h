// The whole game as the program runs it, for tests: a loader derived from the game's loader starts the real game
// object on the recording device (SDL's offscreen and dummy drivers), with the content tool's data of this build
// linked into the test's data folder beside the test program, and runs its message loop on the fake clock, 1/30 s
// a frame. Between frames it works through the test's steps: each waits, frame after frame, until its condition
// holds and then acts (reads the game, injects input through platform/testing.h). When the steps are done the
// fixture asks the engine to exit, unless a step ended the game itself; a step not reached within its frame limit
// fails the test and ends the game.
//
//     const int exitCode = Play({
//         {"profile", Always, [](TestedGame& game) {
//              game.m_profileManager->m_current = game.m_profileManager->AddProfile(u"Ann"); }},
//         {"main menu", MainMenuShown,
//          [](TestedGame& game) { game.m_mainMenuWindow->m_result = GameFramework::RequestHighScores; }},
//         {"a second of high scores", [frames = 0](TestedGame&) mutable { return ++frames == 30; }},
//     });
//
// Message boxes are recorded instead of shown; the user folder is made beforehand, so the log is written.
#pragma once

#include "game/app/GUIControl.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/Game.h"
#include "tests/engine/gui/EnginePlatform.h"
#include "tests/game/app/AppFixture.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Wispfold {
class Profile;
}

namespace GameTesting {

constexpr double kFrameTime = 1.0 / 30.0; // seconds of the fake clock a frame

// The real game with the shell's windows and services open to tests.
class TestedGame : public Wispfold::Game
{
public:
    TestedGame();

    // The logos window, which the shell updates first of its windows every frame, calls the probe (when set)
    // before its own update: the probe sees the frame as every framework window does.
    std::unique_ptr<GameFramework::GUILogosWindowBase> CreateLogosWindow() override;
    std::function<void()> frameworkWindowsProbe;
    // Called (when set) once every window has updated, before the frame is drawn: it sees the frame's texts.
    void UpdateWindows() override;
    std::function<void()> windowsUpdatedProbe;

    KeystrelEngine::Window& Window() const { return *m_window; }
    GameFramework::AudioPlayer& Player() const { return *m_audioPlayer; }
    KeystrelEngine::GUISoundManager& GuiSounds() const { return *m_guiSoundManager; }
    KeystrelEngine::Config& Config() const { return *m_config; }
    // The result field of every window that exists: the game's three, then the shell's.
    std::vector<std::uint32_t*> ResultFields() const;
    // The menu windows by name, the game's own among the shell's; the last six stand over a running level.
    // clang-format off
    static constexpr std::array kMenuNames = {
        "welcome", "exit question", "main menu", "profiles", "new profile", "rename profile", "delete profile",
        "name conflict", "map", "continue question", "high scores", "options", "help", "game complete",
        "introduction", "relax offer",
        "pause", "in-game menu", "leave question", "quit question", "level complete", "game over"};
    // clang-format on
    static constexpr std::size_t kFirstOverLevel = 16;
    // The menu windows in the order of their names, null before they are made.
    std::array<const Wispfold::GUIMenuWindow*, kMenuNames.size()> MenuWindows() const;

    using Game::Cursor;
    using GameBase::m_continueGameLogicWindow;
    using GameBase::m_deleteProfileWindow;
    using GameBase::m_exitWindow;
    using GameBase::m_gameCompleteWindow;
    using GameBase::m_gameLogic;
    using GameBase::m_gameLogicGameExitWindow;
    using GameBase::m_gameLogicLoadingWindow;
    using GameBase::m_gameLogicMenuExitWindow;
    using GameBase::m_gameLogicMenuWindow;
    using GameBase::m_gameLogicPauseWindow;
    using GameBase::m_gameLogicWindow;
    using GameBase::m_gameOverWindow;
    using GameBase::m_helpWindow;
    using GameBase::m_highScoresTable;
    using GameBase::m_highScoresWindow;
    using GameBase::m_levelCompleteWindow;
    using GameBase::m_levelManager;
    using GameBase::m_logosWindow;
    using GameBase::m_mainMenuWindow;
    using GameBase::m_newProfileWindow;
    using GameBase::m_optionsWindow;
    using GameBase::m_profileManager;
    using GameBase::m_profileNameConflictWindow;
    using GameBase::m_profilesWindow;
    using GameBase::m_renameProfileWindow;
    using GameBase::m_stageCompleteWindow;
    using GameBase::m_startGameLogicWindow;
    using GameBase::m_welcomeWindow;
};

struct Step
{
    std::string name; // in the failure message
    // Frames run until it holds; it is asked after every frame.
    std::function<bool(TestedGame&)> until;
    std::function<void(TestedGame&)> then = {};
    int frameLimit = 900;
};

// A click over three frames through the window's mouse: the pointer onto the control, the button down, the
// button up.
class Clicker
{
public:
    // True once the button has gone up.
    bool Step(TestedGame& game, const Wispfold::GUIControl& control);

private:
    int m_phase = 0;
};

// A condition that holds at once.
bool Always(TestedGame&);
// The main menu has appeared in full and takes the player's requests.
bool MainMenuShown(TestedGame& game);
// A level exists.
bool LevelRuns(TestedGame& game);
Wispfold::Profile& Current(const TestedGame& game);

template <class Pointer> const Wispfold::GUIMenuWindow& Menu(const Pointer& window)
{
    return dynamic_cast<const Wispfold::GUIMenuWindow&>(*window);
}

// On screen in full: a request it leaves now is one the player could have made.
template <class Pointer> bool FullyShown(const Pointer& window)
{
    return window && Menu(window).IsShown() && Menu(window).m_colour.a >= 1.0f;
}

// The condition that the window (a member or getter of the game) is on screen in full.
template <class Member> std::function<bool(TestedGame&)> Shown(Member window)
{
    return [window](TestedGame& game) { return FullyShown(std::invoke(window, game)); };
}

// The condition that the window exists, has faded in at least as far as the alpha and none of its controls moves
// any more: a picture of it shows what stays.
template <class Member> std::function<bool(TestedGame&)> Settled(Member window, float alpha = 1.0f)
{
    return [window, alpha](TestedGame& game) {
        const auto* menu = dynamic_cast<const Wispfold::GUIMenuWindow*>(std::to_address(std::invoke(window, game)));
        return menu && menu->IsShown() && menu->m_colour.a >= alpha && !menu->IsAnyControlAnimating();
    };
}

// Holds the count-th time it is asked, the first time in the frame of the step before.
std::function<bool(TestedGame&)> Frames(int count);
// Holds in the frame after the step before.
std::function<bool(TestedGame&)> NextFrame();

// Sets the window's (a member or getter of the game) request once the condition holds.
template <class Member>
Step Request(const std::string& name, std::function<bool(TestedGame&)> when, Member window, std::uint32_t code)
{
    return {name, std::move(when), [window, code](TestedGame& game) { std::invoke(window, game)->m_result = code; }};
}
// Sets the window's request once it is on screen in full.
template <class Member> Step Request(const std::string& name, Member window, std::uint32_t code)
{
    return Request(name, Shown(window), window, code);
}

// After the step the mouse button goes down a frame later and up in the frame after.
std::vector<Step> ClickAfter(Step step);

// The player's click on the CONTINUE button of a window once it is on screen in full. The window leaves and
// reports by itself.
template <class Concrete, class Member> std::vector<Step> PressContinue(const std::string& name, Member window)
{
    return ClickAfter({name, Shown(window), [window](TestedGame& game) {
                           const auto& concrete = dynamic_cast<const Concrete&>(*std::invoke(window, game));
                           AppTesting::PointAt(game.Window(), *concrete.GetContinueButton()->GetWidget());
                       }});
}

std::vector<Step> Join(std::vector<std::vector<Step>> parts);

// A new player, the current profile; one who has been told the story already when asked.
Step NewPlayer(bool toldTheStory);
// From the main menu's start through the map's start into a running level.
std::vector<Step> StartLevel(const std::string& name, const std::function<void(TestedGame&)>& then);

class GameFixture : public ::testing::Test
{
protected:
    GameFixture();
    ~GameFixture() override;

    // Runs the program through the game's loader with the steps between frames; the exit code the program's
    // entry would return.
    int Play(std::vector<Step> steps);

    // "Tarrowby Games/Quellhaven" below the user's data folder, a Linux path with the final slash.
    static std::string UserFolder();
    // A file of the user folder as text (empty when it is missing).
    static std::string ReadUserFile(const std::string& name);

    // Whether the last Play stopped before its first frame, every message box so far saying that the machine gives
    // the game no render device (no GL there): a picture test then has nothing to look at and is skipped. Any
    // other message box is a failure, with its text (see MessageBoxTexts).
    bool HadNoRenderDevice() const;
    // The texts of the message boxes shown so far, one after another; empty when none was.
    static std::string MessageBoxTexts();

    int frames = 0; // run by the last Play

private:
    GUITesting::EnginePlatform m_platform{true, true}; // the recording device and the fake clock
};

} // namespace GameTesting
