// The application object of the game shell. It reads the installer's registry values, starts the engine with
// settings it fills itself, makes the shell's services (languages, the sound and music player, the high-score
// table) and asks the derived game for everything game-specific through its factory slots: the level catalogue,
// the profile manager, the shared resources, the cursor, the 25 windows, each level's data and logic. It owns all
// of them and deletes them in a fixed order, the engine last.
//
// The game's constructor runs the base constructor and then Initialize. Only the logos and the game-loading
// windows exist after start-up; CreateWindows makes the other 23 once the shared resources are loaded. A factory
// or a load that throws reaches the game's constructor's caller; whatever was made until then is deleted with
// the object.
#pragma once

#include "LevelManagerBase.h"

#include <cstdint>
#include <memory>
#include <string>

namespace KeystrelEngine {
class Config;
class Console;
class Controls;
class Engine;
class FileManager;
class GUIFontManager;
class GUIManager;
class GUISoundManager;
class GUITextManager;
class LightManager;
class MessageManager;
class ModelManager;
class ParticleSystemManager;
class RenderSystem;
class ScreenCapture;
class ShaderManager;
class SoundManager;
class SpriteGroupManager;
class TextureManager;
class TimerManager;
class Window;
struct EngineSettings;
} // namespace KeystrelEngine

namespace GameFramework {

class AudioPlayer;
class DataKeeper;
class GameLogicBase;
class GUIContinueGameLogicWindowBase;
class GUIDeleteProfileWindowBase;
class GUIExitWindowBase;
class GUIGameCompleteWindowBase;
class GUIGameCursorBase;
class GUIGameLogicGameExitWindowBase;
class GUIGameLogicMenuExitWindowBase;
class GUIGameLogicMenuWindowBase;
class GUIGameLogicPauseWindowBase;
class GUIGameLogicWindowBase;
class GUIGameOverWindowBase;
class GUIHelpWindowBase;
class GUIHighScoresWindowBase;
class GUILevelCompleteWindowBase;
class GUILoadingWindowBase;
class GUILogosWindowBase;
class GUIMainMenuWindowBase;
class GUINewProfileWindowBase;
class GUIOptionsWindowBase;
class GUIProfileNameConflictWindowBase;
class GUIProfilesWindowBase;
class GUIRenameProfileWindowBase;
class GUIStageCompleteWindowBase;
class GUIStartGameLogicWindowBase;
class GUIWelcomeWindowBase;
class HighScoresTable;
class LanguageManager;
class LevelManagerBase;
class ProfileBase;
class ProfileManagerBase;
class UserFolderLock;
struct LevelRecord;
struct StageRecord;

class GameBase
{
public:
    // Reads "Version" and "InstallPath" below "SOFTWARE\" + maker + "\" + product, the local machine's value
    // before the user's, and names the user folder (empty when the system names no data folder). Writes nothing to
    // the registry or below the user folder.
    GameBase(const std::string& productName, const std::string& makerName);
    // Deletes what exists, windows before the services they use, the engine last.
    virtual ~GameBase();

    GameBase(const GameBase&) = delete;
    GameBase& operator=(const GameBase&) = delete;

    // One turn of the main loop.
    virtual void Frame();
    // Takes the user folder (see UserFolderLock.h) and removes the temporaries of saves an earlier run left, then
    // starts the engine and the shell's services, makes the game's start-up objects and opens the logos. Without a
    // user folder it throws FatalError before writing anything; a folder that cannot be made or written is logged
    // as saves being off, naming the folder or file that failed, and the game plays on.
    virtual void Initialize();
    virtual void FillEngineSettings(KeystrelEngine::EngineSettings& settings);
    virtual void RegisterConsoleCommands();
    // Loads the fonts that the current language's font list names.
    virtual void LoadFonts();
    // Loads the text table "common".
    virtual void LoadTexts();
    // Makes the drop-down developer console. Start-up leaves it out: the game runs without a console.
    virtual void SetupConsole();
    // The game registers its sounds and music here.
    virtual void LoadSounds();
    // The 23 windows that start-up leaves out, made in their slot order.
    virtual void CreateWindows();

    virtual std::unique_ptr<LevelManagerBase> CreateLevelManager() = 0;
    virtual std::unique_ptr<ProfileManagerBase> CreateProfileManager() = 0;
    virtual std::unique_ptr<DataKeeper> CreateGameData() = 0;
    virtual std::unique_ptr<GUIGameCursorBase> CreateGameCursor() = 0;
    virtual std::unique_ptr<GUILogosWindowBase> CreateLogosWindow() = 0;
    // Also makes the menu background that the loading window shows.
    virtual std::unique_ptr<GUILoadingWindowBase> CreateGameLoadingWindow() = 0;
    virtual std::unique_ptr<GUILoadingWindowBase> CreateGameLogicLoadingWindow() = 0;
    virtual std::unique_ptr<GUIWelcomeWindowBase> CreateWelcomeWindow() = 0;
    virtual std::unique_ptr<GUIExitWindowBase> CreateExitWindow() = 0;
    virtual std::unique_ptr<GUIMainMenuWindowBase> CreateMainMenuWindow() = 0;
    virtual std::unique_ptr<GUIProfilesWindowBase> CreateProfilesWindow() = 0;
    virtual std::unique_ptr<GUINewProfileWindowBase> CreateNewProfileWindow() = 0;
    virtual std::unique_ptr<GUIRenameProfileWindowBase> CreateRenameProfileWindow() = 0;
    virtual std::unique_ptr<GUIDeleteProfileWindowBase> CreateDeleteProfileWindow() = 0;
    virtual std::unique_ptr<GUIProfileNameConflictWindowBase> CreateProfileNameConflictWindow() = 0;
    virtual std::unique_ptr<GUIStartGameLogicWindowBase> CreateStartGameLogicWindow() = 0;
    virtual std::unique_ptr<GUIContinueGameLogicWindowBase> CreateContinueGameLogicWindow() = 0;
    virtual std::unique_ptr<GUIHighScoresWindowBase> CreateHighScoresWindow() = 0;
    virtual std::unique_ptr<GUIOptionsWindowBase> CreateOptionsWindow() = 0;
    virtual std::unique_ptr<GUIHelpWindowBase> CreateHelpWindow() = 0;
    virtual std::unique_ptr<GUIGameLogicWindowBase> CreateGameLogicWindow() = 0;
    virtual std::unique_ptr<GUIGameLogicPauseWindowBase> CreateGameLogicPauseWindow() = 0;
    virtual std::unique_ptr<GUIGameLogicMenuWindowBase> CreateGameLogicMenuWindow() = 0;
    virtual std::unique_ptr<GUIGameLogicMenuExitWindowBase> CreateGameLogicMenuExitWindow() = 0;
    virtual std::unique_ptr<GUIGameLogicGameExitWindowBase> CreateGameLogicGameExitWindow() = 0;
    virtual std::unique_ptr<GUILevelCompleteWindowBase> CreateLevelCompleteWindow() = 0;
    virtual std::unique_ptr<GUIStageCompleteWindowBase> CreateStageCompleteWindow() = 0;
    virtual std::unique_ptr<GUIGameCompleteWindowBase> CreateGameCompleteWindow() = 0;
    virtual std::unique_ptr<GUIGameOverWindowBase> CreateGameOverWindow() = 0;
    virtual std::unique_ptr<DataKeeper> CreateGameLogicData(StageRecord* stage, LevelRecord* level) = 0;
    virtual std::unique_ptr<GameLogicBase> CreateGameLogic(StageRecord* stage, LevelRecord* level,
                                                           std::uint32_t carriedValue) = 0;

    // Answers the developer commands raised since the last frame, each once.
    virtual void HandleConsoleCommands();
    virtual float GetDefaultMusicVolume();
    virtual float GetDefaultSoundVolume();
    // Recreates the device and reloads every texture.
    virtual void ResetRenderSystem();

    virtual void DispatchWindowResults();
    virtual void ClearWindowResults();
    virtual void UpdateWindows();
    virtual void OnLogosResult(GUILogosWindowBase* window);
    virtual void OnGameLoadingResult(GUILoadingWindowBase* window);
    virtual void OnWelcomeResult(GUIWelcomeWindowBase* window);
    virtual void OnExitResult(GUIExitWindowBase* window);
    virtual void OnMainMenuResult(GUIMainMenuWindowBase* window);
    virtual void OnProfilesResult(GUIProfilesWindowBase* window);
    virtual void OnGameLogicLoadingResult(GUILoadingWindowBase* window);
    virtual void OnNewProfileResult(GUINewProfileWindowBase* window);
    virtual void OnRenameProfileResult(GUIRenameProfileWindowBase* window);
    virtual void OnDeleteProfileResult(GUIDeleteProfileWindowBase* window);
    virtual void OnProfileNameConflictResult(GUIProfileNameConflictWindowBase* window);
    virtual void OnStartGameLogicResult(GUIStartGameLogicWindowBase* window);
    virtual void OnContinueGameLogicResult(GUIContinueGameLogicWindowBase* window);
    virtual void OnHighScoresResult(GUIHighScoresWindowBase* window);
    virtual void OnOptionsResult(GUIOptionsWindowBase* window);
    virtual void OnHelpResult(GUIHelpWindowBase* window);
    virtual void OnGameLogicWindowResult(GUIGameLogicWindowBase* window);
    virtual void OnGameLogicPauseResult(GUIGameLogicPauseWindowBase* window);
    virtual void OnGameLogicMenuResult(GUIGameLogicMenuWindowBase* window);
    virtual void OnGameLogicMenuExitResult(GUIGameLogicMenuExitWindowBase* window);
    virtual void OnGameLogicGameExitResult(GUIGameLogicGameExitWindowBase* window);
    virtual void OnLevelWon();
    virtual void OnGameLogicStateChange();
    virtual void OnLevelLost();
    virtual void OnLevelCompleteResult(GUILevelCompleteWindowBase* window);
    virtual void OnStageCompleteResult(GUIStageCompleteWindowBase* window);
    virtual void OnGameCompleteResult(GUIGameCompleteWindowBase* window);
    virtual void OnGameOverResult(GUIGameOverWindowBase* window);

    // The level after id: the next of its stage, else the first of the next stage; the last level of the game
    // stays where it is.
    LevelId AdvanceLevel(LevelId id) const;
    // Keeps id as the profile's best level, and saves, when it lies further than the best level or finishes it.
    static void RecordBestLevel(ProfileBase& profile, LevelId id, bool finished);

    // Loads "ui\texts\" + the language's code + "\" + name + ".ini" into the GUI's text tables.
    void LoadTextSection(const std::string& name);
    // "audio\" + group + "\" + name + ".wav" when the file manager finds it, else the same with ".ogg".
    std::string GetAudioFilePath(const std::string& group, const std::string& name);

    KeystrelEngine::Engine* GetEngine() const { return m_engine.get(); }
    const std::string& GetMakerName() const { return m_makerName; }
    const std::string& GetProductName() const { return m_productName; }
    std::uint32_t GetVersion() const { return m_version; }
    const std::string& GetRegistryKey() const { return m_registryKey; }
    const std::string& GetInstallPath() const { return m_installPath; }
    const std::string& GetUserFolder() const { return m_userFolder; }

protected:
    std::string m_makerName;
    std::string m_productName;
    std::uint32_t m_version = 100; // hundredths: 100 is 1.00
    std::string m_registryKey;
    std::string m_installPath;
    std::string m_userFolder;
    std::unique_ptr<UserFolderLock> m_userFolderLock; // held until the engine has saved at exit

    std::unique_ptr<KeystrelEngine::Engine> m_engine;
    // Copies of the engine's services, none owned.
    KeystrelEngine::MessageManager* m_log = nullptr;
    KeystrelEngine::FileManager* m_fileManager = nullptr;
    KeystrelEngine::TimerManager* m_timerManager = nullptr;
    KeystrelEngine::Config* m_config = nullptr;
    KeystrelEngine::Window* m_window = nullptr;
    KeystrelEngine::RenderSystem* m_renderSystem = nullptr;
    KeystrelEngine::LightManager* m_lightManager = nullptr;
    KeystrelEngine::ShaderManager* m_shaderManager = nullptr;
    KeystrelEngine::TextureManager* m_textureManager = nullptr;
    KeystrelEngine::ModelManager* m_modelManager = nullptr;
    KeystrelEngine::SpriteGroupManager* m_spriteGroupManager = nullptr;
    KeystrelEngine::ParticleSystemManager* m_particleSystemManager = nullptr;
    KeystrelEngine::Controls* m_controls = nullptr;
    KeystrelEngine::SoundManager* m_soundManager = nullptr;
    KeystrelEngine::GUIManager* m_guiManager = nullptr;
    KeystrelEngine::GUIFontManager* m_fontManager = nullptr;
    KeystrelEngine::GUITextManager* m_textManager = nullptr;
    KeystrelEngine::GUISoundManager* m_guiSoundManager = nullptr;
    KeystrelEngine::ScreenCapture* m_screenCapture = nullptr;
    KeystrelEngine::Console* m_console = nullptr;

    bool m_showStatistics = false; // "d_show_statistics"
    std::unique_ptr<LanguageManager> m_languageManager;
    std::unique_ptr<AudioPlayer> m_audioPlayer;
    std::uint32_t m_fontCount = 0;
    std::uint32_t m_consoleFontId = 0;
    std::unique_ptr<DataKeeper> m_gameData;
    std::unique_ptr<DataKeeper> m_gameLogicData;
    std::unique_ptr<DataKeeper> m_previousGameLogicData; // alive until the next level's data replaces it
    std::unique_ptr<LevelManagerBase> m_levelManager;
    std::unique_ptr<ProfileManagerBase> m_profileManager;
    std::unique_ptr<HighScoresTable> m_highScoresTable;
    std::unique_ptr<GUIGameCursorBase> m_cursor;

    std::unique_ptr<GUILogosWindowBase> m_logosWindow;
    std::unique_ptr<GUILoadingWindowBase> m_gameLoadingWindow;
    std::unique_ptr<GUILoadingWindowBase> m_gameLogicLoadingWindow;
    std::unique_ptr<GUIWelcomeWindowBase> m_welcomeWindow;
    std::unique_ptr<GUIExitWindowBase> m_exitWindow;
    std::unique_ptr<GUIMainMenuWindowBase> m_mainMenuWindow;
    std::unique_ptr<GUIProfilesWindowBase> m_profilesWindow;
    std::unique_ptr<GUINewProfileWindowBase> m_newProfileWindow;
    std::unique_ptr<GUIRenameProfileWindowBase> m_renameProfileWindow;
    std::unique_ptr<GUIDeleteProfileWindowBase> m_deleteProfileWindow;
    std::unique_ptr<GUIProfileNameConflictWindowBase> m_profileNameConflictWindow;
    std::unique_ptr<GUIStartGameLogicWindowBase> m_startGameLogicWindow;
    std::unique_ptr<GUIContinueGameLogicWindowBase> m_continueGameLogicWindow;
    std::unique_ptr<GUIHighScoresWindowBase> m_highScoresWindow;
    std::unique_ptr<GUIOptionsWindowBase> m_optionsWindow;
    std::unique_ptr<GUIHelpWindowBase> m_helpWindow;
    std::unique_ptr<GUIGameLogicWindowBase> m_gameLogicWindow;
    std::unique_ptr<GUIGameLogicPauseWindowBase> m_gameLogicPauseWindow;
    std::unique_ptr<GUIGameLogicMenuWindowBase> m_gameLogicMenuWindow;
    std::unique_ptr<GUIGameLogicMenuExitWindowBase> m_gameLogicMenuExitWindow;
    std::unique_ptr<GUIGameLogicGameExitWindowBase> m_gameLogicGameExitWindow;
    std::unique_ptr<GUILevelCompleteWindowBase> m_levelCompleteWindow;
    std::unique_ptr<GUIStageCompleteWindowBase> m_stageCompleteWindow;
    std::unique_ptr<GUIGameCompleteWindowBase> m_gameCompleteWindow;
    std::unique_ptr<GUIGameOverWindowBase> m_gameOverWindow;

    std::unique_ptr<GameLogicBase> m_gameLogic; // the running level, none between levels
    // The level last won: the windows after it go on from it, even when the level has ended meanwhile.
    LevelId m_wonLevel;

    // The profile manager's current profile; a FatalError without one.
    ProfileBase& CurrentProfile() const;

    bool m_pausedByFocus = false;
    bool m_timerWasPaused = false;
    std::uint32_t m_windowChangeFrames = 0;

private:
    void CopyEngineServices();
    void TellSavesAreOff();
    void DeleteWindows();
    // True once for a raised command, which it marks handled.
    bool TakeCommand(const char* name);
    void LogVideoMemory();
    void LogOccupation();
    void LogLoadedTextures();
    // The language's folder or file stem below the given folder.
    std::string LanguagePath(const std::string& folder) const;

    // The frame's parts.
    // The first frame without the focus pauses the level behind its pause window; true when this frame must
    // then run in full to show it.
    bool PauseLevelForFocusLoss();
    // The player has confirmed the quit and the game is on its way out.
    bool IsQuitting() const;
    void IdleWithoutFocus();
    // Nothing sounds on without the focus: the music pauses at once, the looping effects stop.
    void SilenceForFocusLoss();
    void ResumeAfterFocus();
    void RunFullFrame();
    void ApplyVideoModeChange();
    void CountWindowChangeFrames();

    // The handlers' parts.
    // The catalogue's record of the profile's current level; a level the catalogue does not hold becomes the
    // first level, and the profile is saved.
    LevelRecord* CurrentLevelRecord(ProfileBase& profile);
    // Closes the level's window and deletes the level's logic.
    void EndLevel();
    // Hands the level back to the player: the dialog that lay over it is closed.
    void ResumeLevel();
    // Takes a dialog's RESUME that waits from the last frame with the focus.
    void TakeResumeOfTheLastFrame();
};

} // namespace GameFramework
