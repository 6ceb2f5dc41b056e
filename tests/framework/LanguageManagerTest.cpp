#include "framework/LanguageManager.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "platform/testing.h"
#include "tests/support/TestEnvironment.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using GameFramework::LanguageManager;

namespace {

constexpr WORD kEnglish = 0x0409;
constexpr WORD kRussian = 0x0419;

class LanguageManagerTest : public ::testing::Test
{
protected:
    ~LanguageManagerTest() override
    {
        PlatformTesting::SetKeyboardLayouts({}, 0);
        PlatformTesting::SetAnsiCodePage(1252);
    }

    static void WriteFontsLists(std::initializer_list<const char*> codes)
    {
        for (const char* code : codes)
            TestSupport::WriteFile(TestSupport::BaseFolder() + "/data/ui/fonts/" + code + ".ini", "");
    }

    // The machine hive beside the program, the user hive in the user's configuration; empty: no value.
    void WriteLanguage(const std::string& machine, const std::string& user) const
    {
        const auto hive = [this](const std::string& code) {
            return code.empty() ? "" : "[" + kKey + "]\nLanguage=" + code;
        };
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/registry.ini", hive(machine));
        TestSupport::WriteFile(std::string(std::getenv("XDG_CONFIG_HOME")) + "/keystrel/registry.ini", hive(user));
    }

    std::string Chosen() { return LanguageManager(&files, kKey).GetCurrent().code; }

    static WORD ActiveLayout() { return static_cast<WORD>(reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(0))); }

    const std::string kKey = "SOFTWARE\\Tarrowby Games\\Quellhaven";
    KeystrelEngine::MessageManager log{"", "Test", "", false, false};
    KeystrelEngine::FileManager files{&log, "", "Data"};
};

TEST_F(LanguageManagerTest, RegistryChoiceNeedsItsFontsList)
{
    const LanguageManager nothing(&files, kKey); // no value, no fonts list
    EXPECT_EQ(nothing.GetCurrent().code, "en");
    EXPECT_EQ(nothing.FindLanguage("Sp")->languageId, 0x040Au);
    EXPECT_EQ(nothing.FindLanguage("GE")->name, "german");
    EXPECT_EQ(nothing.FindLanguage("de"), nullptr);

    WriteFontsLists({"ru", "ge", "sp", "it"});
    const struct
    {
        const char* machine;
        const char* user;
        const char* expected;
    } cases[] = {
        {"RU", "", "ru"}, // found in the table without regard to case, its list by the name as given
        {"ge", "it", "ge"}, {"", "it", "it"}, {"fr", "", "ru"}, // no French list: the first language with a list
        {"xx", "", "ru"},
    };
    for (const auto& c : cases) {
        WriteLanguage(c.machine, c.user);
        EXPECT_EQ(Chosen(), c.expected) << c.machine << "/" << c.user;
    }
    std::filesystem::remove(TestSupport::BaseFolder() + "/data/ui/fonts/ru.ini");
    WriteLanguage("fr", "");
    EXPECT_EQ(Chosen(), "ge");
}

// Without a value in either hive the language is the one an installer takes from the locale: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, by its language part. A value in either hive wins over it.
TEST_F(LanguageManagerTest, WithoutARegistryValueTheLocaleChooses)
{
    WriteFontsLists({"en", "ru", "ge", "fr", "it", "sp"});
    EXPECT_EQ(Chosen(), "en") << "no locale";
    // LANG alone: a language without a list of ours, "C" and "POSIX" are English.
    const std::pair<const char*, const char*> languages[] = {
        {"De_DE.UTF-8", "ge"}, {"ru_RU.KOI8-R", "ru"}, {"fr", "fr"}, {"it_IT@euro", "it"},
        {"es_MX", "sp"},       {"pt_BR.UTF-8", "en"},  {"C", "en"},  {"POSIX", "en"}};
    for (const auto& [lang, expected] : languages) {
        ::setenv("LANG", lang, 1);
        EXPECT_EQ(Chosen(), expected) << lang;
    }
    // LC_ALL (null: unset) and LC_MESSAGES over LANG "es_ES".
    ::setenv("LANG", "es_ES", 1);
    const std::array<const char*, 3> orders[] = {
        {"fr_FR", "de_DE", "fr"}, {"", "de_DE", "ge"}, {nullptr, "", "sp"}, {"C", "de_DE", "en"}};
    for (const auto& [all, messages, expected] : orders) {
        all ? ::setenv("LC_ALL", all, 1) : ::unsetenv("LC_ALL");
        ::setenv("LC_MESSAGES", messages, 1);
        EXPECT_EQ(Chosen(), expected) << (all ? all : "unset") << "/" << messages;
    }
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    for (const auto& [machine, user] : {std::pair{"fr", ""}, std::pair{"", "it"}, std::pair{"sp", "ru"}}) {
        WriteLanguage(machine, user);
        EXPECT_EQ(Chosen(), *machine ? machine : user);
    }
    ::unsetenv("LC_ALL");
}

TEST_F(LanguageManagerTest, RussianSwitchesLayoutAndCodePage)
{
    WriteFontsLists({"ru"});
    WriteLanguage("ru", "");
    {
        LanguageManager russian(&files, kKey);
        EXPECT_EQ(russian.GetCurrent().name, "russian");
        EXPECT_EQ(GetACP(), 1251u);
        EXPECT_EQ(KeystrelEngine::ToWide("\xC0"), u"\u0410");
        // Russian was not installed: it is loaded and made active...
        EXPECT_EQ(PlatformTesting::InstalledKeyboardLayouts(), (std::vector<WORD>{kEnglish, kRussian}));
        EXPECT_EQ(ActiveLayout(), kRussian);
    }
    // ...and unloaded at the end.
    EXPECT_EQ(PlatformTesting::InstalledKeyboardLayouts(), std::vector<WORD>{kEnglish});
    EXPECT_EQ(ActiveLayout(), kEnglish);

    // Installed already: activated, or left alone when it is active; nothing loaded or unloaded either way.
    for (const WORD active : {kEnglish, kRussian}) {
        PlatformTesting::SetKeyboardLayouts({kEnglish, kRussian}, active);
        LanguageManager{&files, kKey};
        EXPECT_EQ(PlatformTesting::InstalledKeyboardLayouts(), (std::vector<WORD>{kEnglish, kRussian}));
        EXPECT_EQ(ActiveLayout(), kRussian);
    }

    WriteLanguage("", "");
    std::filesystem::remove(TestSupport::BaseFolder() + "/data/ui/fonts/ru.ini");
    LanguageManager english(&files, kKey);
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(KeystrelEngine::ToWide("\xC0"), u"\u00C0");
}

} // namespace
