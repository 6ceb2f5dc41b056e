#include "LevelManager.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <cmath>

namespace Wispfold {

namespace {

using KeystrelEngine::FileError;
using KeystrelEngine::FileTextual;

// The next line; a list that ends here is cut short.
std::string NextLine(FileTextual& file, const std::string& listPath)
{
    std::string line;
    if (!file.ReadLine(line))
        throw FileError("Incorrect \"" + listPath + "\" file format");
    return line;
}

// Empty lines before a name are skipped.
std::string NextName(FileTextual& file, const std::string& listPath)
{
    std::string line;
    do
        line = NextLine(file, listPath);
    while (line.empty());
    return line;
}

} // namespace

LevelManager::LevelManager(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager)
    : LevelManagerBase(log, fileManager)
{
    Load();
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
        ReadEntry(static_cast<LevelRecord&>(level), file, "data\\levels\\" + StageLevelsPath(level.id.stage));
    } catch (const FileError& error) {
        m_log->FatalError(error.GetText());
    }
}

// A colour count outside 1 to 5 (0 would divide the butterflies' fill by zero) and a level factor that is
// negative or not finite make no playable level.
void LevelManager::ReadEntry(LevelRecord& level, FileTextual& file, const std::string& listPath)
{
    level.boardName = NextName(file, listPath);
    level.levelNumber = KeystrelEngine::ToInt(NextLine(file, listPath));
    level.environmentName = NextName(file, listPath);
    level.levelFactor = KeystrelEngine::ToFloat(NextLine(file, listPath));
    if (level.levelNumber < 1 || level.levelNumber > kMaxColourCount || !std::isfinite(level.levelFactor) ||
        level.levelFactor < 0.0f)
        throw FileError("Incorrect \"" + listPath + "\" file format");
    level.cameraName = level.boardName + "_camera";
    level.boardValue = ReadBoardValue(level.boardName);
}

std::int32_t LevelManager::ReadBoardValue(const std::string& boardName)
{
    const auto file = m_fileManager->OpenTextual("data\\boards\\" + boardName + ".ini", false);
    std::string line;
    file->ReadLine(line);
    return KeystrelEngine::ToInt(line);
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
