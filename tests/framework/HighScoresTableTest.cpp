#include "framework/HighScoresTable.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tools/formats/GameFileWriter.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using TestSupport::Bytes;

namespace {

struct HighScores : TestSupport::EngineServices
{
    std::string folder = KeystrelEngine::FileManager::GetUserFolder();
    std::string path = folder + "/high_scores_table.hsf";

    std::vector<std::pair<std::u16string, std::uint32_t>> Rows(const HighScoresTable& table) const
    {
        std::vector<std::pair<std::u16string, std::uint32_t>> rows;
        for (const auto& entry : table.GetEntries())
            rows.emplace_back(entry->name, entry->score);
        return rows;
    }
};

} // namespace

TEST(HighScoresTable, FirstStartSavesAnEmptyTable)
{
    HighScores fixture;
    HighScoresTable table(&fixture.log, &fixture.files, fixture.folder);
    EXPECT_TRUE(table.GetEntries().empty());
    EXPECT_EQ(table.GetResultCounter(), 0u);
    EXPECT_EQ(TestSupport::ReadFile(fixture.path), Formats::GameFile("GFHSF", 100, Bytes(8, 0)));
    EXPECT_FALSE(TestSupport::FileExists(fixture.path + ".bad"));
}

TEST(HighScoresTable, BestTenStayByScoreThenAgeAndAResultBelowThemReturnsNone)
{
    HighScores fixture;
    HighScoresTable table(&fixture.log, &fixture.files, fixture.folder);
    const HighScoreEntry* older = table.Add(u"older", 700);
    const HighScoreEntry* newer = table.Add(u"newer", 700);
    EXPECT_EQ(table.GetEntries()[0].get(), older);
    EXPECT_EQ(table.GetEntries()[1].get(), newer);
    for (std::uint32_t score : {500, 900, 600, 1000, 550, 800, 650, 750})
        table.Add(u"p", score);
    const auto rows = fixture.Rows(table);
    const Bytes file = TestSupport::ReadFile(fixture.path);
    EXPECT_EQ(table.Add(u"late", 500), nullptr);
    EXPECT_EQ(fixture.Rows(table), rows);
    EXPECT_EQ(table.GetResultCounter(), 11u);
    EXPECT_NE(TestSupport::ReadFile(fixture.path), file);
    const HighScoreEntry* best = table.Add(u"best", 2000);
    EXPECT_EQ(best, table.GetEntries()[0].get());
    EXPECT_EQ(fixture.Rows(HighScoresTable(&fixture.log, &fixture.files, fixture.folder)), fixture.Rows(table));
}

TEST(HighScoresTable, AFileOfTwelveEntriesLoadsTheFirstTen)
{
    HighScores fixture;
    Bytes body;
    Formats::PutLE32(body, 12);
    Formats::PutLE32(body, 12);
    for (char16_t i = 0; i < 12; ++i) {
        Formats::PutWString(body, std::u16string(1, u'a' + i));
        Formats::PutLE32(body, 100 - i);
        Formats::PutLE32(body, i);
    }
    TestSupport::WriteFile(fixture.path, Formats::GameFile("GFHSF", 100, body));
    HighScoresTable table(&fixture.log, &fixture.files, fixture.folder);
    ASSERT_EQ(table.GetEntries().size(), 10u);
    EXPECT_EQ(table.GetEntries()[9]->name, u"j");
    EXPECT_EQ(table.GetEntries()[9]->sequence, 9u);
    EXPECT_EQ(table.GetResultCounter(), 12u);
}

TEST(HighScoresTable, UnreadableFilesAreKeptAsBadBeforeAnEmptyTableIsSaved)
{
    HighScores fixture;
    Bytes truncated = Formats::GameFile("GFHSF", 100, Bytes(8, 1));
    truncated.resize(17);
    Formats::SetLE32(truncated, 0, 17);
    for (const Bytes& damaged : {truncated, Formats::GameFile("GFHSF", 101, Bytes(8, 0))}) {
        TestSupport::WriteFile(fixture.path, damaged);
        HighScoresTable table(&fixture.log, &fixture.files, fixture.folder);
        EXPECT_TRUE(table.GetEntries().empty());
        EXPECT_EQ(TestSupport::ReadFile(fixture.path + ".bad"), damaged);
        EXPECT_EQ(TestSupport::ReadFile(fixture.path).size(), 21u);
    }
    EXPECT_TRUE(fixture.Logged("format version (101), current is 100; the file is kept as"));
}
