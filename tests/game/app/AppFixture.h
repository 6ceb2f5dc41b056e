// What the tests of the game's screens share: a whole engine on the recording device (SDL's offscreen and dummy
// drivers) on the fake clock, the sound and music player, the profile manager, and the content tool's data of
// this build seen through a data folder of links below the test's base folder: a test may replace or remove
// single files of the set without touching the build's data, which the other tests share. On request it adds the
// level catalogue and the menu background, and runs frames of the engine around the windows under test.
#pragma once

#include "engine/gui/GUIWindow.h"
#include "framework/AudioPlayer.h"
#include "framework/DataKeeper.h"
#include "framework/GUILoadingWindowBase.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GameData.h"
#include "game/app/ProfileManager.h"
#include "game/play/LevelManager.h"
#include "tests/framework/FakeClock.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace KeystrelEngine {
class Engine;
class GUIWindow;
class Window;
} // namespace KeystrelEngine

namespace AppTesting {

// The test's data folder, by engine names. A file replaced there is written in place of its link, never through it.
void ReplaceDataFile(const std::string& name, const TestSupport::Bytes& bytes);
void ReplaceDataFile(const std::string& name, const std::string& text);
void RemoveDataFile(const std::string& name);
// The build's generated data linked anew into the test's data folder, file by file.
void LinkDataFolder();
// Puts the system cursor on the middle of the widget's hit area in the window's client area.
void PointAt(const KeystrelEngine::Window& screen, const KeystrelEngine::GUIWindow& widget);
// Puts the system cursor on the point of the GUI's virtual screen.
void PointAt(const KeystrelEngine::Window& screen, KeystrelEngine::GUIPoint point);

// The middle of where the widget takes clicks, in GUI units.
KeystrelEngine::GUIPoint ClickPoint(const KeystrelEngine::GUIWindow& widget);

class AppFixture : public ::testing::Test
{
protected:
    AppFixture();
    ~AppFixture() override;

    // Makes the engine and the data folder, then the player and the profile manager.
    void SetUp() override;
    void TearDown() override;

    // The generated set linked anew: whatever a test changed is undone.
    void ResetDataFolder();

    GameFramework::DataKeeperServices KeeperServices() const;
    GameFramework::LoadingWindowServices LoadingServices() const;
    // The shared data loaded on the loading worker, as the game-loading window runs it. What the load throws
    // passes on; the data made up to then stay with the keeper.
    void LoadSharedData(Wispfold::GameData& data) const;
    std::unique_ptr<Wispfold::GameData> MakeSharedData() const;

    // The level catalogue and the menu background (not started); the text table of "LOADING" is loaded first.
    void MakeBackground();
    // One frame of the given length on the fake clock: the engine's update, the background's, then the test's
    // own windows, then the engine's end of frame (which draws and animates what is shown).
    void Frame(float seconds = kFrameTime, const std::function<void()>& windows = {});
    // Frames until the condition holds; false when it still does not after the given number.
    bool FramesUntil(const std::function<bool()>& condition, int limit = 400, float seconds = kFrameTime);
    // A current profile at the level, with the best level and the finished flag.
    void MakeCurrentProfile(GameFramework::LevelId current, GameFramework::LevelId best, bool finished);
    // The configuration file on disk, and what it holds now.
    std::string ConfigurationPath() const;
    std::string SavedConfiguration() const;

    static constexpr float kFrameTime = 0.05f;

    FrameworkTesting::FakeClock clock; // before the engine, whose timers start on it
    std::unique_ptr<KeystrelEngine::Engine> engine;
    std::unique_ptr<GameFramework::AudioPlayer> player;
    std::unique_ptr<Wispfold::ProfileManager> profiles;
    std::unique_ptr<Wispfold::LevelManager> levels;
    std::unique_ptr<Wispfold::GUIBackgroundWindow> background;
    std::string userFolder;
};

} // namespace AppTesting
