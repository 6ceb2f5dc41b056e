#include "game/play/LevelManager.h"

#include "engine/foundation/Error.h"
#include "tests/engine/foundation/EngineServices.h"

#include <gtest/gtest.h>

using Wispfold::LevelManager;
using Wispfold::LevelRecord;

namespace {

void WriteData(const std::string& name, const std::string& text)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/" + name, text);
}

// Stage 0 of three levels (blanks around the values, empty lines before them), stage 1 of one.
void WriteCatalogue(const std::string& stage0, const std::string& stages = "2\n")
{
    TestSupport::FreshFolder("Data");
    WriteData("levels/stages_info.ini", stages);
    WriteData("levels/stage0.ini", stage0);
    WriteData("levels/stage1.ini", "1\nmeadow\n2\ngarden\n0.5\n");
    WriteData("boards/meadow.ini", "7\n");
    WriteData("boards/ring.ini", "\n 11\n3\n");
    WriteData("boards/hexagon.ini", "20\n");
}

const std::string kStage0 = "3 \n\nring\t\n\n 3 \n forest \n\n1.5\n\nhexagon\n5\ngarden\n2\nmeadow\n2\nforest\n0.25";

const LevelRecord& Level(const LevelManager& catalogue, std::uint32_t stage, std::uint32_t level)
{
    return static_cast<const LevelRecord&>(*catalogue.GetLevel({stage, level}));
}

std::string FatalText(const std::string& stage0, const std::string& stages)
{
    WriteCatalogue(stage0, stages);
    TestSupport::EngineServices services;
    try {
        LevelManager catalogue(&services.log, &services.files);
    } catch (const KeystrelEngine::FatalError& error) {
        return error.GetText();
    }
    return "";
}

} // namespace

TEST(LevelManager, EntriesNamesBoardValuesAndSums)
{
    WriteCatalogue(kStage0);
    TestSupport::EngineServices services;
    const LevelManager catalogue(&services.log, &services.files);
    ASSERT_EQ(catalogue.GetStageCount(), 2u);
    ASSERT_EQ(catalogue.GetStage(0).levelCount, 3u);

    const LevelRecord& first = Level(catalogue, 0, 0);
    EXPECT_EQ(first.boardName, "ring");
    EXPECT_EQ(first.cameraName, "ring_camera");
    EXPECT_EQ(first.colourCount, 3);
    EXPECT_EQ(first.environmentName, "forest");
    EXPECT_FLOAT_EQ(first.levelFactor, 1.5f);
    EXPECT_EQ(first.boardValue, 11);
    const LevelRecord& last = Level(catalogue, 0, 2);
    EXPECT_EQ(last.boardName, "meadow");
    EXPECT_EQ(last.levelFactor, 0.25f) << "the list's last line has no line end";
    EXPECT_EQ(last.id.stage, 0u);
    EXPECT_EQ(last.id.level, 2u);
    EXPECT_EQ(Level(catalogue, 1, 0).boardValue, 7);

    EXPECT_EQ(catalogue.SumStageBoardValuesUpTo(0, 0), 11u);
    EXPECT_EQ(catalogue.SumStageBoardValuesUpTo(0, 1), 31u);
    EXPECT_EQ(catalogue.SumStageBoardValuesUpTo(0, 2), catalogue.SumStageBoardValues(0));
    EXPECT_EQ(catalogue.SumStageBoardValues(0), 38u);
    EXPECT_EQ(catalogue.SumStageBoardValues(1), 7u);
}

TEST(LevelManager, DamagedEntriesAndMissingBoardSettingsAreFatal)
{
    const std::string list = "Incorrect \"data\\levels\\stage0.ini\" file format";
    const struct
    {
        const char* what;
        std::string stage0;
        std::string text;
        std::string stages = "2\n";
    } cases[] = {
        {"colour count 0", "1\nring\n0\nforest\n1\n", list},
        {"colour count 1", "2\nring\n3\nforest\n1\nring\n1\nforest\n1\n", list + ": entry 2 (\"ring\") uses 1 colours"},
        {"colour count 6", "1\nring\n6\nforest\n1\n", list},
        {"negative factor", "1\nring\n3\nforest\n-0.5\n", list},
        {"infinite factor", "1\nring\n3\nforest\ninf\n", list},
        {"factor not a number", "1\nring\n3\nforest\nnan\n", list},
        {"factor giving no swap", "3\nhexagon\n3\nforest\n0.066\nring\n3\nforest\n0.1\nmeadow\n3\nforest\n1\n",
         list + ": entry 2 (\"ring\") gets no energy: level factor 0.1 x 0.76 x board value 11 is below 1"},
        {"ends before the last entry", "2\nring\n3\nforest\n1\n\n\n", list},
        {"ends inside the last entry", "1\nring\n3\n\n\n", list},
        {"no level", " 0 \n", "The level list \"data\\levels\\stage0.ini\" holds no level"},
        {"no stage", "", "The stage list \"data\\levels\\stages_info.ini\" holds no stage", "0\n"},
        {"missing board settings", "1\nmissing\n3\nforest\n1\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = FatalText(c.stage0, c.stages);
        if (c.text.empty())
            EXPECT_NE(text.find("missing.ini"), std::string::npos) << text;
        else
            EXPECT_TRUE(text.starts_with(c.text)) << text;
    }
}
