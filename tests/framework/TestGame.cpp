#include "tests/framework/TestGame.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/Random.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "framework/HighScoresTable.h"

namespace FrameworkTesting {

using namespace GameFramework;

std::vector<std::string> Journal::Starting(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& entry : entries) {
        if (entry.compare(0, prefix.size(), prefix) == 0)
            found.push_back(entry);
    }
    return found;
}

std::unique_ptr<StageRecord> TestCatalogue::CreateStage()
{
    return std::make_unique<StageRecord>();
}

std::unique_ptr<LevelRecord> TestCatalogue::CreateLevel()
{
    return std::make_unique<LevelRecord>();
}

TestGame::TestGame(Journal& journal, bool initialize, std::string failingFactory)
    : GameBase("Quellhaven", "Tarrowby Games"), m_journal(&journal), m_failingFactory(std::move(failingFactory))
{
    if (initialize)
        Initialize();
}

void TestGame::Turn(const std::string& slot)
{
    if (slot == m_failingFactory)
        throw KeystrelEngine::FatalError(slot + " failed");
    m_journal->Add(slot);
}

template <class Window, class... Args> std::unique_ptr<Window> TestGame::Make(const std::string& slot, Args&&... args)
{
    Turn(slot);
    return std::make_unique<Window>(m_journal, slot.substr(6), std::forward<Args>(args)...);
}

// Slot 3 comes before the engine; slot 4 finds the engine, the seed and the language manager.
void TestGame::FillEngineSettings(KeystrelEngine::EngineSettings& settings)
{
    Turn("FillEngineSettings");
    GameBase::FillEngineSettings(settings);
    // Tests run in a window of the desktop.
    settings.fullscreen = false;
}

void TestGame::RegisterConsoleCommands()
{
    if (m_engine)
        m_journal->Add("engine");
    if (KeystrelEngine::RandomSeed == GetTickCount())
        m_journal->Add("seed");
    if (m_languageManager)
        m_journal->Add("language manager");
    Turn("RegisterConsoleCommands");
    GameBase::RegisterConsoleCommands();
}

void TestGame::LoadFonts()
{
    Turn("LoadFonts");
    GameBase::LoadFonts();
}

void TestGame::LoadTexts()
{
    Turn("LoadTexts");
    GameBase::LoadTexts();
}

void TestGame::LoadSounds()
{
    Turn("LoadSounds");
    GameBase::LoadSounds();
}

float TestGame::GetDefaultMusicVolume()
{
    Turn("GetDefaultMusicVolume");
    return 0.5f;
}

float TestGame::GetDefaultSoundVolume()
{
    const KeystrelEngine::Camera& camera = *m_guiManager->m_camera;
    if (camera.m_width == 800.0f && camera.m_height == 600.0f)
        m_journal->Add("GUI 800 x 600");
    Turn("GetDefaultSoundVolume");
    return 0.75f;
}

std::unique_ptr<LevelManagerBase> TestGame::CreateLevelManager()
{
    return Make<TestCatalogue>("CreateLevelManager", m_log, m_fileManager);
}

std::unique_ptr<ProfileManagerBase> TestGame::CreateProfileManager()
{
    return Make<TestProfileManager>("CreateProfileManager", m_log, m_fileManager, m_audioPlayer.get(), m_userFolder);
}

std::unique_ptr<DataKeeper> TestGame::CreateGameData()
{
    if (m_highScoresTable)
        m_journal->Add("high-score table");
    return Make<TestKeeper>("CreateGameData", m_engine.get());
}

std::unique_ptr<GUIGameCursorBase> TestGame::CreateGameCursor()
{
    return Make<TestCursor>("CreateGameCursor", m_engine.get());
}

std::unique_ptr<GUILogosWindowBase> TestGame::CreateLogosWindow()
{
    return Make<LogosWindow>("CreateLogosWindow", m_engine.get());
}

std::unique_ptr<GUILoadingWindowBase> TestGame::CreateGameLoadingWindow()
{
    return Make<LoadingWindow>("CreateGameLoadingWindow", m_engine.get());
}

std::unique_ptr<GUILoadingWindowBase> TestGame::CreateGameLogicLoadingWindow()
{
    return Make<LoadingWindow>("CreateGameLogicLoadingWindow", m_engine.get());
}

std::unique_ptr<GUIWelcomeWindowBase> TestGame::CreateWelcomeWindow()
{
    return Make<WelcomeWindow>("CreateWelcomeWindow", m_engine.get());
}

std::unique_ptr<GUIExitWindowBase> TestGame::CreateExitWindow()
{
    return Make<ExitWindow>("CreateExitWindow", m_engine.get());
}

std::unique_ptr<GUIMainMenuWindowBase> TestGame::CreateMainMenuWindow()
{
    return Make<MainMenuWindow>("CreateMainMenuWindow");
}

std::unique_ptr<GUIProfilesWindowBase> TestGame::CreateProfilesWindow()
{
    return Make<ProfilesWindow>("CreateProfilesWindow", m_engine.get());
}

std::unique_ptr<GUINewProfileWindowBase> TestGame::CreateNewProfileWindow()
{
    return Make<NewProfileWindow>("CreateNewProfileWindow", m_profileManager.get());
}

std::unique_ptr<GUIRenameProfileWindowBase> TestGame::CreateRenameProfileWindow()
{
    return Make<RenameProfileWindow>("CreateRenameProfileWindow", m_profileManager.get());
}

std::unique_ptr<GUIDeleteProfileWindowBase> TestGame::CreateDeleteProfileWindow()
{
    return Make<DeleteProfileWindow>("CreateDeleteProfileWindow", m_engine.get());
}

std::unique_ptr<GUIProfileNameConflictWindowBase> TestGame::CreateProfileNameConflictWindow()
{
    return Make<ProfileNameConflictWindow>("CreateProfileNameConflictWindow");
}

std::unique_ptr<GUIStartGameLogicWindowBase> TestGame::CreateStartGameLogicWindow()
{
    return Make<StartGameLogicWindow>("CreateStartGameLogicWindow");
}

std::unique_ptr<GUIContinueGameLogicWindowBase> TestGame::CreateContinueGameLogicWindow()
{
    return Make<ContinueGameLogicWindow>("CreateContinueGameLogicWindow", m_engine.get());
}

std::unique_ptr<GUIHighScoresWindowBase> TestGame::CreateHighScoresWindow()
{
    return Make<HighScoresWindow>("CreateHighScoresWindow", m_engine.get());
}

std::unique_ptr<GUIOptionsWindowBase> TestGame::CreateOptionsWindow()
{
    return Make<OptionsWindow>("CreateOptionsWindow", m_engine.get(), m_audioPlayer.get(), m_profileManager.get());
}

std::unique_ptr<GUIHelpWindowBase> TestGame::CreateHelpWindow()
{
    return Make<HelpWindow>("CreateHelpWindow");
}

std::unique_ptr<GUIGameLogicWindowBase> TestGame::CreateGameLogicWindow()
{
    return Make<GameLogicWindow>("CreateGameLogicWindow", m_engine.get(), m_profileManager.get());
}

std::unique_ptr<GUIGameLogicPauseWindowBase> TestGame::CreateGameLogicPauseWindow()
{
    return Make<GameLogicPauseWindow>("CreateGameLogicPauseWindow", m_engine.get());
}

std::unique_ptr<GUIGameLogicMenuWindowBase> TestGame::CreateGameLogicMenuWindow()
{
    return Make<GameLogicMenuWindow>("CreateGameLogicMenuWindow", m_engine.get(), m_audioPlayer.get(),
                                     m_profileManager.get());
}

std::unique_ptr<GUIGameLogicMenuExitWindowBase> TestGame::CreateGameLogicMenuExitWindow()
{
    return Make<GameLogicMenuExitWindow>("CreateGameLogicMenuExitWindow", m_engine.get());
}

std::unique_ptr<GUIGameLogicGameExitWindowBase> TestGame::CreateGameLogicGameExitWindow()
{
    return Make<GameLogicGameExitWindow>("CreateGameLogicGameExitWindow", m_engine.get());
}

std::unique_ptr<GUILevelCompleteWindowBase> TestGame::CreateLevelCompleteWindow()
{
    return Make<LevelCompleteWindow>("CreateLevelCompleteWindow", m_engine.get());
}

std::unique_ptr<GUIStageCompleteWindowBase> TestGame::CreateStageCompleteWindow()
{
    return Make<StageCompleteWindow>("CreateStageCompleteWindow", m_engine.get());
}

std::unique_ptr<GUIGameCompleteWindowBase> TestGame::CreateGameCompleteWindow()
{
    return Make<GameCompleteWindow>("CreateGameCompleteWindow", m_engine.get());
}

std::unique_ptr<GUIGameOverWindowBase> TestGame::CreateGameOverWindow()
{
    return Make<GameOverWindow>("CreateGameOverWindow", m_engine.get());
}

std::unique_ptr<DataKeeper> TestGame::CreateGameLogicData(StageRecord* /*stage*/, LevelRecord* level)
{
    Turn("CreateGameLogicData");
    return std::make_unique<TestKeeper>(m_journal, "level data " + std::to_string(level->id.level), m_engine.get());
}

std::unique_ptr<GameLogicBase> TestGame::CreateGameLogic(StageRecord* stage, LevelRecord* level,
                                                         std::uint32_t carriedValue)
{
    return Make<TestGameLogic>("CreateGameLogic", m_engine.get(), m_audioPlayer.get(), carriedValue, stage, level);
}

std::vector<const void*> TestGame::Windows() const
{
    return {m_logosWindow.get(),
            m_gameLoadingWindow.get(),
            m_gameLogicLoadingWindow.get(),
            m_welcomeWindow.get(),
            m_exitWindow.get(),
            m_mainMenuWindow.get(),
            m_profilesWindow.get(),
            m_newProfileWindow.get(),
            m_renameProfileWindow.get(),
            m_deleteProfileWindow.get(),
            m_profileNameConflictWindow.get(),
            m_startGameLogicWindow.get(),
            m_continueGameLogicWindow.get(),
            m_highScoresWindow.get(),
            m_optionsWindow.get(),
            m_helpWindow.get(),
            m_gameLogicWindow.get(),
            m_gameLogicPauseWindow.get(),
            m_gameLogicMenuWindow.get(),
            m_gameLogicMenuExitWindow.get(),
            m_gameLogicGameExitWindow.get(),
            m_levelCompleteWindow.get(),
            m_stageCompleteWindow.get(),
            m_gameCompleteWindow.get(),
            m_gameOverWindow.get()};
}

} // namespace FrameworkTesting
