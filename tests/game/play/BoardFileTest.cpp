#include "tools/formats/BoardFileWriter.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/Error.h"
#include "engine/render/ModelManager.h"
#include "game/play/GameLogicData.h"
#include "game/play/LevelManager.h"
#include "tests/engine/render/ModelFixture.h"
#include "tests/game/play/support/HexagonLevel.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// Two cells on an 11 x 21 grid, assembled by hand from the layout: header, grid, count, then per cell kind,
// closed, blocked, x, y and the four float groups.
// clang-format off
const Formats::Bytes kTwoCells = {
    0x9D, 0x00, 0x00, 0x00, 'V',  'X',  'B',  'L',  'F',  0x67, 0x00, 0x00, 0x00, // 157 bytes, version 103
    0x0B, 0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,       // 11 x 21, 2 cells
    // kind 2, closed, x 3, y 5
    0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x3F,             // position 1, 2, 0.5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3F, // 0, 0, 0, 1
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xBF,             // offset 0, 0, -1
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,             // 0, 0, 0
    // kind 1, blocked, x 4, y 6
    0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x80, 0xBF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,             // position -1, 0, 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // 0, 0, 0, 0
    0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,             // offset 0.5, 0, 0
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00,             // 1, 2, 0
};
// clang-format on

} // namespace

TEST(BoardFileWriter, ReproducesTheHandAssembledTwoCellFile)
{
    Formats::BoardFile file;
    file.gridWidth = 11;
    file.gridHeight = 21;
    Formats::BoardFileCell first;
    first.kind = 2;
    first.closed = 1;
    first.x = 3;
    first.y = 5;
    first.position = {1.0f, 2.0f, 0.5f};
    first.rotation = {0.0f, 0.0f, 0.0f, 1.0f};
    first.offset = {0.0f, 0.0f, -1.0f};
    Formats::BoardFileCell second;
    second.kind = 1;
    second.blocked = 1;
    second.x = 4;
    second.y = 6;
    second.position = {-1.0f, 0.0f, 0.0f};
    second.offset = {0.5f, 0.0f, 0.0f};
    second.extra = {1.0f, 2.0f, 0.0f};
    file.cells = {first, second};
    ASSERT_EQ(kTwoCells.size(), 157u);
    EXPECT_EQ(Formats::BuildBoardFile(file), kTwoCells);

    // Another version changes only its field; no cell leaves the 25-byte head.
    Formats::Bytes other = kTwoCells;
    other[9] = 104;
    EXPECT_EQ(Formats::BuildBoardFile(file, 104), other);
    file.cells.clear();
    EXPECT_EQ(Formats::BuildBoardFile(file), (Formats::Bytes{0x19, 0, 0, 0, 'V', 'X', 'B', 'L', 'F', 0x67, 0, 0, 0,
                                                             11,   0, 0, 0, 21,  0,   0,   0,   0,   0,    0, 0}));
}

namespace {

using Wispfold::BoardCellRecord;
using Wispfold::GameLogicData;

Formats::BoardFile FromLevel(const Wispfold::LevelData& level)
{
    Formats::BoardFile file{level.gridWidth, level.gridHeight, {}};
    for (const BoardCellRecord& cell : level.cellRecords) {
        file.cells.push_back({cell.kind, cell.closed, cell.blocked, cell.x, cell.y, cell.position, cell.rotation,
                              cell.offset, cell.extra});
    }
    return file;
}

void PatchLength(Formats::Bytes& bytes)
{
    if (bytes.size() >= 4)
        KeystrelEngine::StoreLE32(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// UTF-16LE with its byte-order mark.
TestSupport::Bytes Utf16(const std::string& text)
{
    TestSupport::Bytes bytes = {0xFF, 0xFE};
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// Level data of board "two" in environment "forest", on the recording device with a model manager.
class GameLogicDataTest : public RenderTesting::ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        models = std::make_unique<KeystrelEngine::ModelManager>(modelServices);
        level.boardName = "two";
        level.environmentName = "forest";
        level.colourCount = 4;
        level.levelFactor = 1.5f;
        WriteEnvironment(TestSupport::ToBytes("0\n"));
    }

    void TearDown() override
    {
        models.reset();
        ModelFixture::TearDown();
    }

    static void WriteBoard(const Formats::Bytes& bytes) { RenderTesting::WriteDataFile("boards\\two.blf", bytes); }
    static void WriteEnvironment(const TestSupport::Bytes& bytes)
    {
        RenderTesting::WriteDataFile("environments\\forest\\environment.ini", bytes);
    }

    // The data after its load; the text of the error the load raised ("" when none) and the cells it kept.
    std::unique_ptr<GameLogicData> Load(std::string* error = nullptr)
    {
        auto data = std::make_unique<GameLogicData>(
            GameFramework::DataKeeperServices{&services.log, &services.files, shaders.get(), models.get()}, nullptr,
            &level);
        try {
            data->Load();
        } catch (const KeystrelEngine::Error& thrown) {
            if (!error)
                throw;
            *error = thrown.GetText();
        }
        return data;
    }
    std::string LoadError()
    {
        std::string error;
        keptCells = Load(&error)->GetLevelData().GetCellRecordCount();
        return error;
    }

    std::unique_ptr<KeystrelEngine::ModelManager> models;
    Wispfold::LevelRecord level;
    std::uint32_t keptCells = 0; // by the last LoadError
};

const std::string kBoardFormat = "Incorrect \"data\\boards\\two.blf\" file format";

// Written again from what was read, each file comes out as it was: every field is read in its place.
TEST_F(GameLogicDataTest, ReadsTheHandAssembledFileAndWhatTheWriterWrites)
{
    Formats::BoardFile hexagon = FromLevel(TestSupport::MakeHexagonLevel(1.0f, false));
    hexagon.cells.back().extra = {7.0f, 8.0f, 9.0f};
    for (const Formats::Bytes& file : {kTwoCells, Formats::BuildBoardFile(hexagon)}) {
        WriteBoard(file);
        const auto data = Load();
        EXPECT_EQ(Formats::BuildBoardFile(FromLevel(data->GetLevelData())), file);
        EXPECT_EQ(data->GetLevelData().colourCount, 4u);
        EXPECT_EQ(data->GetLevelData().levelFactor, 1.5f);
        EXPECT_TRUE(data->GetEnvironmentModels().empty());
    }
}

TEST_F(GameLogicDataTest, DamagedOtherVersionsAndUnplayableBoardsAreRefused)
{
    // Every truncation, its length field made to match, fails with a file error and keeps no cell.
    for (std::size_t size = 0; size < kTwoCells.size(); ++size) {
        Formats::Bytes cut(kTwoCells.begin(), kTwoCells.begin() + static_cast<std::ptrdiff_t>(size));
        PatchLength(cut);
        WriteBoard(cut);
        EXPECT_NE(LoadError(), "") << size << " bytes";
        EXPECT_EQ(keptCells, 0u) << size << " bytes";
    }
    for (const std::uint32_t version : {102u, 104u}) {
        Formats::Bytes other = kTwoCells;
        KeystrelEngine::StoreLE32(other.data() + 9, version);
        WriteBoard(other);
        EXPECT_EQ(LoadError(), "Incorrect \"data\\boards\\two.blf\" format version (" + std::to_string(version) +
                                   "), current is 103");
    }

    const struct
    {
        const char* what;
        std::size_t offset; // of the u32 patched
        std::uint32_t value;
    } refused[] = {
        {"no cell", 21, 0},
        {"grid width 0", 13, 0},
        {"grid width 65", 13, 65},
        {"grid height 0", 17, 0},
        {"height 65", 17, 65},
        {"kind 3", 25, 3},
        {"x on the grid's width", 31, 11},
        {"y on the grid's height", 25 + 66 + 10, 21},
    };
    for (const auto& r : refused) {
        Formats::Bytes patched = kTwoCells;
        KeystrelEngine::StoreLE32(patched.data() + r.offset, r.value);
        if (r.value == 0 && r.offset == 21)
            patched.resize(25);
        PatchLength(patched);
        WriteBoard(patched);
        EXPECT_EQ(LoadError(), kBoardFormat) << r.what;
        EXPECT_EQ(keptCells, 0u) << r.what;
    }
    // The largest grid is read.
    Formats::Bytes largest = kTwoCells;
    KeystrelEngine::StoreLE32(largest.data() + 13, 64);
    KeystrelEngine::StoreLE32(largest.data() + 17, 64);
    WriteBoard(largest);
    EXPECT_EQ(LoadError(), "");
}

TEST_F(GameLogicDataTest, EnvironmentEntriesFlagsAndModels)
{
    WriteBoard(kTwoCells);
    WriteModel("environments\\forest\\models\\tree", RenderTesting::StaticQuad());
    WriteModel("environments\\forest\\models\\bush", RenderTesting::StaticQuad());
    const std::string entries = "2\n\n\ntree\n1\n0\n\nbush\n2\n-1\n1\n";
    for (const TestSupport::Bytes& file : {TestSupport::ToBytes(entries), Utf16(entries)}) {
        WriteEnvironment(file);
        const auto data = Load();
        ASSERT_EQ(data->GetEnvironmentModels().size(), 2u);
        EXPECT_NE(data->GetEnvironmentModels()[0], data->GetEnvironmentModels()[1]);
        const auto& read = data->GetEnvironmentEntries();
        EXPECT_EQ((std::array{read[0].lit, read[0].sorted, read[0].randomPhase}),
                  (std::array<std::uint8_t, 3>{1, 0, 0}));
        EXPECT_EQ((std::array{read[1].lit, read[1].sorted, read[1].randomPhase}),
                  (std::array<std::uint8_t, 3>{1, 1, 1}));
    }
    WriteEnvironment(TestSupport::ToBytes("0\ntree\n1\n1\n1\n"));
    EXPECT_TRUE(Load()->GetEnvironmentEntries().empty());

    const std::string refused = "Incorrect \"data\\environments\\forest\\environment.ini\" file format: ";
    WriteEnvironment(TestSupport::ToBytes("-1\n"));
    EXPECT_EQ(LoadError(), refused + "the count is -1, outside 0 to 2147483647");
    // A count far beyond the file sizes nothing: the first entry past the end names no model.
    WriteEnvironment(TestSupport::ToBytes("2147483647\ntree\n1\n1\n1\n"));
    EXPECT_EQ(LoadError(), refused + "entry 2's model name is missing");
}

} // namespace
