// The game's application object. The shell runs start-up, the frame and the switching of windows; the game adds
// its engine settings, the two camera settings, its text tables, its sounds and music, every manager and window
// through the factory slots, its default volumes, and what the shell does not know: the menu background, the
// speaking character, the menus' shared state and three windows of its own (upgrade, introduction, relax), which
// it updates before the shell's windows and whose results it dispatches after the shell's. Its handlers add the
// music, the character, the profile's flags, the background and the cursor's trail to the shell's reactions.
//
// The constructor runs the whole start-up; what it throws reaches the caller with whatever was made deleted, a
// data file that cannot be read as a FatalError naming it.
#pragma once

#include "framework/GameBase.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace KeystrelEngine {
class GUIWindow;
}

namespace Wispfold {

class Character;
class GameData;
class GUIBackgroundWindow;
class GUIGameCursor;
class GUIIntroductionWindow;
class GUIMenuWindow;
class GUIMenuWindowManager;
class GUIRelaxWindow;
class GUIUpgradeWindow;
class Profile;
class ProfileTutorialFlags;
struct GameLogicShared;

class Game : public GameFramework::GameBase
{
public:
    static constexpr const char* kVideoMode = "1024x768x32";
    static constexpr std::int32_t kIconResource = 101;
    static constexpr float kMusicVolume = 0.37f;
    static constexpr float kSoundVolume = 0.48f;
    // Music channels: the menu track on the first, the level tracks on the second.
    static constexpr std::uint32_t kMenuChannel = 0;
    static constexpr std::uint32_t kLevelChannel = 1;
    static constexpr std::uint32_t kMenuTrack = 0;
    static constexpr std::uint32_t kFirstLevelTrack = 1; // two level tracks alternate

    Game(const std::string& productName, const std::string& makerName);
    // The game's own objects, windows before the background they hang on; then the shell's.
    ~Game() override;

    void FillEngineSettings(KeystrelEngine::EngineSettings& settings) override;
    void RegisterConsoleCommands() override;
    void LoadTexts() override;
    void LoadSounds() override;
    void CreateWindows() override;

    std::unique_ptr<GameFramework::LevelManagerBase> CreateLevelManager() override;
    std::unique_ptr<GameFramework::ProfileManagerBase> CreateProfileManager() override;
    std::unique_ptr<GameFramework::DataKeeper> CreateGameData() override;
    std::unique_ptr<GameFramework::GUIGameCursorBase> CreateGameCursor() override;
    std::unique_ptr<GameFramework::GUILogosWindowBase> CreateLogosWindow() override;
    std::unique_ptr<GameFramework::GUILoadingWindowBase> CreateGameLoadingWindow() override;
    std::unique_ptr<GameFramework::GUILoadingWindowBase> CreateGameLogicLoadingWindow() override;
    std::unique_ptr<GameFramework::GUIWelcomeWindowBase> CreateWelcomeWindow() override;
    std::unique_ptr<GameFramework::GUIExitWindowBase> CreateExitWindow() override;
    std::unique_ptr<GameFramework::GUIMainMenuWindowBase> CreateMainMenuWindow() override;
    std::unique_ptr<GameFramework::GUIProfilesWindowBase> CreateProfilesWindow() override;
    std::unique_ptr<GameFramework::GUINewProfileWindowBase> CreateNewProfileWindow() override;
    std::unique_ptr<GameFramework::GUIRenameProfileWindowBase> CreateRenameProfileWindow() override;
    std::unique_ptr<GameFramework::GUIDeleteProfileWindowBase> CreateDeleteProfileWindow() override;
    std::unique_ptr<GameFramework::GUIProfileNameConflictWindowBase> CreateProfileNameConflictWindow() override;
    std::unique_ptr<GameFramework::GUIStartGameLogicWindowBase> CreateStartGameLogicWindow() override;
    std::unique_ptr<GameFramework::GUIContinueGameLogicWindowBase> CreateContinueGameLogicWindow() override;
    std::unique_ptr<GameFramework::GUIHighScoresWindowBase> CreateHighScoresWindow() override;
    std::unique_ptr<GameFramework::GUIOptionsWindowBase> CreateOptionsWindow() override;
    std::unique_ptr<GameFramework::GUIHelpWindowBase> CreateHelpWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicWindowBase> CreateGameLogicWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicPauseWindowBase> CreateGameLogicPauseWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicMenuWindowBase> CreateGameLogicMenuWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicMenuExitWindowBase> CreateGameLogicMenuExitWindow() override;
    std::unique_ptr<GameFramework::GUIGameLogicGameExitWindowBase> CreateGameLogicGameExitWindow() override;
    std::unique_ptr<GameFramework::GUILevelCompleteWindowBase> CreateLevelCompleteWindow() override;
    std::unique_ptr<GameFramework::GUIStageCompleteWindowBase> CreateStageCompleteWindow() override;
    std::unique_ptr<GameFramework::GUIGameCompleteWindowBase> CreateGameCompleteWindow() override;
    std::unique_ptr<GameFramework::GUIGameOverWindowBase> CreateGameOverWindow() override;
    std::unique_ptr<GameFramework::DataKeeper> CreateGameLogicData(GameFramework::StageRecord* stage,
                                                                   GameFramework::LevelRecord* level) override;
    std::unique_ptr<GameFramework::GameLogicBase>
    CreateGameLogic(GameFramework::StageRecord* stage, GameFramework::LevelRecord* level, std::uint32_t mode) override;

    float GetDefaultMusicVolume() override;
    float GetDefaultSoundVolume() override;

    void DispatchWindowResults() override;
    void ClearWindowResults() override;
    void UpdateWindows() override;
    void OnLogosResult(GameFramework::GUILogosWindowBase* window) override;
    void OnMainMenuResult(GameFramework::GUIMainMenuWindowBase* window) override;
    void OnProfilesResult(GameFramework::GUIProfilesWindowBase* window) override;
    void OnGameLogicLoadingResult(GameFramework::GUILoadingWindowBase* window) override;
    void OnStartGameLogicResult(GameFramework::GUIStartGameLogicWindowBase* window) override;
    void OnHighScoresResult(GameFramework::GUIHighScoresWindowBase* window) override;
    void OnGameLogicMenuExitResult(GameFramework::GUIGameLogicMenuExitWindowBase* window) override;
    void OnLevelWon() override;
    void OnLevelLost() override;
    void OnGameLogicStateChange() override;
    void OnLevelCompleteResult(GameFramework::GUILevelCompleteWindowBase* window) override;
    void OnStageCompleteResult(GameFramework::GUIStageCompleteWindowBase* window) override;
    void OnGameCompleteResult(GameFramework::GUIGameCompleteWindowBase* window) override;
    void OnGameOverResult(GameFramework::GUIGameOverWindowBase* window) override;
    virtual void OnUpgradeResult();
    virtual void OnIntroductionResult();
    virtual void OnRelaxResult();

    // What tests and tools read of the running game.
    std::int32_t GetCameraType() const { return m_cameraType; }
    float GetCameraValue() const { return m_cameraValue; }
    std::uint32_t GetLevelMusic() const { return m_levelMusic; }
    GUIBackgroundWindow* GetBackground() const { return m_background.get(); }
    GUIMenuWindowManager* GetMenuWindowManager() const { return m_menuWindowManager.get(); }
    Character* GetCharacter() const { return m_character.get(); }
    GUIUpgradeWindow* GetUpgradeWindow() const { return m_upgradeWindow.get(); }
    GUIIntroductionWindow* GetIntroductionWindow() const { return m_introductionWindow.get(); }
    GUIRelaxWindow* GetRelaxWindow() const { return m_relaxWindow.get(); }

protected:
    struct DeferInitialize
    {
    };
    // The base constructor alone: a derived game runs StartUp once its own slots are in place.
    Game(const std::string& productName, const std::string& makerName, DeferInitialize);
    // Initialize; a file it cannot read becomes a FatalError with the file error's text.
    void StartUp();

    const GameData* Data() const;
    GUIGameCursor& Cursor() const;
    Profile& CurrentGameProfile() const;
    // The parent of every menu window: the background scene's top window.
    KeystrelEngine::GUIWindow* MenuParent() const;
    // Stops every track and plays the menu track.
    void PlayMenuMusic();
    void ShowUpgradeWindow(std::int32_t mode);
    // Some dialog over the level stands on screen: from the start of its frame's unfold until it is closed.
    bool IsLevelDialogOnScreen() const;

    std::int32_t m_cameraType = 1; // "g_camera_type"
    float m_cameraValue = 1.0f;    // "g_camera_value"
    std::unique_ptr<GUIBackgroundWindow> m_background;
    std::unique_ptr<GUIMenuWindowManager> m_menuWindowManager;
    std::unique_ptr<Character> m_character;
    std::unique_ptr<GUIUpgradeWindow> m_upgradeWindow;
    std::unique_ptr<GUIIntroductionWindow> m_introductionWindow;
    std::unique_ptr<GUIRelaxWindow> m_relaxWindow;
    // The shell's dialogs that open over a level: pause, in-game menu, its leave question, the close button's
    // question, level complete and game over.
    std::array<const GUIMenuWindow*, 6> m_levelDialogs{};
    std::uint32_t m_levelMusic = 0; // which of the two level tracks plays next
    // The tutorial's view of the current profile's hints, shared by every level.
    std::unique_ptr<ProfileTutorialFlags> m_tutorialFlags;
    // What the running level shares with the game; the level keeps references into it.
    std::unique_ptr<GameLogicShared> m_levelShared;
};

} // namespace Wispfold
