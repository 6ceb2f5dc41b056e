#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "platform/testing.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace TestSupport;

namespace {

class ConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = FreshFolder("user");
        m_files = std::make_unique<FileManager>(&m_log, BaseFolder(), "Data");
    }

    std::unique_ptr<Config> Make(const std::string& mode = "1024x768x32", bool modeForced = false,
                                 bool fullForced = false, bool full = false)
    {
        return std::make_unique<Config>("Quellhaven", m_folder, &m_log, m_files.get(), mode, modeForced, fullForced,
                                        full);
    }

    std::string FileText() const
    {
        const Bytes bytes = ReadFile(m_folder + "/Quellhaven.ini");
        return std::string(bytes.begin(), bytes.end());
    }

    std::string m_folder;
    MessageManager m_log{"", "Test", "", false, false};
    std::unique_ptr<FileManager> m_files;
};

} // namespace

TEST_F(ConfigTest, EngineVariablesStartAtTheirDefaults)
{
    auto config = Make("");
    EXPECT_EQ(config->v_mode, "800x600x32");
    EXPECT_FALSE(config->v_fullscreen);
    EXPECT_TRUE(config->v_vsync);
    EXPECT_FLOAT_EQ(config->v_gamma, 1.0f);
    EXPECT_EQ(config->r_texture_anisotropy, 1);
    EXPECT_EQ(config->GetCommandState("exit"), Config::kCommandIdle);
    EXPECT_EQ(config->GetCommandState("unknown"), 0);
    EXPECT_EQ(config->GetPath(), m_folder + "\\Quellhaven.ini");
    EXPECT_TRUE(Make("1024x768x32", false, false, true)->v_fullscreen);

    Config unnamed("", "", &m_log, m_files.get(), "", false, false, false);
    EXPECT_EQ(unnamed.GetPath(), "Keystrel Engine.ini");
}

TEST_F(ConfigTest, ExecuteSetsValuesRaisesCommandsAndReportsWhatItFound)
{
    auto config = Make();
    std::string name;
    EXPECT_EQ(config->Execute("V_Mode 1024x768x32", &name), Config::ResultDone);
    EXPECT_EQ(name, "v_mode");
    EXPECT_EQ(config->v_mode, "1024x768x32");
    EXPECT_EQ(config->Execute("v_mode"), Config::ResultNameOnly);
    EXPECT_EQ(config->v_mode, "1024x768x32");
    EXPECT_EQ(config->Execute("exit 5"), Config::ResultDone);
    EXPECT_EQ(config->GetCommandState("exit"), Config::kCommandRaised);
    EXPECT_EQ(config->Execute("    "), Config::ResultEmptyLine);
    EXPECT_EQ(config->Execute(""), Config::ResultEmptyLine);
    EXPECT_EQ(config->Execute("\\\\v_gamma 1.5"), Config::ResultDone);
    EXPECT_FLOAT_EQ(config->v_gamma, 1.5f);
    EXPECT_EQ(config->Execute("no_such_thing 1", &name), Config::ResultUnknownName);
    EXPECT_EQ(name, "no_such_thing");
}

TEST_F(ConfigTest, ValuesStopAtADoubleBackslashAndKeepSingleOnes)
{
    auto config = Make();
    EXPECT_EQ(config->Execute("v_mode 640x480x16 \\\\ the comment"), Config::ResultDone);
    EXPECT_EQ(config->v_mode, "640x480x16");
    EXPECT_EQ(config->Execute("v_mode a\\b"), Config::ResultDone);
    EXPECT_EQ(config->v_mode, "a\\b");
    EXPECT_EQ(config->Execute("  v_mode    800x600x32   "), Config::ResultDone);
    EXPECT_EQ(config->v_mode, "800x600x32");
}

TEST_F(ConfigTest, ValuesConvertByTypeAndReadBackAsText)
{
    auto config = Make();
    config->SetValue("v_gamma", "1.5");
    EXPECT_EQ(config->GetValue("v_gamma"), "1.500000");
    config->SetValue("v_vsync", "0");
    EXPECT_EQ(config->GetValue("V_VSYNC"), "0");
    config->SetValue("v_vsync", "2");
    EXPECT_TRUE(config->v_vsync);
    config->SetValue("r_texture_anisotropy", "99999999999");
    EXPECT_EQ(config->r_texture_anisotropy, INT32_MAX);
    config->SetValue("r_texture_anisotropy", "garbage");
    EXPECT_EQ(config->GetValue("r_texture_anisotropy"), "0");
    EXPECT_EQ(config->GetValue("exit"), "");
    EXPECT_EQ(config->GetValue("unknown"), "");
    EXPECT_EQ(config->GetDefaultValue("v_gamma"), "1.0");
    config->ResetToDefault("v_gamma");
    EXPECT_FLOAT_EQ(config->v_gamma, 1.0f);
}

TEST_F(ConfigTest, DetachedVariablesKeepTheirValueUntilTheOwnerReturns)
{
    auto config = Make();
    int volume = 0;
    config->RegisterVariable("g_music_volume", "80", Config::TypeInt, true, &volume, false);
    EXPECT_EQ(volume, 80);
    config->SetValue("g_music_volume", "35");
    config->UnregisterVariable("G_MUSIC_VOLUME");
    volume = -1;
    EXPECT_EQ(config->Execute("g_music_volume 10"), Config::ResultUnknownName);
    config->SetValue("g_music_volume", "10");
    EXPECT_EQ(config->GetValue("g_music_volume"), "35");
    std::vector<std::string> names;
    config->GetNames(names);
    EXPECT_EQ(std::count(names.begin(), names.end(), "g_music_volume"), 0);

    int again = 0;
    config->RegisterVariable("g_music_volume", "50", Config::TypeInt, true, &again, false);
    EXPECT_EQ(again, 35);
    EXPECT_EQ(volume, -1);
    config->GetNames(names);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::count(names.begin(), names.end(), "g_music_volume"), 1);
}

TEST_F(ConfigTest, ChangesAreVisibleForExactlyOneFrame)
{
    auto config = Make();
    float volume = 0;
    config->RegisterVariable("g_volume", "0.5", Config::TypeFloat, false, &volume, true);
    EXPECT_TRUE(config->HasChanged("g_volume")); // new tracked variables count as changed once
    config->Update();
    config->EndFrame();
    config->Update();
    EXPECT_FALSE(config->HasChanged("g_volume"));
    config->EndFrame();

    volume = 0.50005f; // within the tolerance
    config->Update();
    EXPECT_FALSE(config->HasChanged("g_volume"));
    config->EndFrame();

    config->Execute("g_volume 0.75");
    EXPECT_FALSE(config->HasChanged("g_volume"));
    config->Update();
    EXPECT_TRUE(config->HasChanged("g_volume"));
    config->EndFrame();
    config->Update();
    EXPECT_FALSE(config->HasChanged("g_volume"));
    EXPECT_FALSE(config->HasChanged("unknown"));
}

TEST_F(ConfigTest, ResetConfigRestoresDefaultsAtTheNextUpdate)
{
    auto config = Make();
    config->Execute("v_gamma 2");
    config->Execute("reset_config");
    config->Update();
    EXPECT_FLOAT_EQ(config->v_gamma, 1.0f);
    EXPECT_EQ(config->GetCommandState("reset_config"), Config::kCommandIdle);
}

TEST_F(ConfigTest, SaveAndLoadRoundTrip)
{
    {
        auto config = Make();
        config->Execute("v_gamma 1.5");
        config->Execute("v_mode 1280x1024x32");
        config->Execute("c_invert_mouse 1");
        config->Execute("exit");
        config->Save();
    }
    const std::string text = FileText();
    EXPECT_NE(text.find("v_gamma 1.500000\r\n"), std::string::npos);
    EXPECT_NE(text.find("c_invert_mouse 1\r\n"), std::string::npos);
    EXPECT_EQ(text.find("exit"), std::string::npos);
    EXPECT_EQ(text.find("reset_config"), std::string::npos);
    EXPECT_EQ(text.rfind("c_invert_mouse", 0), 0u);                                 // ascending name order
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), {}), 1); // no temporary is left

    auto config = Make();
    config->Load();
    EXPECT_FLOAT_EQ(config->v_gamma, 1.5f);
    EXPECT_EQ(config->v_mode, "1280x1024x32");
    EXPECT_TRUE(config->c_invert_mouse);
}

TEST_F(ConfigTest, ForcedSettingsWinOverTheFile)
{
    WriteFile(m_folder + "/Quellhaven.ini", "v_mode 640x480x16\r\nv_fullscreen 1\r\n");
    auto forced = Make("1024x768x32", true, true, false);
    forced->Load();
    EXPECT_EQ(forced->v_mode, "1024x768x32");
    EXPECT_FALSE(forced->v_fullscreen);
    auto free = Make();
    free->Load();
    EXPECT_EQ(free->v_mode, "640x480x16");
    EXPECT_TRUE(free->v_fullscreen);
}

TEST_F(ConfigTest, LinesForLaterVariablesApplyAtRegistration)
{
    WriteFile(m_folder + "/Quellhaven.ini",
              "g_later 7\r\ng_later 9\r\n\\\\ui_custom_cursor 0 \\\\ note\r\ng_volume 3e38\r\n");
    auto config = Make();
    config->Load();
    m_log.ClearHistory();
    int later = 0;
    bool cursor = true;
    float volume = 0.0f;
    config->RegisterVariable("G_Later", "3", Config::TypeInt, true, &later, false);
    config->RegisterVariable("ui_custom_cursor", "1", Config::TypeBool, true, &cursor, false);
    EXPECT_TRUE(m_log.m_history.empty());
    // A line its variable cannot read (a volume beyond 0 to 1) leaves the default, as a line of its own would.
    config->RegisterVariable("g_volume", "0.5", Config::TypeFloat, true, &volume, false, FileValues::kUnit);
    EXPECT_EQ(later, 7);
    EXPECT_FALSE(cursor);
    EXPECT_EQ(volume, 0.5f);
    ASSERT_EQ(m_log.m_history.size(), 1u);
    EXPECT_NE(m_log.m_history[0].text.find("cannot be read at line 4; the file is kept as"), std::string::npos);
}

TEST_F(ConfigTest, GarbageAndOtherEncodingsLoadWithoutHarm)
{
    WriteFile(m_folder + "/Quellhaven.ini",
              Bytes{0xFF, 0xFE, 'v', 0, '_', 0, 'g',  0, 'a',  0, 'm',  0,    'm',  0,
                    'a',  0,    ' ', 0, '2', 0, '\r', 0, '\n', 0, 0x00, 0xD8, 0xFF, 0xFF});
    auto config = Make();
    config->Load();
    EXPECT_FLOAT_EQ(config->v_gamma, 2.0f);

    WriteFile(m_folder + "/Quellhaven.ini", Bytes{0, 1, 2, '\\', '\\', 0xFF, '\r', ' ', 'x', '\n', 0x80});
    config->Load();
    EXPECT_FLOAT_EQ(config->v_gamma, 1.0f);
}

// A file with a line that cannot be read is copied to ".bad" with one warning; the other lines still apply, and
// the next save writes the lines of settings this run does not know back as they were read.
TEST_F(ConfigTest, AnUnreadableFileIsKeptAsBadAndUnknownSettingsAreWrittenBack)
{
    const std::string good = "v_mode 800x600x32\r\n\\g_future 7 \\\\ kept\r\n";
    for (const std::string line :
         {"", "v_vsync", "v_gamma 1.2.3", "r_texture_anisotropy four", "v_brightness nan", "v_brightness 1e39",
          "v_contrast -1", "v_fullscreen 1\x01", "v_m?de 640x480x16", "c_invert_mouse 99999999999"}) {
        WriteFile(m_folder + "/Quellhaven.ini", good + line);
        std::filesystem::remove(m_folder + "/Quellhaven.ini.bad");
        m_log.ClearHistory();
        auto config = Make();
        config->Load();
        config->Save();
        EXPECT_EQ(config->v_mode, "800x600x32");
        EXPECT_NE(FileText().find("\r\n\\g_future 7 \\\\ kept\r\n"), std::string::npos) << FileText();
        EXPECT_EQ(m_log.m_history.size(), line.empty() ? 0u : 1u) << line;
        if (!line.empty()) {
            EXPECT_NE(m_log.m_history[0].text.find("ini\" cannot be read at line 3; the file is kept as"),
                      std::string::npos);
            EXPECT_EQ(ReadFile(m_folder + "/Quellhaven.ini.bad"), ToBytes(good + line)) << line;
        }
    }
}

// What the console sets is saved as the next start reads it: a number beyond the float limits, however many digits
// it has, at the nearer end of its setting's range (a whole number beyond the int limits at the nearer limit), text
// naming infinity as no number, and a line break in a text never starting a setting of its own.
TEST_F(ConfigTest, WhatTheConsoleSetsIsSavedAsTheNextStartReadsIt)
{
    const struct
    {
        const char* line;
        std::string expected; // the setting's value as the next start reads it
    } rows[] = {
        {"v_brightness 1e39", "2.000000"},
        {"v_brightness 1e309", "2.000000"},
        {"v_brightness 1e999", "2.000000"},
        {"g_tilt -1e999", "-5.000000"},
        {"g_tilt -1e39", "-5.000000"},
        {"v_gamma 123456789012345678901234567890123456789012345678901234567890e300", "2.000000"},
        {"v_brightness inf", "0.000000"},
        {"v_gamma -inf", "0.000000"},
        {"r_texture_anisotropy 99999999999999999999999", "2147483647"},
        {"sc_take_screenshot_format -99999999999999999999999", "-2147483648"},
        {"v_mode 640x480x16\rv_vsync 0", "640x480x16v_vsync 0"},
    };
    // A setting whose range reaches below 0, so that a far negative number is seen at its end.
    float tilt = 0.0f;
    const auto withTilt = [this, &tilt] {
        auto config = Make();
        config->RegisterVariable("g_tilt", "0", Config::TypeFloat, true, &tilt, false, {-5.0f, 5.0f});
        return config;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        auto console = withTilt();
        std::string name;
        EXPECT_EQ(console->Execute(row.line, &name), Config::ResultDone);
        console->Save();
        console.reset();
        auto config = withTilt();
        m_log.ClearHistory();
        config->Load();
        EXPECT_TRUE(m_log.m_history.empty());
        EXPECT_EQ(config->GetValue(name), row.expected);
    }
    auto config = Make();
    config->Load();
    EXPECT_TRUE(config->v_vsync);
}

TEST_F(ConfigTest, AFailedSaveLeavesThePreviousFileWhole)
{
    auto config = Make();
    config->Execute("v_gamma 1.5");
    config->Save();
    const std::string before = FileText();
    PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, m_folder, ENOSPC);
    config->Execute("v_gamma 3");
    m_log.ClearHistory();
    config->Save();
    PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, "", 0);
    EXPECT_EQ(FileText(), before);
    ASSERT_EQ(m_log.m_history.size(), 1u);
    EXPECT_EQ(m_log.m_history[0].kind, MessageManager::KindError);
    EXPECT_NE(m_log.m_history[0].text.find(config->GetPath() + "\" file: No space left on device"), std::string::npos);
}

TEST(ConfigVideoMode, ParsesWidthHeightAndDepth)
{
    std::uint32_t w = 0, h = 0, bpp = 0;
    Config::ParseVideoMode("1024x768x32", &w, &h, &bpp);
    EXPECT_EQ((std::vector<std::uint32_t>{w, h, bpp}), (std::vector<std::uint32_t>{1024, 768, 32}));
    Config::ParseVideoMode("1024X768X16", &w, &h, &bpp);
    EXPECT_EQ((std::vector<std::uint32_t>{w, h, bpp}), (std::vector<std::uint32_t>{1024, 768, 16}));
    Config::ParseVideoMode("1024x768", &w, &h, &bpp);
    EXPECT_EQ((std::vector<std::uint32_t>{w, h, bpp}), (std::vector<std::uint32_t>{640, 480, 16}));
    Config::ParseVideoMode("desktop", &w, nullptr, nullptr);
    EXPECT_EQ(w, 640u);
    Config::ParseVideoMode("axbxc", &w, &h, &bpp);
    EXPECT_EQ((std::vector<std::uint32_t>{w, h, bpp}), (std::vector<std::uint32_t>{0, 0, 0}));
    Config::ParseVideoMode("99999999999x1x1", &w, &h, &bpp);
    EXPECT_EQ(w, UINT32_MAX);
    // Each part is read as strtoul reads it: blanks and a sign before the digits, a minus wrapping around.
    Config::ParseVideoMode(" 1024x\t768x +32", &w, &h, &bpp);
    EXPECT_EQ((std::vector<std::uint32_t>{w, h, bpp}), (std::vector<std::uint32_t>{1024, 768, 32}));
    Config::ParseVideoMode("-1x- 5x-99999999999", &w, &h, &bpp);
    EXPECT_EQ((std::vector<std::uint32_t>{w, h, bpp}), (std::vector<std::uint32_t>{UINT32_MAX, 0, UINT32_MAX}));
}
