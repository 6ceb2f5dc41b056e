// The level map file: records numbered in groups that a check point starts, and damaged files refused whole.
#include "game/app/MapFile.h"

#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "tests/game/app/AppFixture.h"
#include "tools/formats/MapFileWriter.h"

#include <cstring>

using Formats::MapFileRecord;
using Wispfold::MapElementKind;
using Wispfold::MapFile;

namespace {

MapFileRecord Record(std::uint32_t kind, float x)
{
    MapFileRecord record;
    record.kind = kind;
    record.matrix[3] = x;
    record.matrix[7] = 2.0f * x;
    return record;
}

class MapFileTest : public AppTesting::AppFixture
{
protected:
    std::vector<Wispfold::MapElementRecord> Read(const TestSupport::Bytes& bytes)
    {
        AppTesting::ReplaceDataFile(MapFile::kPath, bytes);
        return MapFile::Read(engine->m_files.get(), engine->m_log.get());
    }
};

TEST_F(MapFileTest, ACheckPointStartsTheNextGroupAndTheRecordsKeepTheirMatrices)
{
    // First a check point: there is no group 0.
    const auto records = Read(Formats::BuildMapFile(
        {Record(2, 10), Record(3, 20), Record(3, 30), Record(2, 40), Record(3, 50), Record(1, 60)}));
    ASSERT_EQ(records.size(), 6u);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> ids{{1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].level.stage, ids[i].first) << i;
        EXPECT_EQ(records[i].level.level, ids[i].second) << i;
        EXPECT_FLOAT_EQ(records[i].matrix.m[3], 10.0f * (i + 1)) << i;
        EXPECT_FLOAT_EQ(records[i].matrix.m[7], 20.0f * (i + 1)) << i;
    }
    EXPECT_EQ(records[5].kind, MapElementKind::Finish);

    // Records before the first check point form group 0.
    const auto started = Read(Formats::BuildMapFile({Record(0, 1), Record(3, 2), Record(2, 3)}));
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[1].level.stage, 0u);
    EXPECT_EQ(started[1].level.level, 1u);
    EXPECT_EQ(started[2].level.stage, 1u);
    EXPECT_EQ(started[2].level.level, 0u);

    // The generated map has one record per level, the start first and the finish last.
    ResetDataFolder();
    const auto generated = MapFile::Read(engine->m_files.get(), engine->m_log.get());
    ASSERT_GT(generated.size(), 2u);
    EXPECT_EQ(generated.front().kind, MapElementKind::Start);
    EXPECT_EQ(generated.back().kind, MapElementKind::Finish);
}

TEST_F(MapFileTest, DamagedFilesAreRefusedWithTheFormatError)
{
    const std::vector<MapFileRecord> sound{Record(0, 1), Record(3, 2), Record(2, 3), Record(1, 4)};
    const TestSupport::Bytes good = Formats::BuildMapFile(sound);
    std::vector<TestSupport::Bytes> damaged;
    for (const std::uint32_t kind : {4u, 7u, 0xFFFFFFFFu})
        for (std::size_t at : {0u, 3u}) {
            std::vector<MapFileRecord> records = sound;
            records[at].kind = kind;
            damaged.push_back(Formats::BuildMapFile(records));
        }
    // Counts the bytes left cannot hold: one more record, and a count that would overflow a size computation.
    for (const std::uint32_t count : {5u, 0x40000000u, 0xFFFFFFFFu}) {
        TestSupport::Bytes bytes = good;
        std::memcpy(bytes.data() + 13, &count, 4);
        damaged.push_back(bytes);
    }
    // Cut inside a record, with the header's length made to agree.
    for (const std::size_t cut : {1u, 40u, 67u}) {
        TestSupport::Bytes bytes(good.begin(), good.end() - static_cast<std::ptrdiff_t>(cut));
        const std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
        std::memcpy(bytes.data(), &length, 4);
        damaged.push_back(bytes);
    }
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        try {
            Read(damaged[i]);
            ADD_FAILURE() << "damaged file " << i << " was read";
        } catch (const KeystrelEngine::FileError& error) {
            EXPECT_EQ(error.GetText(), "Incorrect \"data\\ui\\menus\\map\\map.gmf\" file format") << i;
        }
    }
    EXPECT_THROW(Read(Formats::BuildMapFile(sound, 101)), KeystrelEngine::FileError);
    EXPECT_EQ(Read(good).size(), 4u);
}

} // namespace
