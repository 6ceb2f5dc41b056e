#include "LevelManager.h"

#include "LevelData.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

namespace Wispfold {

namespace {

using KeystrelEngine::FileError;
using KeystrelEngine::FileTextual;

// The failure names the list and the entry, counted from 1.
[[noreturn]] void RefuseEntry(const std::string& listPath, std::uint32_t entry, const std::string& reason)
{
    KeystrelEngine::FileValues(listPath).Refuse("entry " + KeystrelEngine::FormatUnsigned(entry + 1) + " " + reason);
}

// The next line that holds more than white space, without the white space around it: lists are written by hand,
// and a stray blank or empty line must not shift the entries. A list that ends first is cut short.
std::string NextValue(FileTextual& file, const std::string& listPath, std::uint32_t entry)
{
    std::string line;
    do {
        if (!file.ReadLine(line))
            RefuseEntry(listPath, entry, "is cut short");
        KeystrelEngine::TrimLeft(line);
        KeystrelEngine::TrimRight(line);
    } while (line.empty());
    return line;
}

} // namespace

LevelManager::LevelManager(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager)
    : LevelManagerBase(log, fileManager)
{
    Load();
}

// An empty stage would send the player past it (or, the last one, leave the game without an end); without a
// stage there is no level to start.
void LevelManager::Load()
{
    LevelManagerBase::Load();
    if (GetStageCount() == 0)
        m_log->FatalError("The stage list \"data\\levels\\stages_info.ini\" holds no stage");
    for (std::uint32_t stage = 0; stage < GetStageCount(); ++stage) {
        if (GetStage(stage).levelCount == 0)
            m_log->FatalError("The level list \"" + LevelListPath(stage) + "\" holds no level");
    }
}

std::string LevelManager::LevelListPath(std::uint32_t stage)
{
    return "data\\levels\\" + StageLevelsPath(stage);
}

std::string LevelManager::StageLevelsPath(std::uint32_t stage)
{
    return "stage" + KeystrelEngine::FormatUnsigned(stage) + ".ini";
}

std::unique_ptr<GameFramework::StageRecord> LevelManager::CreateStage()
{
    return std::make_unique<GameFramework::StageRecord>();
}

std::unique_ptr<GameFramework::LevelRecord> LevelManager::CreateLevel()
{
    return std::make_unique<LevelRecord>();
}

// A damaged entry or a missing board settings file leaves the game without its level: fatal, as the lists are.
void LevelManager::ReadLevel(GameFramework::LevelRecord& level, KeystrelEngine::FileTextual& file)
{
    try {
        ReadEntry(static_cast<LevelRecord&>(level), file, LevelListPath(level.id.stage));
    } catch (const FileError& error) {
        m_log->FatalError(error.GetText());
    }
}

// A colour count outside 2 to 5 (0 would divide the butterflies' fill by zero; with 1 every swap is of two equal
// butterflies, which is refused) and a level factor that is no number or not above 0 (no energy at all) make no
// playable level; so does a factor that gives the board's mana less than one swap of energy, as the level would be
// lost at its first match. The board value is the board's mana as the catalogue knows it (the stage's mana bar
// counts it); a board without mana needs no energy, its first match wins it.
void LevelManager::ReadEntry(LevelRecord& level, FileTextual& file, const std::string& listPath)
{
    const std::uint32_t entry = level.id.level;
    level.boardName = NextValue(file, listPath, entry);
    const std::string colours = NextValue(file, listPath, entry);
    level.environmentName = NextValue(file, listPath, entry);
    const std::string factor = NextValue(file, listPath, entry);
    const std::string board = "(\"" + level.boardName + "\")";
    if (!KeystrelEngine::FileValues::ParseInt(colours, level.colourCount) || level.colourCount < kMinColourCount ||
        level.colourCount > kMaxColourCount)
        RefuseEntry(listPath, entry, board + " uses " + colours + " colours, not 2 to 5");
    level.levelFactor = KeystrelEngine::FileValues(listPath).RequireFloat(
        factor, KeystrelEngine::FileValues::kScale,
        "the level factor of entry " + KeystrelEngine::FormatUnsigned(entry + 1) + " " + board);
    level.cameraName = level.boardName + "_camera";
    level.boardValue = ReadBoardValue(level.boardName);
    const auto mana = static_cast<std::uint32_t>(level.boardValue);
    if (mana > 0 && EnergyBudget(mana, level.levelFactor) == 0)
        RefuseEntry(listPath, entry,
                    board + " gets no energy: level factor " + factor + " x 0.76 x board value " +
                        KeystrelEngine::FormatUnsigned(mana) + " is below 1");
}

// The file's first number, whatever blank lines or blanks come before it.
std::int32_t LevelManager::ReadBoardValue(const std::string& boardName)
{
    const std::string path = "data\\boards\\" + boardName + ".ini";
    const auto file = m_fileManager->OpenTextual(path, false);
    return KeystrelEngine::FileValues(path).NextInt(*file, 0, kMaxBoardValue, "the board value");
}

std::uint32_t LevelManager::SumStageBoardValues(std::uint32_t stage) const
{
    const std::uint32_t count = GetStage(stage).levelCount;
    return count == 0 ? 0 : SumStageBoardValuesUpTo(stage, count - 1);
}

std::uint32_t LevelManager::SumStageBoardValuesUpTo(std::uint32_t stage, std::uint32_t level) const
{
    std::uint32_t sum = 0;
    const auto& levels = GetStageLevels(stage);
    for (std::uint32_t i = 0; i <= level; ++i)
        sum += static_cast<std::uint32_t>(static_cast<const LevelRecord&>(*levels[i]).boardValue);
    return sum;
}

} // namespace Wispfold
