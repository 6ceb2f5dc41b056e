// The menu background's theme file, sound and damaged: a file that ends before its count of themes is refused
// with the file's name, whatever the count says, instead of being read past its end.
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

    // Ends before the count (names or numbers missing, a count far beyond the file), no count, a negative count.
    for (const char* damaged : {"", "\r\n\r\n", "-1\nsky\n1 0\n", "3\nsky\n1\n0\nmeadow\n0 0\n",
                                "2000000000\nsky\n1 0\n", "1\n\n\n\n", "1\nsky\n", "1\nsky\n1\n\n"}) {
        SCOPED_TRACE(damaged);
        AppTesting::ReplaceDataFile(BackgroundThemes::kPath, damaged);
        try {
            BackgroundThemes refused(services.files);
            ADD_FAILURE() << refused.GetThemes().size() << " themes read";
        } catch (const KeystrelEngine::FileError& error) {
            EXPECT_EQ(error.GetText(), kRefused);
        }
    }
    AppTesting::RemoveDataFile(BackgroundThemes::kPath);
    EXPECT_THROW(BackgroundThemes(services.files), KeystrelEngine::FileError);
}

} // namespace
