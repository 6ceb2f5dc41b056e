// Board level files: the input is a level's ".blf" file, loaded as the level's data is loaded (its environment
// lists no model). A board that loads holds cells within the world, each at a grid place of its own; it is built
// with five colours over the stand-in world and played for a few dozen frames by the scripted player, so that
// every board the loader lets through meets the rules.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Board.h"
#include "game/play/GameLogicData.h"
#include "game/play/LevelManager.h"
#include "tests/game/play/support/HexagonLevel.h"
#include "tests/game/play/support/ScriptedPlayer.h"
#include "tools/formats/BoardFileWriter.h"

#include <cstdlib>
#include <set>
#include <utility>

using Formats::BoardFile;
using Formats::BoardFileCell;

namespace {

bool Sound(const Wispfold::LevelData& level)
{
    std::set<std::pair<std::uint32_t, std::uint32_t>> places;
    for (const Wispfold::BoardCellRecord& cell : level.cellRecords) {
        const auto world = KeystrelEngine::FileValues::kWorld;
        if (!places.emplace(cell.x, cell.y).second || !Fuzzing::AllWithin(cell.position, world) ||
            !Fuzzing::AllWithin(cell.rotation, world) || !Fuzzing::AllWithin(cell.offset, world) ||
            !Fuzzing::AllWithin(cell.extra, world))
            return false;
    }
    return true;
}

void Play(const Wispfold::LevelData& loaded)
{
    Wispfold::LevelData level = loaded;
    level.colourCount = 5;
    KeystrelEngine::RandomSeed = 1;
    TestSupport::ScriptedBoardWorld world(1, 2);
    TestSupport::ScriptedPlayer player(1);
    GameFramework::ScoreKeeper keeper;
    Wispfold::Board board(world, level, keeper);
    for (int frame = 0; frame < 40; ++frame)
        player.PlayFrame(board, world);
}

BoardFileCell Cell(std::uint32_t x, std::uint32_t y, std::uint32_t kind = 0, std::uint8_t closed = 0,
                   std::uint8_t blocked = 0)
{
    BoardFileCell cell;
    cell.kind = kind;
    cell.closed = closed;
    cell.blocked = blocked;
    cell.x = x;
    cell.y = y;
    cell.position = {static_cast<float>(x), static_cast<float>(y), 0.0f};
    return cell;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    static const bool environment = (folder.Write("Data/environments/fuzz/environment.ini", {'0', '\n'}), true);
    (void)environment;
    folder.Write("Data/boards/fuzz.blf", data, size);
    Wispfold::LevelRecord record;
    record.boardName = "fuzz";
    record.environmentName = "fuzz";
    Wispfold::GameLogicData level({&log, &files}, nullptr, &record);
    try {
        level.Load();
    } catch (const KeystrelEngine::Error&) {
        return 0;
    }
    if (!Sound(level.GetLevelData()))
        std::abort();
    Play(level.GetLevelData());
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    BoardFile two{11, 21, {Cell(3, 5, 2, 1), Cell(4, 6, 1, 0, 1)}};
    seeds.Add("two.blf", Formats::BuildBoardFile(two));

    const Wispfold::LevelData hexagon = TestSupport::MakeHexagonLevel(1.0f, false);
    BoardFile file{hexagon.gridWidth, hexagon.gridHeight, {}};
    for (const Wispfold::BoardCellRecord& cell : hexagon.cellRecords)
        file.cells.push_back(Cell(cell.x, cell.y, cell.kind, cell.closed, cell.blocked));
    seeds.Add("hexagon.blf", Formats::BuildBoardFile(file));

    // A column of cells sharing coordinates, on the largest grid.
    BoardFile column{64, 64, {}};
    for (std::uint32_t y = 0; y < 64; y += 2)
        column.cells.push_back(Cell(0, y));
    column.cells.push_back(Cell(0, 0, 2));
    seeds.Add("column.blf", Formats::BuildBoardFile(column));
}
