#include "GameLogicData.h"

#include "LevelManager.h"

#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"
#include "engine/render/ModelManager.h"
#include "framework/VersionedFile.h"

#include <limits>
#include <memory>
#include <span>

namespace Wispfold {

namespace {

using KeystrelEngine::FileBinary;
using KeystrelEngine::FileTextual;

// Each field by its own read, in the file's order. Every float places the cell in the world (or is carried with
// it), so each lies within the world's reach.
BoardCellRecord ReadCell(FileBinary& file, const KeystrelEngine::FileValues& values, std::uint32_t index)
{
    BoardCellRecord cell;
    cell.kind = file.ReadU32();
    file.Read(1, &cell.closed);
    file.Read(1, &cell.blocked);
    cell.x = file.ReadU32();
    cell.y = file.ReadU32();
    file.Read(sizeof(cell.position), cell.position.data());
    file.Read(sizeof(cell.rotation), cell.rotation.data());
    file.Read(sizeof(cell.offset), cell.offset.data());
    file.Read(sizeof(cell.extra), cell.extra.data());
    const std::string name = "cell " + KeystrelEngine::FormatUnsigned(index + 1) + "'s ";
    const auto require = [&values, &name](std::span<const float> floats, const char* what) {
        const std::string label = name + what;
        for (const float value : floats)
            values.Require(value, KeystrelEngine::FileValues::kWorld, label);
    };
    require(cell.position, "position");
    require(cell.rotation, "rotation");
    require(cell.offset, "offset");
    require(cell.extra, "carried values");
    return cell;
}

// A flag line: one whole number, any but 0 counting as set; an empty line reads as 0.
std::uint8_t ReadFlag(FileTextual& file, const KeystrelEngine::FileValues& values, const std::string& what)
{
    std::string line;
    file.ReadLine(line);
    if (line.empty())
        return 0;
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
    return values.RequireInt(line, kLowest, kHighest, what) != 0 ? 1 : 0;
}

} // namespace

GameLogicData::GameLogicData(const GameFramework::DataKeeperServices& services, GameFramework::StageRecord* stage,
                             const LevelRecord* level)
    : DataKeeper(services), m_stage(stage), m_level(level)
{
    m_levelData.colourCount = static_cast<std::uint32_t>(level->colourCount);
    m_levelData.levelFactor = level->levelFactor;
}

void GameLogicData::DoLoad()
{
    ReadBoard("data\\boards\\" + m_level->boardName + ".blf");
    ReadEnvironment("data\\environments\\" + m_level->environmentName);
}

// A board without cells, with an empty or oversized grid, or with a cell of an unknown kind, outside the grid, at
// a grid place another cell holds or outside the world cannot be played (the board copies its first cell, a kind
// names the cell's appearance, and two cells at one place would share its neighbours): refused with the format
// error. Bytes after the last cell are left with one warning.
void GameLogicData::ReadBoard(const std::string& path)
{
    GameFramework::VersionedFile board(m_fileManager, "VXBLF", 103);
    board.Open(path, GameFramework::VersionedFile::ModeRead);
    FileBinary& file = board.GetFile();
    m_levelData.gridWidth = file.ReadU32();
    m_levelData.gridHeight = file.ReadU32();
    const std::uint32_t count = file.ReadU32();
    KeystrelEngine::FileValues values(path);
    const auto outside = [](std::uint32_t size) { return size == 0 || size > kMaxGridSize; };
    if (count == 0 || outside(m_levelData.gridWidth) || outside(m_levelData.gridHeight))
        values.Refuse();
    ReadCells(file, count, values);
    values.CheckEnd(file);
    values.WarnOfNote(*m_log);
    board.Close();
}

// The count sizes nothing: a file shorter than its count fails at its first missing cell. The cells are kept only
// when all of them are read and sound.
void GameLogicData::ReadCells(FileBinary& file, std::uint32_t count, const KeystrelEngine::FileValues& values)
{
    std::vector<BoardCellRecord> cells;
    std::vector<bool> taken(std::size_t{m_levelData.gridWidth} * m_levelData.gridHeight, false);
    for (std::uint32_t i = 0; i < count; ++i) {
        const BoardCellRecord cell = ReadCell(file, values, i);
        if (cell.kind > kMaxCellKind || cell.x >= m_levelData.gridWidth || cell.y >= m_levelData.gridHeight)
            values.Refuse();
        const std::size_t place = std::size_t{cell.y} * m_levelData.gridWidth + cell.x;
        if (taken[place])
            values.Refuse("cell " + KeystrelEngine::FormatUnsigned(i + 1) + " is at an earlier cell's place");
        taken[place] = true;
        cells.push_back(cell);
    }
    m_levelData.cellRecords = std::move(cells);
}

// The count on the first line, then each entry: the model name on the next non-empty line, then the lit, sorted
// and random-phase flags, a line each. The count sizes nothing: an entry past the end of the file is refused at
// its missing name. Values after the last entry leave one warning.
void GameLogicData::ReadEnvironment(const std::string& folder)
{
    const std::string path = folder + "\\environment.ini";
    const auto file = m_fileManager->OpenTextual(path, false);
    KeystrelEngine::FileValues values(path);
    std::string line;
    file->ReadLine(line);
    const std::int32_t count = values.RequireInt(line, 0, std::numeric_limits<std::int32_t>::max(), "the count");
    const std::string models = "environments\\" + m_level->environmentName + "\\models\\";
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string entryName = "entry " + KeystrelEngine::FormatInt(i + 1) + "'s ";
        const std::string name = values.NextLine(*file, entryName + "model name");
        EnvironmentEntry entry;
        entry.lit = ReadFlag(*file, values, entryName + "lit flag");
        entry.sorted = ReadFlag(*file, values, entryName + "sorted flag");
        entry.randomPhase = ReadFlag(*file, values, entryName + "random-phase flag");
        std::unique_ptr<KeystrelEngine::Model> model(m_modelManager->LoadModelUnmanaged(models + name + ".mlf", 0));
        m_models.push_back(model.get());
        m_environmentModels.push_back(model.release());
        m_environmentEntries.push_back(entry);
    }
    values.CheckEnd(*file);
    values.WarnOfNote(*m_log);
}

} // namespace Wispfold
