// The level catalogue as this build's data gives it, against the two files that show it: the level map, one
// marker per level grouped by stage, and the menu background, a stage theme for every stage index up to the
// finished game. All three are read by readers of the tests' own.
#include "tests/tools/content/BuildData.h"
#include "tests/tools/content/MapFile.h"
#include "tests/tools/content/WorldFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace WorldTesting;

TEST(CatalogueAgreement, TheMapAndTheBackgroundFollowTheCataloguesStagesAndLevels)
{
    SceneTesting::LinkBuildData();
    const std::vector<std::vector<Level>> stages = ReadCatalogue();
    ASSERT_FALSE(stages.empty());
    std::vector<std::uint32_t> levels;
    for (const std::vector<Level>& stage : stages)
        levels.push_back(static_cast<std::uint32_t>(stage.size()));

    // The map: a group per stage with a record per level in catalogue order; the start first, a check point at
    // the first level of every later stage, the finish last and path markers between.
    const std::vector<MenuTesting::MapRecord> records = MenuTesting::ReadMap(DataPath("ui\\menus\\map\\map.gmf"));
    std::vector<std::uint32_t> groups;
    for (const MenuTesting::MapRecord& record : records) {
        groups.resize(std::max<std::size_t>(groups.size(), record.group + 1), 0);
        ++groups[record.group];
    }
    EXPECT_EQ(groups, levels);
    std::size_t at = 0;
    for (std::size_t s = 0; s < stages.size(); ++s) {
        for (std::size_t l = 0; l < stages[s].size() && at < records.size(); ++l, ++at) {
            const bool last = s + 1 == stages.size() && l + 1 == stages[s].size();
            const std::uint32_t expected = at == 0 ? 0u : last ? 1u : l == 0 ? 2u : 3u;
            EXPECT_EQ(records[at].kind, expected) << "stage " << s << " level " << l;
        }
    }
    EXPECT_EQ(at, records.size());

    // The background: "count", then per theme its name, kind (0 a stage theme) and first stage index. Base
    // themes are always shown; stage themes cover every index from the first stage to the finished game
    // (index S for S stages), and none lies beyond it.
    const std::vector<std::string> lines = TextLines("ui\\menus\\background\\background.ini");
    ASSERT_FALSE(lines.empty());
    const std::size_t count = std::stoul(lines[0]);
    ASSERT_EQ(lines.size(), 1 + 3 * count);
    int baseThemes = 0;
    std::set<int> stageIndices;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string& name = lines[1 + 3 * k];
        EXPECT_FALSE(name.empty()) << "theme " << k;
        if (std::stoi(lines[2 + 3 * k]) != 0)
            ++baseThemes;
        else
            stageIndices.insert(std::stoi(lines[3 + 3 * k]));
    }
    EXPECT_GE(baseThemes, 1);
    std::set<int> expected;
    for (int s = 0; s <= static_cast<int>(stages.size()); ++s)
        expected.insert(s);
    EXPECT_EQ(stageIndices, expected);
}
