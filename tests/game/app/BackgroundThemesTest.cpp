// The menu background's theme file, sound and damaged: a file that ends before its count of themes, or gives a value
// that is not one whole number, is refused with the file's name and the value, instead of being read past its end
// or read in part.
#include "game/app/BackgroundThemes.h"

#include "engine/foundation/Error.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tests/game/app/AppFixture.h"

#include <gtest/gtest.h>

using Wispfold::BackgroundThemes;

namespace {

const std::string kRefused = "Incorrect \"data\\ui\\menus\\background\\background.ini\" file format";

TEST(BackgroundThemes, ThemesAreReadInTheirOrderAndDamagedFilesAreRefused)
{
    TestSupport::EngineServices services;
    AppTesting::ReplaceDataFile(BackgroundThemes::kPath,
                                "3\r\n\r\nsky\r\n1 0\r\n\r\n\r\nmeadow\r\n0\r\n2\r\nlast one\n7 -1");
    const BackgroundThemes themes(services.files);
    ASSERT_EQ(themes.GetThemes().size(), 3u);
    EXPECT_EQ(themes.GetThemes()[0].name, "sky");
    EXPECT_FALSE(themes.GetThemes()[0].IsStageTheme());
    EXPECT_EQ(themes.GetThemes()[1].GetModelName(), "ui\\menus\\background\\models\\meadow.mlf");
    EXPECT_EQ(themes.GetThemes()[1].stage, 2);
    EXPECT_EQ(themes.GetThemes()[2].name, "last one");
    EXPECT_EQ(themes.GetThemes()[2].kind, 7);

    AppTesting::ReplaceDataFile(BackgroundThemes::kPath, "0\nsky\n1 0\n");
    EXPECT_TRUE(BackgroundThemes(services.files).GetThemes().empty());

    // Ends before the count (names or numbers missing, a count far beyond the file), no count, a negative count, a
    // number that is not one whole number an int32 holds.
    const std::pair<const char*, std::string> refused[] = {
        {"", "the theme count is missing"},
        {"\r\n\r\n", "the theme count is missing"},
        {"-1\nsky\n1 0\n", "the theme count is -1, outside 0 to 2147483647"},
        {"3\nsky\n1\n0\nmeadow\n0 0\n", "theme 3's name is missing"},
        {"2000000000\nsky\n1 0\n", "theme 2's name is missing"},
        {"1\n\n\n\n", "theme 1's name is missing"},
        {"1\nsky\n", "theme 1's kind is missing"},
        {"1\nsky\n1\n\n", "theme 1's stage is missing"},
        {"1x\nsky\n1 0\n", "the theme count \"1x\" is no whole number"},
        {"1\nsky\n12abc 0\n", "theme 1's kind \"12abc\" is no whole number"},
        {"1\nsky\n1 99999999999\n", "theme 1's stage is 99999999999, outside -2147483648 to 2147483647"}};
    for (const auto& [damaged, reason] : refused) {
        SCOPED_TRACE(damaged);
        AppTesting::ReplaceDataFile(BackgroundThemes::kPath, damaged);
        try {
            BackgroundThemes read(services.files);
            ADD_FAILURE() << read.GetThemes().size() << " themes read";
        } catch (const KeystrelEngine::FileError& error) {
            EXPECT_EQ(error.GetText(), kRefused + ": " + reason);
        }
    }
    AppTesting::RemoveDataFile(BackgroundThemes::kPath);
    EXPECT_THROW(BackgroundThemes(services.files), KeystrelEngine::FileError);
}

} // namespace
