// The program's entry and the game object as the program starts them: the names the files and the registry are
// found under, the exit codes, the configuration's defaults, the sound table and the order in which the game's
// own objects and the shell's windows are updated.
#include "tests/game/app/game/GameFixture.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUISoundManager.h"
#include "engine/sound/Sound.h"
#include "framework/AudioPlayer.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/GUIWelcomeWindow.h"
#include "game/app/ProgramEntry.h"
#include "game/play/Character.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <ranges>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace GameTesting;

using GameEntry = GameFixture;

// The names the game is found under, and its exit code after a normal end and after a fatal error.
TEST_F(GameEntry, NamesItsPlacesAfterTheProductAndTheMakerAndExitsWithTheOutcome)
{
    std::string registryKey;
    std::string userFolder;
    std::string title;
    EXPECT_EQ(Play({{"start-up", Always,
                     [&](TestedGame& game) {
                         registryKey = game.GetRegistryKey();
                         userFolder = game.GetUserFolder();
                         title = game.GetEngine()->GetTitle();
                     }}}),
              0);
    EXPECT_EQ(registryKey, "SOFTWARE\\Tarrowby Games\\Quellhaven");
    EXPECT_TRUE(userFolder.ends_with("\\Tarrowby Games\\Quellhaven")) << userFolder;
    EXPECT_EQ(title, "Quellhaven 1.00"); // the product and its version
    EXPECT_NE(ReadUserFile("Quellhaven.html").find("Quellhaven Log end"), std::string::npos);
    EXPECT_NE(ReadUserFile("Quellhaven.ini").find("v_mode "), std::string::npos);
    EXPECT_TRUE(PlatformTesting::RecordedMessageBoxes().empty());

    // Without any font list the game takes English, whose list it cannot do without.
    for (const char* language : {"en", "ru", "ge", "fr", "it", "sp"})
        AppTesting::RemoveDataFile(std::string("ui\\fonts\\") + language + ".ini");
    std::string commandLine = "-window";
    EXPECT_EQ(Wispfold::WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL), 1);
    ASSERT_EQ(PlatformTesting::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(PlatformTesting::RecordedMessageBoxes()[0].caption, "Fatal Error");
    EXPECT_NE(PlatformTesting::RecordedMessageBoxes()[0].text.find("data\\ui\\fonts\\en.ini"), std::string::npos)
        << PlatformTesting::RecordedMessageBoxes()[0].text;
}

// A fresh configuration and one written before the camera settings existed: both start with the camera's
// defaults and keep them in the file afterwards.
TEST_F(GameEntry, ConfigurationDefaultsAreTheGamesAndAreWrittenBack)
{
    struct Case
    {
        std::string file; // empty: none
        std::string mode;
        float musicVolume;
        float soundVolume;
    };
    const Case cases[] = {{"", "1024x768x32", 0.37f, 0.48f},
                          {"v_mode 800x600x32\ng_music_volume 0.250000\n", "800x600x32", 0.25f, 0.48f}};
    for (const Case& c : cases) {
        std::filesystem::remove(UserFolder() + "Quellhaven.ini");
        if (!c.file.empty())
            TestSupport::WriteFile(UserFolder() + "Quellhaven.ini", c.file);
        std::map<std::string, std::string> read;
        std::pair<std::int32_t, float> camera;
        std::pair<float, float> volumes;
        EXPECT_EQ(Play({{"start-up", Always,
                         [&](TestedGame& game) {
                             read["v_mode"] = game.Config().GetValue("v_mode");
                             camera = {game.GetCameraType(), game.GetCameraValue()};
                             volumes = {game.Player().GetMusicVolume(), game.Player().GetSoundVolume()};
                         }}}),
                  0);
        EXPECT_EQ(read["v_mode"], c.mode) << c.file;
        EXPECT_EQ(camera, std::make_pair(1, 1.0f)) << c.file;
        EXPECT_FLOAT_EQ(volumes.first, c.musicVolume) << c.file;
        EXPECT_FLOAT_EQ(volumes.second, c.soundVolume) << c.file;
        const std::string written = ReadUserFile("Quellhaven.ini");
        EXPECT_NE(written.find("g_camera_type 1\r\n"), std::string::npos) << written;
        EXPECT_NE(written.find("g_camera_value 1.000000\r\n"), std::string::npos) << written;
    }
}

// A video mode no window can have gives way to the game's default with one warning that names the setting; the
// game starts and writes the default back.
TEST_F(GameEntry, AnImpossibleVideoModeFallsBackToTheDefault)
{
    TestSupport::WriteFile(UserFolder() + "Quellhaven.ini", "v_mode 99999x99999x32\n");
    std::string mode;
    EXPECT_EQ(Play({{"start-up", Always, [&](TestedGame& game) { mode = game.Config().GetValue("v_mode"); }}}), 0);
    EXPECT_EQ(mode, "1024x768x32");
    const std::string log = ReadUserFile("Quellhaven.html");
    EXPECT_NE(log.find("Warning: Window: the video mode \"99999x99999x32\" of the setting \"v_mode\" cannot be made, "
                       "the default \"1024x768x32\" is used!"),
              std::string::npos);
    EXPECT_NE(ReadUserFile("Quellhaven.ini").find("v_mode 1024x768x32"), std::string::npos);
}

// A first start whose data folder cannot be made plays with saves off: before the first window a box tells the
// player, in the game's language, that nothing will be kept; the player names a profile on the welcome window and
// reaches the main menu; the log (on standard error, as it has no file) says once which folder is in the way and
// why, in the system's separators, and then nothing more of saves; and nothing is made anywhere.
TEST_F(GameEntry, AFirstStartWithoutAFolderForItsDataPlaysWithSavesOff)
{
    namespace fs = std::filesystem;
    const std::string home = std::getenv("HOME"), data = std::getenv("XDG_DATA_HOME");
    const std::string readOnly = TestSupport::FreshFolder("read-only");
    const std::string fileInTheWay = TestSupport::FreshFolder("file-in-the-way");
    const std::string linkInTheWay = TestSupport::FreshFolder("link-in-the-way");
    const std::string fileBelow = TestSupport::FreshFolder("file-below");
    fs::create_symlink(data + "/nowhere", data + "/gone");
    TestSupport::WriteFile(fileInTheWay + "/Tarrowby Games", "not a folder");
    fs::create_symlink(data + "/nowhere", linkInTheWay + "/Tarrowby Games");
    fs::create_directory(fileBelow + "/Tarrowby Games");
    TestSupport::WriteFile(fileBelow + "/Tarrowby Games/Quellhaven", "not a folder");
    const struct
    {
        std::string dataHome, readOnly, failed, reason; // no XDG_DATA_HOME, no read-only folder: empty
        const char* language;
        std::u16string told; // in the box
    } cases[] = {
        {"", home + "/", home + "/.local", "Read-only file system", "en", u"your progress will not be kept"},
        {data + "/gone", "", data + "/gone", "No such file or directory", "ru", u"не будут сохранены"},
        {readOnly, readOnly + "/", readOnly + "/Tarrowby Games", "Read-only file system", "ge", u"nicht gespeichert"},
        {fileInTheWay, "", fileInTheWay + "/Tarrowby Games", "Not a directory", "fr", u"ne sera pas conservée"},
        {linkInTheWay, "", linkInTheWay + "/Tarrowby Games", "No such file or directory", "it",
         u"non verranno conservati"},
        {fileBelow, "", fileBelow + "/Tarrowby Games/Quellhaven", "Not a directory", "sp", u"no se guardará"}};
    const auto entries = [&] {
        return std::set<fs::path>(fs::recursive_directory_iterator(home + "/.."), fs::recursive_directory_iterator());
    };
    const auto welcome = [](TestedGame& game) {
        const auto* window = dynamic_cast<const Wispfold::GUIWelcomeWindow*>(game.m_welcomeWindow.get());
        return window && window->IsShown() && window->m_colour.a >= 1.0f ? window : nullptr;
    };
    const auto count = [](std::string_view text, std::string_view part) {
        return std::ranges::distance(std::views::split(text, part)) - 1;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failed);
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/registry.ini",
                               std::string("[SOFTWARE\\Tarrowby Games\\Quellhaven]\nLanguage=") + c.language + "\n");
        c.dataHome.empty() ? ::unsetenv("XDG_DATA_HOME") : ::setenv("XDG_DATA_HOME", c.dataHome.c_str(), 1);
        PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, c.readOnly, c.readOnly.empty() ? 0 : EROFS);
        PlatformTesting::RecordMessageBoxes(true);
        const auto before = entries();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Play({{"welcome", welcome, [](TestedGame&) { PlatformTesting::InjectText("A"); }},
                        {"name typed",
                         [&](TestedGame& game) {
                             return welcome(game)->GetEntry().GetEditBox()->GetEditBox()->GetText() == u"A";
                         },
                         [](TestedGame&) { PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, true); }},
                        {"ENTER released", [frames = 0](TestedGame&) mutable { return ++frames > 1; },
                         [](TestedGame&) { PlatformTesting::InjectKey(SDL_SCANCODE_RETURN, false); }},
                        {"main menu", MainMenuShown}}),
                  0);
        const std::string log = ::testing::internal::GetCapturedStderr();
        PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, "", 0);
        EXPECT_EQ(entries(), before);
        EXPECT_NE(log.find("Saves are off: Failed to create \"" + c.failed + "\" folder: " + c.reason),
                  std::string::npos)
            << log;
        EXPECT_EQ(count(log, "Saves are off"), 1) << log;
        EXPECT_EQ(count(log, "Failed to save"), 0) << log;
        const auto& boxes = PlatformTesting::RecordedMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Quellhaven");
        EXPECT_EQ(boxes[0].type, MB_ICONWARNING);
        EXPECT_NE(KeystrelEngine::ToWide(boxes[0].text).find(c.told), std::u16string::npos) << boxes[0].text;
    }
    fs::remove(TestSupport::BaseFolder() + "/registry.ini");
    PlatformTesting::SetAnsiCodePage(1252);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
}

// Every sound the game registers: the GUI's button sounds with their alternatives and the player's table with
// its voices, each file found in the data.
TEST_F(GameEntry, RegistersEverySoundOfItsTable)
{
    std::map<std::uint32_t, std::vector<std::string>> guiSounds;
    std::map<std::uint32_t, std::vector<std::string>> playerSounds; // one path per voice
    bool allLoaded = true;
    Play({{"start-up", Always, [&](TestedGame& game) {
               for (std::uint32_t id = 0; id <= 13; ++id) {
                   for (const KeystrelEngine::Sound* sound : game.GuiSounds().GetSounds(id))
                       guiSounds[id].push_back(sound->GetName());
               }
               for (const auto& voice : game.Player().GetVoices()) {
                   playerSounds[voice->soundId].push_back(voice->path);
                   allLoaded = allLoaded && voice->sound != nullptr;
               }
           }}});

    const std::string select0 = "audio\\menu\\button_select_0.wav";
    const std::string click = "audio\\menu\\button_click.wav";
    EXPECT_EQ(guiSounds[0], (std::vector<std::string>{select0, "audio\\menu\\button_select_1.wav"}));
    EXPECT_EQ(guiSounds[1], std::vector<std::string>{click});
    for (std::uint32_t id = 2; id <= 11; ++id)
        EXPECT_EQ(guiSounds[id], std::vector<std::string>{id % 2 == 0 ? select0 : click}) << "GUI sound " << id;
    EXPECT_EQ(guiSounds[12], std::vector<std::string>{"audio\\menu\\edit_box_print.wav"});
    EXPECT_TRUE(guiSounds[13].empty());

    struct Expected
    {
        std::uint32_t id;
        std::string path;
        std::size_t voices;
    };
    std::vector<Expected> table = {{0, "menu\\volume_slider", 1},
                                   {1, "menu\\charge_score", 1},
                                   {2, "menu\\charge_mana", 1},
                                   {3, "menu\\upgrade", 1},
                                   {4, "menu\\window_appear", 1},
                                   {5, "menu\\window_disappear", 1},
                                   {15, "game\\bad_swap", 2},
                                   {16, "game\\bonus_color_destruction", 1},
                                   {17, "game\\bonus_combination_destruction", 2},
                                   {18, "game\\bonus_item_destruction", 2},
                                   {19, "game\\combination_0", 4},
                                   {20, "game\\combination_1", 3},
                                   {21, "game\\combination_2", 2},
                                   {22, "game\\combination_3", 1},
                                   {23, "game\\combination_4", 1},
                                   {24, "game\\deselect", 1},
                                   {25, "game\\level_begin", 1},
                                   {26, "game\\level_end", 1},
                                   {27, "game\\level_failed", 1},
                                   {28, "game\\select", 2},
                                   {29, "game\\swap", 2}};
    for (std::uint32_t n = 0; n < 9; ++n)
        table.push_back({6 + n, "game\\character_paise_" + std::to_string(n), 1});
    EXPECT_EQ(playerSounds.size(), table.size());
    for (const Expected& sound : table)
        EXPECT_EQ(playerSounds[sound.id], std::vector<std::string>(sound.voices, "audio\\" + sound.path + ".wav"))
            << "sound " << sound.id;
    EXPECT_TRUE(allLoaded);
}

// The shell's windows see the frame after the game's own objects have had it: what the upgrade window, the
// introduction and the character have done in a frame is there when the first framework window updates.
TEST_F(GameEntry, UpdatesItsOwnObjectsBeforeTheShellsWindows)
{
    struct Reading
    {
        float upgradeClock = 0.0f;
        float introductionFade = 0.0f;
        float characterAlpha = 0.0f;
        bool operator==(const Reading&) const = default;
    };
    const auto read = [](const TestedGame& game) {
        return Reading{game.GetUpgradeWindow()->GetClock(), game.GetIntroductionWindow()->m_colour.a,
                       game.GetCharacter()->GetAlpha()};
    };
    Reading probed;
    Reading highest;
    int mismatches = 0;
    const auto compare = [&](TestedGame& game) {
        const Reading now = read(game);
        mismatches += probed == now ? 0 : 1;
        highest = {std::max(highest.upgradeClock, now.upgradeClock),
                   std::max(highest.introductionFade, now.introductionFade),
                   std::max(highest.characterAlpha, now.characterAlpha)};
        return true;
    };
    Play({{"profile", Always,
           [](TestedGame& game) { game.m_profileManager->m_current = game.m_profileManager->AddProfile(u"Ann"); }},
          {"main menu", MainMenuShown,
           [&](TestedGame& game) {
               game.frameworkWindowsProbe = [&] { probed = read(game); };
               // The main menu's show-place request: the upgrade window in its menu mode.
               game.m_mainMenuWindow->m_result = Wispfold::GUIMainMenuWindow::kRequestShowPlace;
           }},
          {"upgrade clock", [&](TestedGame& game) { return compare(game) && highest.upgradeClock > 1.0f; }},
          {"introduction", Always,
           [](TestedGame& game) { game.GetUpgradeWindow()->m_result = GameFramework::RequestBack; }},
          {"main menu again", MainMenuShown,
           [](TestedGame& game) {
               game.m_mainMenuWindow->m_result = Wispfold::GUIMainMenuWindow::kRequestIntroduction;
           }},
          {"introduction shown", [&](TestedGame& game) { return compare(game) && highest.introductionFade >= 1.0f; }}});
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(highest.upgradeClock, 0.0f);
    EXPECT_GT(highest.introductionFade, 0.0f);
}

// The factories' windows and level objects work together: the map's start loads the first level and makes its
// logic, the first level track plays on the level channel, and nothing on the way logs a warning or an error.
TEST_F(GameEntry, StartsALevelFromTheMapThroughItsFactories)
{
    int frames = 0;
    bool levelMade = false;
    int levelMusic = -1;
    std::uint32_t alternator = 0;
    const auto wait = [&](int count) { return [&frames, count](TestedGame&) { return ++frames % count == 0; }; };
    EXPECT_EQ(
        Play({{"profile", Always,
               [](TestedGame& game) { game.m_profileManager->m_current = game.m_profileManager->AddProfile(u"Ann"); }},
              {"main menu", MainMenuShown,
               [](TestedGame& game) { game.m_mainMenuWindow->m_result = GameFramework::RequestStart; }},
              {"map", wait(120),
               [](TestedGame& game) { game.m_startGameLogicWindow->m_result = GameFramework::RequestStart; }},
              {"level", [](TestedGame& game) { return game.m_gameLogic != nullptr; }},
              {"level frames", wait(150),
               [&](TestedGame& game) {
                   levelMade = game.m_gameLogic != nullptr;
                   levelMusic = game.Player().GetMusicState(Wispfold::Game::kLevelChannel);
                   alternator = game.GetLevelMusic();
               }}}),
        0);
    EXPECT_TRUE(levelMade);
    EXPECT_EQ(levelMusic, KeystrelEngine::Sound::Playing);
    EXPECT_EQ(alternator, 1u) << "the next level plays the second track";
    const std::string log = ReadUserFile("Quellhaven.html");
    EXPECT_EQ(log.find("Warning: "), std::string::npos) << log;
    EXPECT_EQ(log.find("Error: "), std::string::npos) << log;
}

} // namespace
