#include "Game.h"

#include "GUIBackgroundWindow.h"
#include "GUIContinueGameLogicWindow.h"
#include "GUIDeleteProfileWindow.h"
#include "GUIExitWindow.h"
#include "GUIGameCompleteWindow.h"
#include "GUIGameCursor.h"
#include "GUIGameLoadingWindow.h"
#include "GUIGameLogicGameExitWindow.h"
#include "GUIGameLogicLoadingWindow.h"
#include "GUIGameLogicMenuExitWindow.h"
#include "GUIGameLogicMenuWindow.h"
#include "GUIGameLogicPauseWindow.h"
#include "GUIGameLogicWindow.h"
#include "GUIGameOverWindow.h"
#include "GUIHelpWindow.h"
#include "GUIHighScoresWindow.h"
#include "GUIIntroductionWindow.h"
#include "GUILevelCompleteWindow.h"
#include "GUILogosWindow.h"
#include "GUIMainMenuWindow.h"
#include "GUIMenuWindowManager.h"
#include "GUINewProfileWindow.h"
#include "GUIOptionsWindow.h"
#include "GUIProfileNameConflictWindow.h"
#include "GUIProfilesWindow.h"
#include "GUIRelaxWindow.h"
#include "GUIRenameProfileWindow.h"
#include "GUIStageCompleteWindow.h"
#include "GUIStartGameLogicWindow.h"
#include "GUIUpgradeWindow.h"
#include "GUIWelcomeWindow.h"
#include "GameData.h"
#include "LevelResources.h"
#include "Profile.h"
#include "ProfileManager.h"
#include "ProfileTutorialFlags.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUISoundManager.h"
#include "framework/AudioPlayer.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/play/LevelManager.h"

#include <algorithm>
#include <array>
#include <string>

namespace Wispfold {
namespace {

// The game's text tables, after the shell's "common".
constexpr std::array kTextSections = {"character",
                                      "continue_game_logic",
                                      "delete_profile",
                                      "exit",
                                      "game_complete",
                                      "game_logic",
                                      "game_logic_exit",
                                      "game_logic_menu",
                                      "game_logic_pause",
                                      "game_over",
                                      "help",
                                      "high_scores",
                                      "introduction",
                                      "level_complete",
                                      "loading",
                                      "main_menu",
                                      "new_profile",
                                      "options",
                                      "profile_name_conflict",
                                      "profiles",
                                      "relax",
                                      "rename_profile",
                                      "stage_complete",
                                      "start_game",
                                      "statistics",
                                      "welcome"};

// The player's sounds, in registration order.
struct PlayerSound
{
    std::uint32_t id;
    const char* group;
    const char* name;
    bool loop;
    std::uint32_t voices;
};

constexpr std::array<PlayerSound, 6> kMenuSounds = {{
    {4, "menu", "window_appear", false, 1},
    {5, "menu", "window_disappear", false, 1},
    {0, "menu", "volume_slider", true, 1},
    {1, "menu", "charge_score", true, 1},
    {2, "menu", "charge_mana", true, 1},
    {3, "menu", "upgrade", false, 1},
}};

constexpr std::uint32_t kFirstPraiseSound = 6;
constexpr std::uint32_t kPraiseSoundCount = 9;

constexpr std::array<PlayerSound, 15> kLevelSounds = {{
    {15, "game", "bad_swap", false, 2},
    {16, "game", "bonus_color_destruction", false, 1},
    {17, "game", "bonus_combination_destruction", false, 2},
    {18, "game", "bonus_item_destruction", false, 2},
    {19, "game", "combination_0", false, 4},
    {20, "game", "combination_1", false, 3},
    {21, "game", "combination_2", false, 2},
    {22, "game", "combination_3", false, 1},
    {23, "game", "combination_4", false, 1},
    {24, "game", "deselect", false, 1},
    {25, "game", "level_begin", false, 1},
    {26, "game", "level_end", false, 1},
    {27, "game", "level_failed", false, 1},
    {28, "game", "select", false, 2},
    {29, "game", "swap", false, 2},
}};

// GUI sounds 2 to 11 pair a selection with a click, as sounds 0 and 1 do.
constexpr std::uint32_t kFirstPairedGuiSound = 2;
constexpr std::uint32_t kLastPairedGuiSound = 11;
constexpr std::uint32_t kEditBoxGuiSound = 12;

constexpr std::array kMusic = {"menu", "game0", "game1"};

} // namespace

Game::Game(const std::string& productName, const std::string& makerName) : GameBase(productName, makerName)
{
    StartUp();
}

// A data file the start-up cannot do without ends the program with its own text rather than as an unexplained
// failure; the log keeps the line when it is already open.
void Game::StartUp()
{
    try {
        Initialize();
    } catch (const KeystrelEngine::FileError& error) {
        if (m_log)
            m_log->FatalError(error.GetText());
        throw KeystrelEngine::FatalError(error.GetText());
    }
}

Game::Game(const std::string& productName, const std::string& makerName, DeferInitialize)
    : GameBase(productName, makerName)
{
}

// A level still running at the end goes first: it speaks through the character and reads the shared record.
Game::~Game()
{
    m_gameLogic.reset();
    m_relaxWindow.reset();
    m_introductionWindow.reset();
    m_upgradeWindow.reset();
    m_character.reset();
    m_menuWindowManager.reset();
    m_background.reset();
}

void Game::FillEngineSettings(KeystrelEngine::EngineSettings& settings)
{
    GameBase::FillEngineSettings(settings);
    settings.videoMode = kVideoMode;
    settings.iconId = kIconResource;
}

void Game::RegisterConsoleCommands()
{
    GameBase::RegisterConsoleCommands();
    using KeystrelEngine::Config;
    m_config->RegisterVariable("g_camera_type", "1", Config::TypeInt, true, &m_cameraType, false);
    m_config->RegisterVariable("g_camera_value", "1", Config::TypeFloat, true, &m_cameraValue, false,
                               KeystrelEngine::FileValues::kUnit);
}

void Game::LoadTexts()
{
    GameBase::LoadTexts();
    for (const char* section : kTextSections)
        LoadTextSection(section);
}

void Game::LoadSounds()
{
    const auto menuSound = [this](const char* name) { return GetAudioFilePath("menu", name); };
    m_guiSoundManager->AddSound(0, menuSound("button_select_0"));
    m_guiSoundManager->AddSound(0, menuSound("button_select_1"));
    m_guiSoundManager->AddSound(1, menuSound("button_click"));
    for (std::uint32_t id = kFirstPairedGuiSound; id <= kLastPairedGuiSound; id += 2) {
        m_guiSoundManager->AddSound(id, menuSound("button_select_0"));
        m_guiSoundManager->AddSound(id + 1, menuSound("button_click"));
    }
    m_guiSoundManager->AddSound(kEditBoxGuiSound, menuSound("edit_box_print"));
    m_audioPlayer->SetSoundVolume(m_audioPlayer->GetSoundVolume());

    for (std::uint32_t track = 0; track < kMusic.size(); ++track)
        m_audioPlayer->AddMusic(track, GetAudioFilePath("music", kMusic[track]));
    const auto add = [this](const PlayerSound& sound) {
        m_audioPlayer->AddSound(sound.id, GetAudioFilePath(sound.group, sound.name), sound.voices, sound.loop);
    };
    for (const PlayerSound& sound : kMenuSounds)
        add(sound);
    for (std::uint32_t n = 0; n < kPraiseSoundCount; ++n) {
        const std::string name = "character_paise_" + std::to_string(n); // spelled so in the data
        m_audioPlayer->AddSound(kFirstPraiseSound + n, GetAudioFilePath("game", name), 1, false);
    }
    for (const PlayerSound& sound : kLevelSounds)
        add(sound);
}

// The objects the shell does not know exist before its windows, which use them.
void Game::CreateWindows()
{
    m_menuWindowManager = std::make_unique<GUIMenuWindowManager>(m_background.get());
    m_character = std::make_unique<Character>(*m_engine, *m_levelManager, *m_profileManager, *m_audioPlayer,
                                              MakeCharacterResources(*Data(), MenuParent()));
    m_upgradeWindow = std::make_unique<GUIUpgradeWindow>(m_engine.get(), m_menuWindowManager.get(), m_background.get(),
                                                         m_character->GetFigureWindow());
    m_introductionWindow = std::make_unique<GUIIntroductionWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                                   m_menuWindowManager.get(), MenuParent());
    m_relaxWindow = std::make_unique<GUIRelaxWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(),
                                                     Data(), m_menuWindowManager.get(), MenuParent());
    GameBase::CreateWindows();
    const auto menu = [](const auto& window) { return dynamic_cast<const GUIMenuWindow*>(window.get()); };
    m_levelDialogs = {menu(m_gameLogicPauseWindow),    menu(m_gameLogicMenuWindow), menu(m_gameLogicMenuExitWindow),
                      menu(m_gameLogicGameExitWindow), menu(m_levelCompleteWindow), menu(m_gameOverWindow)};
}

const GameData* Game::Data() const
{
    return static_cast<const GameData*>(m_gameData.get());
}

GUIGameCursor& Game::Cursor() const
{
    return static_cast<GUIGameCursor&>(*m_cursor);
}

Profile& Game::CurrentGameProfile() const
{
    return static_cast<Profile&>(CurrentProfile());
}

KeystrelEngine::GUIWindow* Game::MenuParent() const
{
    return m_background->GetTopRoot();
}

std::unique_ptr<GameFramework::LevelManagerBase> Game::CreateLevelManager()
{
    return std::make_unique<LevelManager>(m_log, m_fileManager);
}

std::unique_ptr<GameFramework::ProfileManagerBase> Game::CreateProfileManager()
{
    return std::make_unique<ProfileManager>(m_log, m_fileManager, m_audioPlayer.get(), m_userFolder,
                                            m_levelManager.get());
}

std::unique_ptr<GameFramework::DataKeeper> Game::CreateGameData()
{
    return std::make_unique<GameData>(GameFramework::DataKeeperServices{m_log, m_fileManager, m_shaderManager,
                                                                        m_modelManager, m_spriteGroupManager,
                                                                        m_particleSystemManager},
                                      m_guiManager);
}

std::unique_ptr<GameFramework::GUIGameCursorBase> Game::CreateGameCursor()
{
    return std::make_unique<GUIGameCursor>(m_engine.get());
}

std::unique_ptr<GameFramework::GUILogosWindowBase> Game::CreateLogosWindow()
{
    return std::make_unique<GUILogosWindow>(m_engine.get());
}

// The menu background comes first: the loading window shows it.
std::unique_ptr<GameFramework::GUILoadingWindowBase> Game::CreateGameLoadingWindow()
{
    m_background = std::make_unique<GUIBackgroundWindow>(m_engine.get(), m_audioPlayer.get(), m_levelManager.get(),
                                                         m_profileManager.get());
    return std::make_unique<GUIGameLoadingWindow>(m_engine.get(), m_background.get(), &Cursor());
}

std::unique_ptr<GameFramework::GUILoadingWindowBase> Game::CreateGameLogicLoadingWindow()
{
    return std::make_unique<GUIGameLogicLoadingWindow>(m_engine.get(), m_menuWindowManager.get());
}

std::unique_ptr<GameFramework::GUIWelcomeWindowBase> Game::CreateWelcomeWindow()
{
    return std::make_unique<GUIWelcomeWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                              m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIExitWindowBase> Game::CreateExitWindow()
{
    return std::make_unique<GUIExitWindow>(m_engine.get(), m_audioPlayer.get(), Data(), m_menuWindowManager.get(),
                                           MenuParent());
}

std::unique_ptr<GameFramework::GUIMainMenuWindowBase> Game::CreateMainMenuWindow()
{
    return std::make_unique<GUIMainMenuWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                               m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIProfilesWindowBase> Game::CreateProfilesWindow()
{
    return std::make_unique<GUIProfilesWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                               m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUINewProfileWindowBase> Game::CreateNewProfileWindow()
{
    return std::make_unique<GUINewProfileWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                                 m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIRenameProfileWindowBase> Game::CreateRenameProfileWindow()
{
    return std::make_unique<GUIRenameProfileWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                                    m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIDeleteProfileWindowBase> Game::CreateDeleteProfileWindow()
{
    return std::make_unique<GUIDeleteProfileWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                                    m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIProfileNameConflictWindowBase> Game::CreateProfileNameConflictWindow()
{
    return std::make_unique<GUIProfileNameConflictWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                          m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIStartGameLogicWindowBase> Game::CreateStartGameLogicWindow()
{
    return std::make_unique<GUIStartGameLogicWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                     m_menuWindowManager.get(), MenuParent(), m_profileManager.get(),
                                                     m_levelManager.get());
}

std::unique_ptr<GameFramework::GUIContinueGameLogicWindowBase> Game::CreateContinueGameLogicWindow()
{
    return std::make_unique<GUIContinueGameLogicWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(),
                                                        Data(), m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIHighScoresWindowBase> Game::CreateHighScoresWindow()
{
    return std::make_unique<GUIHighScoresWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                                 m_highScoresTable.get(), m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIOptionsWindowBase> Game::CreateOptionsWindow()
{
    return std::make_unique<GUIOptionsWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                              m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIHelpWindowBase> Game::CreateHelpWindow()
{
    return std::make_unique<GUIHelpWindow>(m_engine.get(), m_audioPlayer.get(), Data(), m_menuWindowManager.get(),
                                           MenuParent());
}

std::unique_ptr<GameFramework::GUIGameLogicWindowBase> Game::CreateGameLogicWindow()
{
    return std::make_unique<GUIGameLogicWindow>(m_engine.get(), m_profileManager.get(), Data(),
                                                m_menuWindowManager.get());
}

std::unique_ptr<GameFramework::GUIGameLogicPauseWindowBase> Game::CreateGameLogicPauseWindow()
{
    return std::make_unique<GUIGameLogicPauseWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                     m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIGameLogicMenuWindowBase> Game::CreateGameLogicMenuWindow()
{
    return std::make_unique<GUIGameLogicMenuWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(), Data(),
                                                    m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIGameLogicMenuExitWindowBase> Game::CreateGameLogicMenuExitWindow()
{
    return std::make_unique<GUIGameLogicMenuExitWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                        m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIGameLogicGameExitWindowBase> Game::CreateGameLogicGameExitWindow()
{
    return std::make_unique<GUIGameLogicGameExitWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                        m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUILevelCompleteWindowBase> Game::CreateLevelCompleteWindow()
{
    return std::make_unique<GUILevelCompleteWindow>(m_engine.get(), m_audioPlayer.get(), m_profileManager.get(),
                                                    static_cast<const LevelManager*>(m_levelManager.get()), Data(),
                                                    m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIStageCompleteWindowBase> Game::CreateStageCompleteWindow()
{
    return std::make_unique<GUIStageCompleteWindow>(m_engine.get());
}

std::unique_ptr<GameFramework::GUIGameCompleteWindowBase> Game::CreateGameCompleteWindow()
{
    return std::make_unique<GUIGameCompleteWindow>(m_engine.get(), m_audioPlayer.get(), Data(),
                                                   m_menuWindowManager.get(), MenuParent());
}

std::unique_ptr<GameFramework::GUIGameOverWindowBase> Game::CreateGameOverWindow()
{
    return std::make_unique<GUIGameOverWindow>(m_engine.get(), m_audioPlayer.get(), Data(), m_menuWindowManager.get(),
                                               MenuParent());
}

std::unique_ptr<GameFramework::DataKeeper> Game::CreateGameLogicData(GameFramework::StageRecord* stage,
                                                                     GameFramework::LevelRecord* level)
{
    return std::make_unique<GameLogicData>(GameFramework::DataKeeperServices{m_log, m_fileManager, m_shaderManager,
                                                                             m_modelManager, m_spriteGroupManager,
                                                                             m_particleSystemManager},
                                           stage, static_cast<LevelRecord*>(level));
}

std::unique_ptr<GameFramework::GameLogicBase>
Game::CreateGameLogic(GameFramework::StageRecord* stage, GameFramework::LevelRecord* level, std::uint32_t mode)
{
    if (!m_levelShared) {
        m_tutorialFlags = std::make_unique<ProfileTutorialFlags>(*m_profileManager);
        m_levelShared = std::make_unique<GameLogicShared>();
        m_levelShared->audio = m_audioPlayer.get();
        FillLevelResources(*Data(), m_levelShared->play, m_levelShared->cells);
        m_levelShared->tutorialTip = Data()->GetModel("game_objects\\cell\\cell_tip.mlf");
        m_levelShared->tutorialFlags = m_tutorialFlags.get();
        m_levelShared->character = m_character.get();
    }
    m_levelShared->relaxMode = CurrentGameProfile().GetFlag(Profile::RelaxMode);
    return std::make_unique<GameLogic>(*m_engine, *m_levelShared, static_cast<const GameLogicData&>(*m_gameLogicData),
                                       stage, static_cast<LevelRecord*>(level), mode);
}

float Game::GetDefaultMusicVolume()
{
    return kMusicVolume;
}

float Game::GetDefaultSoundVolume()
{
    return kSoundVolume;
}

// The background first, then what hangs on it, then the shell's windows.
void Game::UpdateWindows()
{
    if (m_background)
        m_background->Update();
    if (m_menuWindowManager && m_background->GetStartUpStep() == GUIBackgroundWindow::WaitForMenus) {
        m_menuWindowManager->m_frameFree = true;
        m_background->SetMenusReady();
    }
    if (m_character)
        m_character->Update();
    if (m_upgradeWindow)
        m_upgradeWindow->Update();
    if (m_introductionWindow)
        m_introductionWindow->Update();
    if (m_relaxWindow)
        m_relaxWindow->Update();
    GameBase::UpdateWindows();
    // Last, so that a phrase begun by the level this frame ends before it could be drawn over a dialog.
    if (m_character)
        m_character->SetDialogShown(IsLevelDialogOnScreen());
}

bool Game::IsLevelDialogOnScreen() const
{
    return std::any_of(m_levelDialogs.begin(), m_levelDialogs.end(), [](const GUIMenuWindow* dialog) {
        return dialog && dialog->IsShown() && dialog->IsFrameOnScreen();
    });
}

} // namespace Wispfold
