// The game base's start-up on the recording device: the installer's registry values from hives the tests write,
// the engine settings, the order of Initialize and CreateWindows, factories that fail, the fonts list, the
// developer commands, the sound file names and the order of destruction, read from the test game's journal.
#include "framework/GameBase.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Console.h"
#include "engine/gui/EngineSettings.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "framework/AudioPlayer.h"
#include "framework/LanguageManager.h"
#include "tests/framework/EnginePlatform.h"
#include "tests/framework/FakeClock.h"
#include "tests/framework/TestGame.h"
#include "tests/support/OneGlyphFont.h"
#include "tests/support/PackWriter.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using FrameworkTesting::Journal;
using FrameworkTesting::TestGame;
using TestSupport::BaseFolder;

namespace {

const std::string kKey = "SOFTWARE\\Tarrowby Games\\Quellhaven";

// A Windows path of the stand-in as the Linux path it stands for.
std::string LinuxPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string UserFolder()
{
    return KeystrelEngine::FileManager::GetUserFolder() + "\\Tarrowby Games\\Quellhaven";
}

class GameBaseTest : public ::testing::Test
{
protected:
    static void WriteHives(const std::string& machine, const std::string& user)
    {
        TestSupport::WriteFile(BaseFolder() + "/registry.ini", "[" + kKey + "]\n" + machine);
        TestSupport::WriteFile(std::string(std::getenv("XDG_CONFIG_HOME")) + "/keystrel/registry.ini",
                               "[" + kKey + "]\n" + user);
    }

    // The English fonts list and the common text table, which every start-up reads.
    static void WriteLanguage(const std::string& fontsList)
    {
        TestSupport::WriteFile(BaseFolder() + "/Data/ui/fonts/en.ini", fontsList);
        TestSupport::WriteFile(BaseFolder() + "/Data/ui/texts/en/common.ini", "[GREETING]\nhello\n");
    }

    std::unique_ptr<TestGame> Start(const std::string& failingFactory = "")
    {
        return std::make_unique<TestGame>(journal, true, failingFactory);
    }

    FrameworkTesting::EnginePlatform platform;
    FrameworkTesting::FakeClock clock; // the tick count holds still, so the seed is seen
    Journal journal;
};

TEST_F(GameBaseTest, RegistryValuesComeFromTheMachineBeforeTheUserAndFallBackToTheDefaults)
{
    const std::string programFolder = KeystrelEngine::GetApplicationFolder();
    const struct
    {
        const char* machine;
        const char* user;
        std::uint32_t version;
        std::string installPath;
    } cases[] = {
        {"", "", 100, programFolder},
        {"", "Version=105\n", 105, programFolder},
        {"Version=120\n", "Version=105\n", 120, programFolder},
        {"Version=abc\n", "", 0, programFolder},
        {"", "InstallPath=C:\\Games\\Quellhaven\n", 100, "C:\\Games\\Quellhaven"},
        {"InstallPath=D:\\Q\n", "InstallPath=C:\\Q\n", 100, "D:\\Q"},
    };
    for (const auto& c : cases) {
        WriteHives(c.machine, c.user);
        const TestGame game(journal, false);
        EXPECT_EQ(game.GetVersion(), c.version) << c.machine << c.user;
        EXPECT_EQ(game.GetInstallPath(), c.installPath) << c.machine << c.user;
        EXPECT_EQ(game.GetRegistryKey(), kKey);
    }
    const TestGame game(journal, false);
    EXPECT_EQ(game.GetUserFolder(), UserFolder());
    EXPECT_FALSE(KeystrelEngine::FileManager::FileExistsOnDisk(game.GetUserFolder())) << "nothing is created";
    EXPECT_TRUE(journal.entries.empty());
}

TEST_F(GameBaseTest, EngineSettingsNameTheProductAndItsFolders)
{
    WriteHives("Version=105\nInstallPath=C:\\Q\n", "");
    TestGame game(journal, false);
    KeystrelEngine::EngineSettings s;
    game.GameBase::FillEngineSettings(s);
    const std::string user = game.GetUserFolder();
    EXPECT_EQ(s.applicationName, "Quellhaven");
    EXPECT_EQ(s.version, 105u);
    EXPECT_EQ(s.installPath, "C:\\Q");
    EXPECT_TRUE(s.saveConfigOnExit);
    EXPECT_EQ(s.configName, "Quellhaven");
    EXPECT_TRUE(s.logEnabled);
    EXPECT_FALSE(s.logReopenEachMessage);
    EXPECT_EQ(s.logFolder, user);
    EXPECT_EQ(s.logName, "Quellhaven");
    EXPECT_EQ(s.configFolder, user);
    EXPECT_EQ(s.dataFolder, "Data");
    EXPECT_EQ(s.parentWindow, nullptr);
    EXPECT_EQ(s.iconId, 0u);
    EXPECT_TRUE(s.minimizeOnFocusLoss);
    EXPECT_FALSE(s.forceVideoMode);
    EXPECT_EQ(s.videoMode, "800x600x32");
    EXPECT_FALSE(s.forceFullscreen);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_FALSE(s.renderSystemFlag);
    EXPECT_TRUE(s.centerWindow);
    EXPECT_EQ(s.windowLeft, 0);
    EXPECT_EQ(s.windowTop, 0);
    EXPECT_FALSE(s.use3DSound);
}

TEST_F(GameBaseTest, InitializeRunsItsStepsInOrderAndOpensOnlyTheLogos)
{
    WriteLanguage("0 0\n");
    const auto game = Start();
    const std::vector<std::string> expected = {"FillEngineSettings",
                                               "engine",
                                               "seed",
                                               "language manager",
                                               "RegisterConsoleCommands",
                                               "LoadFonts",
                                               "LoadTexts",
                                               "GUI 800 x 600",
                                               "GetDefaultSoundVolume",
                                               "GetDefaultMusicVolume",
                                               "CreateLevelManager",
                                               "CreateProfileManager",
                                               "high-score table",
                                               "CreateGameData",
                                               "CreateGameCursor",
                                               "CreateLogosWindow",
                                               "CreateGameLoadingWindow",
                                               "LoadSounds",
                                               "open LogosWindow"};
    EXPECT_EQ(journal.entries, expected);
    EXPECT_TRUE(TestSupport::FileExists(LinuxPath(UserFolder()) + "/Quellhaven.html")) << "the first start has a log";
    const std::vector<const void*> windows = game->Windows();
    for (std::size_t i = 0; i < windows.size(); ++i)
        EXPECT_EQ(windows[i] != nullptr, i < 2) << "window of slot " << i + 14;
    EXPECT_EQ(game->m_console, nullptr) << "start-up makes no console";
    EXPECT_EQ(game->m_audioPlayer->GetDefaultMusicVolume(), 0.5f);
    EXPECT_EQ(game->m_audioPlayer->GetDefaultSoundVolume(), 0.75f);
    EXPECT_EQ(game->m_languageManager->GetCurrent().code, "en");
    EXPECT_EQ(game->m_textManager->GetText("GREETING", -1), u"hello");
}

TEST_F(GameBaseTest, CreateWindowsCallsTheFactoriesInSlotOrder)
{
    WriteLanguage("0 0\n");
    const auto game = Start();
    journal.entries.clear();
    game->CreateWindows();
    const std::vector<std::string> expected = {"CreateGameLogicLoadingWindow",
                                               "CreateWelcomeWindow",
                                               "CreateExitWindow",
                                               "CreateMainMenuWindow",
                                               "CreateProfilesWindow",
                                               "CreateNewProfileWindow",
                                               "CreateRenameProfileWindow",
                                               "CreateDeleteProfileWindow",
                                               "CreateProfileNameConflictWindow",
                                               "CreateStartGameLogicWindow",
                                               "CreateContinueGameLogicWindow",
                                               "CreateHighScoresWindow",
                                               "CreateOptionsWindow",
                                               "CreateHelpWindow",
                                               "CreateGameLogicWindow",
                                               "CreateGameLogicPauseWindow",
                                               "CreateGameLogicMenuWindow",
                                               "CreateGameLogicMenuExitWindow",
                                               "CreateGameLogicGameExitWindow",
                                               "CreateLevelCompleteWindow",
                                               "CreateStageCompleteWindow",
                                               "CreateGameCompleteWindow",
                                               "CreateGameOverWindow"};
    EXPECT_EQ(journal.entries, expected);
    for (const void* window : game->Windows())
        EXPECT_NE(window, nullptr);
}

// Whatever was made before the failing factory is deleted with the game, in the destructor's order, and the
// engine goes too; the sanitizer finds anything left.
TEST_F(GameBaseTest, AFactoryThatThrowsLeavesNothingBehind)
{
    WriteLanguage("0 0\n");
    const struct
    {
        const char* factory;
        std::vector<std::string> deleted;
    } cases[] = {
        {"CreateLevelManager", {}},
        {"CreateGameData", {"delete ProfileManager", "delete LevelManager"}},
        {"CreateGameLoadingWindow",
         {"delete LogosWindow", "delete GameCursor", "delete ProfileManager", "delete LevelManager",
          "delete GameData"}},
    };
    for (const auto& c : cases) {
        journal.entries.clear();
        EXPECT_THROW(Start(c.factory), KeystrelEngine::FatalError) << c.factory;
        EXPECT_EQ(journal.Starting("delete"), c.deleted) << c.factory;
        EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0) << c.factory;
    }

    // Of the windows that CreateWindows makes, the 13 before the help window are deleted with the game.
    journal.entries.clear();
    EXPECT_THROW(
        {
            TestGame game(journal, true, "CreateHelpWindow");
            game.CreateWindows();
        },
        KeystrelEngine::FatalError);
    const std::vector<std::string> deleted = journal.Starting("delete");
    EXPECT_EQ(deleted.size(), 13u + 6u) << "and the six objects of the start-up";
    EXPECT_EQ(deleted.front(), "delete OptionsWindow");
    EXPECT_EQ(std::count(deleted.begin(), deleted.end(), "delete HelpWindow"), 0);
}

TEST_F(GameBaseTest, FontsListNamesEachFontsFilesFactorsAndFlags)
{
    TestSupport::WriteFile(BaseFolder() + "/Data/ui/fonts/a.fnt", TestSupport::OneGlyphFont());
    TestSupport::WriteFile(BaseFolder() + "/Data/ui/fonts/b.fnt", TestSupport::OneGlyphFont());
    WriteLanguage("2\n1\n\n\nui\\fonts\\a.fnt\nui\\fonts\\a.tga\n32bit\n12.5 0.75 1.25\n1 0\n"
                  "ui\\fonts\\b.fnt\n\nui\\fonts\\b.tga\nui\\fonts\\b_alpha.tga\n20\n1.5\n0.5\n0\n7\n");
    auto game = Start();
    EXPECT_EQ(game->m_fontCount, 2u);
    EXPECT_EQ(game->m_consoleFontId, 1u);
    const KeystrelEngine::GUIFont* a = game->m_fontManager->FindFont(0);
    const KeystrelEngine::GUIFont* b = game->m_fontManager->FindFont(1);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(game->m_fontManager->FindFont(2), nullptr);
    EXPECT_EQ(a->m_size, 12.5f);
    EXPECT_EQ(a->m_spaceFactor, 0.75f);
    EXPECT_EQ(a->m_spacingFactor, 1.25f);
    EXPECT_FALSE(a->m_fixedWidth);
    EXPECT_TRUE(a->HasGlyph(u'a')) << "case variants added";
    EXPECT_EQ(b->m_size, 20.0f);
    EXPECT_EQ(b->m_spaceFactor, 1.5f);
    EXPECT_EQ(b->m_spacingFactor, 0.5f);
    EXPECT_TRUE(b->m_fixedWidth);
    EXPECT_FALSE(b->HasGlyph(u'a'));

    // The console is made only on request, with the list's console font.
    game->SetupConsole();
    ASSERT_NE(game->m_console, nullptr);
    EXPECT_EQ(game->m_console, game->m_engine->m_console.get());

    game.reset();
    WriteLanguage("0 3\n");
    game = Start();
    EXPECT_EQ(game->m_fontCount, 0u);
    EXPECT_EQ(game->m_consoleFontId, 3u);
    EXPECT_EQ(game->m_fontManager->FindFont(0), nullptr);
}

TEST_F(GameBaseTest, AMissingFontsListOrFontFailsTheStartUpWithTheFileError)
{
    TestSupport::WriteFile(BaseFolder() + "/Data/ui/texts/en/common.ini", "");
    EXPECT_THROW(Start(), KeystrelEngine::FileError) << "no fonts list";
    WriteLanguage("1 0\nui\\fonts\\missing.fnt\nui\\fonts\\a.tga\n32bit\n1 1 1 0 0\n");
    EXPECT_THROW(Start(), KeystrelEngine::FileError) << "no font file";
    WriteLanguage("-1 0\n");
    EXPECT_THROW(Start(), KeystrelEngine::FileError) << "a count beyond the list";
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
}

TEST_F(GameBaseTest, DeveloperCommandsAreAnsweredOnceInTheLog)
{
    WriteLanguage("0 0\n");
    const auto game = Start();
    KeystrelEngine::Config& config = *game->m_config;
    const auto& history = game->m_log->m_history;
    const auto raise = [&](const char* command) {
        config.SetCommandState(command, 0);
        config.SetCommandState(command, 0);
    };

    game->m_log->ClearHistory();
    raise("d_get_loaded_textures");
    game->HandleConsoleCommands();
    EXPECT_TRUE(history.empty()) << "no texture, no line";
    EXPECT_EQ(config.GetCommandState("d_get_loaded_textures"), 1);

    game->m_textureManager->GetTexture("ui\\first.tga", "", 0);
    game->m_textureManager->GetTexture("ui\\second.tga", "", 0);
    std::vector<KeystrelEngine::Texture2D*> textures;
    game->m_textureManager->GetLoadedTextures(textures);
    ASSERT_EQ(textures.size(), 2u);
    raise("d_get_used_video_memory_size");
    raise("d_get_manages_occupation");
    raise("d_get_loaded_textures");
    game->m_log->ClearHistory();
    game->HandleConsoleCommands();
    game->HandleConsoleCommands();
    std::vector<std::string> lines;
    for (const auto& record : history)
        lines.push_back(record.text);
    const double megabytes = game->m_textureManager->GetUsedMemorySize() * 9.536743e-07;
    const std::vector<std::string> expected = {
        "Video Memory Used: " + KeystrelEngine::FormatFloat(megabytes, 2) + " Mb\n",
        "Shader users count: 0\n",
        "Shaders count: 0\n",
        "Textures count: 2\n",
        "Models count: " + std::to_string(game->m_engine->m_models->GetRegistry().GetLiveCount()) + "\n",
        "Sounds count: 0\n",
        "Texture 0: " + textures[0]->GetName() + "\n",
        "Texture 1: " + textures[1]->GetName() + "\n"};
    EXPECT_EQ(lines, expected);
    EXPECT_NE(megabytes, 0.0);

    config.SetValue("d_show_statistics", "1");
    EXPECT_TRUE(game->m_showStatistics);
    EXPECT_EQ(config.GetCommandState("g_update_video_mode"), 1) << "registered, idle";
}

TEST_F(GameBaseTest, AudioFilesAreWaveWhenOneExistsElseOgg)
{
    WriteLanguage("0 0\n");
    TestSupport::WriteFile(BaseFolder() + "/Data/audio/sfx/click.wav", "RIFF");
    TestSupport::WriteFile(BaseFolder() + "/Data/audio/sfx/swap.ogg", "OggS");
    TestSupport::WriteFile(BaseFolder() + "/Data/sounds.pak",
                           TestSupport::BuildPack({{"data\\audio\\music\\menu.wav", TestSupport::ToBytes("RIFF")}}));
    const auto game = Start();
    EXPECT_EQ(game->GetAudioFilePath("music", "menu"), "audio\\music\\menu.wav") << "found in the pack";
    EXPECT_EQ(game->GetAudioFilePath("sfx", "click"), "audio\\sfx\\click.wav");
    EXPECT_EQ(game->GetAudioFilePath("sfx", "swap"), "audio\\sfx\\swap.ogg");
    EXPECT_EQ(game->GetAudioFilePath("music", "theme"), "audio\\music\\theme.ogg") << "no test of the ogg";
}

TEST_F(GameBaseTest, DestructionGoesFromTheLevelToTheStartUpWindowsAndTheServicesWithTheEngineLast)
{
    WriteLanguage("0 0\n");
    auto game = Start();
    game->CreateWindows();
    GameFramework::StageRecord stage;
    GameFramework::LevelRecord current;
    GameFramework::LevelRecord previous;
    current.id = {0, 2};
    previous.id = {0, 1};
    game->m_gameLogic = game->CreateGameLogic(&stage, &current, 0);
    game->m_gameLogicData = game->CreateGameLogicData(&stage, &current);
    game->m_previousGameLogicData = game->CreateGameLogicData(&stage, &previous);
    game->m_audioPlayer->SetMusicVolume(0.25f);
    journal.entries.clear();
    game.reset();

    const std::vector<std::string> expected = {"delete GameLogic",
                                               "delete LevelCompleteWindow",
                                               "delete StageCompleteWindow",
                                               "delete GameCompleteWindow",
                                               "delete GameOverWindow",
                                               "delete GameLogicGameExitWindow",
                                               "delete GameLogicMenuExitWindow",
                                               "delete GameLogicMenuWindow",
                                               "delete GameLogicPauseWindow",
                                               "delete GameLogicWindow",
                                               "delete HelpWindow",
                                               "delete OptionsWindow",
                                               "delete HighScoresWindow",
                                               "delete ContinueGameLogicWindow",
                                               "delete StartGameLogicWindow",
                                               "delete ProfileNameConflictWindow",
                                               "delete ProfilesWindow",
                                               "delete NewProfileWindow",
                                               "delete RenameProfileWindow",
                                               "delete DeleteProfileWindow",
                                               "delete MainMenuWindow",
                                               "delete ExitWindow",
                                               "delete WelcomeWindow",
                                               "delete GameLogicLoadingWindow",
                                               "delete GameLoadingWindow",
                                               "delete LogosWindow",
                                               "delete GameCursor",
                                               "delete ProfileManager",
                                               "delete LevelManager",
                                               "delete GameData",
                                               "delete level data 2",
                                               "delete level data 1"};
    EXPECT_EQ(journal.entries, expected);
    EXPECT_TRUE(KeystrelEngine::FileManager::FileExistsOnDisk(UserFolder())) << "the engine saved its files there";
    // The player wrote its volume back before the engine saved the configuration.
    const TestSupport::Bytes saved = TestSupport::ReadFile(LinuxPath(UserFolder()) + "/Quellhaven.ini");
    EXPECT_NE(std::string(saved.begin(), saved.end()).find("g_music_volume 0.25"), std::string::npos);
}

} // namespace
