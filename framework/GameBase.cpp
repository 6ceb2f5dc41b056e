#include "GameBase.h"

#include "AudioPlayer.h"
#include "DataKeeper.h"
#include "FontList.h"
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
#include "LanguageManager.h"
#include "LevelManagerBase.h"
#include "ProfileManagerBase.h"
#include "ReadRegistryString.h"
#include "UserFolderLock.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/SafeSave.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/Camera.h"
#include "engine/render/ModelManager.h"
#include "engine/render/RenderSystem.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "engine/sound/SoundManager.h"

#include <cstdlib>
#include <vector>

namespace GameFramework {
namespace {

constexpr int kLocalMachine = 3;
constexpr int kCurrentUser = 2;
constexpr std::uint32_t kDefaultVersion = 100;
constexpr float kVirtualWidth = 800.0f;
constexpr float kVirtualHeight = 600.0f;
constexpr double kBytesToMegabytes = 9.536743e-07;

// The installer's value from the local machine, else the user's; false when neither hive has it.
bool ReadInstallerValue(const std::string& key, const std::string& name, std::string& value)
{
    return GameTools::ReadRegistryString(kLocalMachine, key, name, value) ||
           GameTools::ReadRegistryString(kCurrentUser, key, name, value);
}

} // namespace

GameBase::GameBase(const std::string& productName, const std::string& makerName)
    : m_makerName(makerName), m_productName(productName), m_registryKey("SOFTWARE\\" + makerName + "\\" + productName)
{
    std::string version = KeystrelEngine::FormatUnsigned(kDefaultVersion);
    ReadInstallerValue(m_registryKey, "Version", version);
    m_version = static_cast<std::uint32_t>(std::strtoul(version.c_str(), nullptr, 10));
    if (!ReadInstallerValue(m_registryKey, "InstallPath", m_installPath))
        m_installPath = KeystrelEngine::GetApplicationFolder();
    const std::string dataFolder = KeystrelEngine::FileManager::GetUserFolder();
    if (!dataFolder.empty())
        m_userFolder = dataFolder + "\\" + makerName + "\\" + productName;
}

GameBase::~GameBase()
{
    m_gameLogic.reset();
    DeleteWindows();
    m_cursor.reset();
    m_highScoresTable.reset();
    m_profileManager.reset();
    m_levelManager.reset();
    m_gameData.reset();
    m_gameLogicData.reset();
    m_previousGameLogicData.reset();
    m_languageManager.reset();
    // The player writes the volumes back to the configuration, which the engine saves as it goes.
    m_audioPlayer.reset();
    m_engine.reset();
}

// The windows of a level go before the menus, and the start-up windows last.
void GameBase::DeleteWindows()
{
    m_levelCompleteWindow.reset();
    m_stageCompleteWindow.reset();
    m_gameCompleteWindow.reset();
    m_gameOverWindow.reset();
    m_gameLogicGameExitWindow.reset();
    m_gameLogicMenuExitWindow.reset();
    m_gameLogicMenuWindow.reset();
    m_gameLogicPauseWindow.reset();
    m_gameLogicWindow.reset();
    m_helpWindow.reset();
    m_optionsWindow.reset();
    m_highScoresWindow.reset();
    m_continueGameLogicWindow.reset();
    m_startGameLogicWindow.reset();
    m_profileNameConflictWindow.reset();
    m_profilesWindow.reset();
    m_newProfileWindow.reset();
    m_renameProfileWindow.reset();
    m_deleteProfileWindow.reset();
    m_mainMenuWindow.reset();
    m_exitWindow.reset();
    m_welcomeWindow.reset();
    m_gameLogicLoadingWindow.reset();
    m_gameLoadingWindow.reset();
    m_logosWindow.reset();
}

void GameBase::Initialize()
{
    KeystrelEngine::EngineSettings settings;
    FillEngineSettings(settings);
    if (m_userFolder.empty())
        throw KeystrelEngine::FatalError("No folder can hold the player's data: neither XDG_DATA_HOME nor HOME names "
                                         "a usable folder.");
    // Before anything is written: a second game on the folder ends without touching a file. The lock makes the
    // user folder too, where the engine opens the log first of all.
    m_userFolderLock = std::make_unique<UserFolderLock>(m_userFolder + "\\" + m_productName + ".lock", m_productName);
    KeystrelEngine::RemoveStrayTemporaries(m_userFolder);
    m_engine = std::make_unique<KeystrelEngine::Engine>(settings);
    CopyEngineServices();
    const bool savesOff = !m_userFolderLock->GetFailure().empty();
    if (savesOff) {
        m_log->Warning("Saves are off: " + m_userFolderLock->GetFailure());
        m_fileManager->SetSavesOff(m_userFolder);
    }
    KeystrelEngine::RandomSeed = GetTickCount();
    m_languageManager = std::make_unique<LanguageManager>(m_fileManager, m_registryKey);
    RegisterConsoleCommands();
    LoadFonts();
    LoadTexts();
    if (savesOff)
        TellSavesAreOff();
    m_guiManager->m_camera->m_width = kVirtualWidth;
    m_guiManager->m_camera->m_height = kVirtualHeight;
    m_console = m_engine->m_console.get();
    const float soundVolume = GetDefaultSoundVolume();
    const float musicVolume = GetDefaultMusicVolume();
    m_audioPlayer = std::make_unique<AudioPlayer>(m_config, m_soundManager, m_timerManager, musicVolume, soundVolume);
    m_levelManager = CreateLevelManager();
    m_profileManager = CreateProfileManager();
    m_highScoresTable = std::make_unique<HighScoresTable>(m_log, m_fileManager, m_userFolder);
    m_gameData = CreateGameData();
    m_cursor = CreateGameCursor();
    m_logosWindow = CreateLogosWindow();
    m_gameLoadingWindow = CreateGameLoadingWindow();
    LoadSounds();
    m_logosWindow->Open();
}

// The player learns before the first window that nothing of this game will be kept, in the language of its texts;
// the log has said why.
void GameBase::TellSavesAreOff()
{
    const std::string text = KeystrelEngine::ToNarrow(m_textManager->GetText("SAVES_OFF", -1));
    MessageBoxA(nullptr, text.c_str(), m_productName.c_str(), MB_ICONWARNING);
}

void GameBase::CopyEngineServices()
{
    KeystrelEngine::Engine& engine = *m_engine;
    m_log = engine.m_log.get();
    m_fileManager = engine.m_files.get();
    m_timerManager = engine.m_timers.get();
    m_config = engine.m_config.get();
    m_window = engine.m_window.get();
    m_renderSystem = engine.m_renderSystem.get();
    m_lightManager = engine.m_lights.get();
    m_shaderManager = engine.m_shaders.get();
    m_textureManager = m_shaderManager->GetTextureManager();
    m_modelManager = engine.m_models.get();
    m_spriteGroupManager = engine.m_spriteGroups.get();
    m_particleSystemManager = engine.m_particleSystems.get();
    m_controls = engine.m_controls.get();
    m_soundManager = engine.m_soundManager.get();
    m_guiManager = engine.m_gui.get();
    m_fontManager = m_guiManager->m_fonts.get();
    m_textManager = m_guiManager->m_texts.get();
    m_guiSoundManager = m_guiManager->m_guiSounds.get();
    m_screenCapture = engine.m_screenCapture.get();
    m_console = engine.m_console.get();
}

void GameBase::FillEngineSettings(KeystrelEngine::EngineSettings& settings)
{
    settings.applicationName = m_productName;
    settings.version = m_version;
    settings.installPath = m_installPath;
    settings.saveConfigOnExit = true;
    settings.configName = m_productName;
    settings.logEnabled = true;
    settings.logReopenEachMessage = false;
    settings.logFolder = m_userFolder;
    settings.logName = m_productName;
    settings.configFolder = m_userFolder;
    settings.dataFolder = "Data";
    settings.parentWindow = nullptr;
    settings.iconId = 0;
    settings.minimizeOnFocusLoss = true;
    settings.forceVideoMode = false;
    settings.videoMode = "800x600x32";
    settings.forceFullscreen = false;
    settings.fullscreen = true;
    settings.renderSystemFlag = false;
    settings.centerWindow = true;
    settings.windowLeft = 0;
    settings.windowTop = 0;
    settings.use3DSound = false;
}

void GameBase::RegisterConsoleCommands()
{
    using KeystrelEngine::Config;
    m_config->RegisterVariable("d_get_used_video_memory_size", "", Config::TypeCommand, false, nullptr, false);
    m_config->RegisterVariable("d_get_manages_occupation", "", Config::TypeCommand, false, nullptr, false);
    m_config->RegisterVariable("d_get_loaded_textures", "", Config::TypeCommand, false, nullptr, false);
    m_config->RegisterVariable("d_show_statistics", "0", Config::TypeBool, true, &m_showStatistics, false);
    m_config->RegisterVariable("g_update_video_mode", "", Config::TypeCommand, false, nullptr, false);
}

std::string GameBase::LanguagePath(const std::string& folder) const
{
    return folder + m_languageManager->GetCurrent().code;
}

// Every font of the language's list under its place in the list, with the list's settings.
void GameBase::LoadFonts()
{
    const FontList list = FontList::Read(*m_fileManager, *m_log, LanguagePath("data\\ui\\fonts\\") + ".ini");
    m_fontCount = static_cast<std::uint32_t>(list.fonts.size());
    m_consoleFontId = list.consoleFontId;
    for (std::uint32_t id = 0; id < m_fontCount; ++id) {
        const FontListEntry& entry = list.fonts[id];
        entry.ApplyTo(*m_fontManager->LoadFont(
            id, entry.fontName,
            KeystrelEngine::ShaderDescriptor::FromTexture(entry.textureName, 1, 1, entry.opacityName)));
    }
}

void GameBase::LoadTexts()
{
    LoadTextSection("common");
}

void GameBase::LoadTextSection(const std::string& name)
{
    m_textManager->LoadTexts(LanguagePath("ui\\texts\\") + "\\" + name + ".ini");
}

void GameBase::SetupConsole()
{
    m_engine->CreateConsole(m_engine->GetTitle(),
                            KeystrelEngine::ShaderDescriptor::FromTexture("ui\\console\\console.jpg", 1, 1, "32bit"),
                            m_consoleFontId, "~", 0.95f, 308.0f, 1000.0f);
    m_console = m_engine->m_console.get();
}

void GameBase::LoadSounds() {}

void GameBase::CreateWindows()
{
    m_gameLogicLoadingWindow = CreateGameLogicLoadingWindow();
    m_welcomeWindow = CreateWelcomeWindow();
    m_exitWindow = CreateExitWindow();
    m_mainMenuWindow = CreateMainMenuWindow();
    m_profilesWindow = CreateProfilesWindow();
    m_newProfileWindow = CreateNewProfileWindow();
    m_renameProfileWindow = CreateRenameProfileWindow();
    m_deleteProfileWindow = CreateDeleteProfileWindow();
    m_profileNameConflictWindow = CreateProfileNameConflictWindow();
    m_startGameLogicWindow = CreateStartGameLogicWindow();
    m_continueGameLogicWindow = CreateContinueGameLogicWindow();
    m_highScoresWindow = CreateHighScoresWindow();
    m_optionsWindow = CreateOptionsWindow();
    m_helpWindow = CreateHelpWindow();
    m_gameLogicWindow = CreateGameLogicWindow();
    m_gameLogicPauseWindow = CreateGameLogicPauseWindow();
    m_gameLogicMenuWindow = CreateGameLogicMenuWindow();
    m_gameLogicMenuExitWindow = CreateGameLogicMenuExitWindow();
    m_gameLogicGameExitWindow = CreateGameLogicGameExitWindow();
    m_levelCompleteWindow = CreateLevelCompleteWindow();
    m_stageCompleteWindow = CreateStageCompleteWindow();
    m_gameCompleteWindow = CreateGameCompleteWindow();
    m_gameOverWindow = CreateGameOverWindow();
}

std::string GameBase::GetAudioFilePath(const std::string& group, const std::string& name)
{
    const std::string base = "audio\\" + group + "\\" + name + ".";
    // Looked for where the sound's reader will open it, below the data folder.
    return m_fileManager->FileExists(KeystrelEngine::MakeDataPath(base + "wav")) ? base + "wav" : base + "ogg";
}

bool GameBase::TakeCommand(const char* name)
{
    if (m_config->GetCommandState(name) != 0)
        return false;
    m_config->SetCommandState(name, 1);
    return true;
}

void GameBase::HandleConsoleCommands()
{
    if (TakeCommand("d_get_used_video_memory_size"))
        LogVideoMemory();
    if (TakeCommand("d_get_manages_occupation"))
        LogOccupation();
    if (TakeCommand("d_get_loaded_textures"))
        LogLoadedTextures();
}

void GameBase::LogVideoMemory()
{
    const double megabytes = m_textureManager->GetUsedMemorySize() * kBytesToMegabytes;
    m_log->Message("Video Memory Used: " + KeystrelEngine::FormatFloat(megabytes, 2) + " Mb");
}

void GameBase::LogOccupation()
{
    using KeystrelEngine::FormatUnsigned;
    std::vector<KeystrelEngine::Texture2D*> textures;
    m_textureManager->GetLoadedTextures(textures);
    m_log->Message("Shader users count: " + FormatUnsigned(m_shaderManager->GetUserCount()));
    m_log->Message("Shaders count: " + FormatUnsigned(m_shaderManager->GetShaderCount()));
    m_log->Message("Textures count: " + FormatUnsigned(static_cast<std::uint32_t>(textures.size())));
    m_log->Message("Models count: " + FormatUnsigned(m_modelManager->GetRegistry().GetLiveCount()));
    m_log->Message("Sounds count: " +
                   FormatUnsigned(static_cast<std::uint32_t>(m_soundManager->GetSounds().GetUsedSlots().size())));
}

void GameBase::LogLoadedTextures()
{
    std::vector<KeystrelEngine::Texture2D*> textures;
    m_textureManager->GetLoadedTextures(textures);
    for (std::size_t i = 0; i < textures.size(); ++i)
        m_log->Message("Texture " + KeystrelEngine::FormatUnsigned(static_cast<std::uint32_t>(i)) + ": " +
                       textures[i]->GetName());
}

float GameBase::GetDefaultMusicVolume()
{
    return 1.0f;
}

float GameBase::GetDefaultSoundVolume()
{
    return 1.0f;
}

void GameBase::ResetRenderSystem()
{
    m_renderSystem->Reset(KeystrelEngine::RenderSystem::kResetDevice | KeystrelEngine::RenderSystem::kResetTextures);
}

} // namespace GameFramework
