#include "framework/LevelManagerBase.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileTextual.h"
#include "tests/engine/foundation/EngineServices.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using KeystrelEngine::FileTextual;

namespace {

struct Stage : StageRecord
{
    std::int32_t value = 0;
};

struct Level : LevelRecord
{
    std::string board; // owned memory: deleting through the base must reach it
};

struct Catalogue : LevelManagerBase
{
    using LevelManagerBase::LevelManagerBase;
    int created = 0;

    std::unique_ptr<StageRecord> CreateStage() override { return ++created, std::make_unique<Stage>(); }
    std::unique_ptr<LevelRecord> CreateLevel() override { return ++created, std::make_unique<Level>(); }
    void ReadStage(StageRecord& stage, FileTextual& file) override
    {
        static_cast<Stage&>(stage).value = file.ReadInt();
    }
    void ReadLevel(LevelRecord& level, FileTextual& file) override
    {
        file.ReadLine(static_cast<Level&>(level).board, true);
    }
};

void WriteList(const std::string& name, const std::string& text)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/Levels/" + name, text);
}

std::string LoadError(Catalogue& catalogue)
{
    try {
        catalogue.Load();
    } catch (const KeystrelEngine::FatalError& error) {
        return error.GetText();
    }
    return "";
}

} // namespace

TEST(LevelManagerBase, StagesAndLevelsComeFromTheirListsWithIdsOfTheirPlaces)
{
    TestSupport::EngineServices services;
    WriteList("stages_info.ini", "0\n");
    Catalogue empty(&services.log, &services.files);
    empty.Load();
    EXPECT_EQ(empty.GetStageCount(), 0u);
    EXPECT_TRUE(services.Logged("\nLevel Manager: Found 0 stages with 0 levels..."));

    WriteList("stages_info.ini", "2\n70\n90\n");
    WriteList("stage0/levels_info.ini", "3\ngame0 game1\ngame2\n");
    WriteList("stage1/levels_info.ini", "5\na\nb\nc\nd\ne\n");
    Catalogue catalogue(&services.log, &services.files);
    catalogue.Load();
    EXPECT_EQ(catalogue.StageLevelsPath(0), "stage0\\levels_info.ini");
    EXPECT_EQ(static_cast<Stage&>(catalogue.GetStage(1)).value, 90);
    EXPECT_EQ(catalogue.GetStage(1).levelCount, 5u);
    EXPECT_EQ(static_cast<Level*>(catalogue.GetLevel({0, 1}))->board, "game1");
    for (std::uint32_t stage = 0; stage < 2; ++stage) {
        for (std::uint32_t level = 0; level < catalogue.GetStage(stage).levelCount; ++level) {
            const LevelId id = catalogue.GetLevel({stage, level})->id;
            EXPECT_TRUE(id.stage == stage && id.level == level);
            EXPECT_EQ(catalogue.IsLastLevel({stage, level}), stage == 1 && level == 4);
        }
    }
    EXPECT_TRUE(services.Logged("\nLevel Manager: Found 2 stages with 8 levels..."));
}

TEST(LevelManagerBase, MissingListsAndImpossibleCountsAreFatalBeforeAnyRecordIsMade)
{
    TestSupport::EngineServices services;
    WriteList("stages_info.ini", "1\n");
    Catalogue missing(&services.log, &services.files);
    const std::string text = LoadError(missing);
    EXPECT_EQ(text,
              "Failed to open \"" + services.files.MakeDiskPath("data\\levels\\stage0\\levels_info.ini") + "\" file");
    EXPECT_TRUE(services.Logged("PROGRAM ABORTING: " + text));

    // A count that is no whole number, or none from 0 to 10000.
    const std::pair<std::string, std::string> counts[] = {{"-1", "the count is -1, outside 0 to 10000"},
                                                          {"2000000000", "the count is 2000000000, outside 0 to 10000"},
                                                          {"12abc", "the count \"12abc\" is no whole number"},
                                                          {"", "the count is missing"}};
    for (const auto& [count, reason] : counts) {
        WriteList("stages_info.ini", count);
        Catalogue stages(&services.log, &services.files);
        EXPECT_EQ(LoadError(stages), "Incorrect \"data\\levels\\stages_info.ini\" file format: " + reason);
        EXPECT_EQ(stages.created, 0);
        WriteList("stages_info.ini", "1\n");
        WriteList("stage0/levels_info.ini", count);
        Catalogue levels(&services.log, &services.files);
        EXPECT_EQ(LoadError(levels), "Incorrect \"data\\levels\\stage0\\levels_info.ini\" file format: " + reason);
        EXPECT_EQ(levels.created, 1);
    }
}
