#include "LevelManagerBase.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

namespace GameFramework {

using KeystrelEngine::FormatUnsigned;

std::string DescribeLevel(LevelId id)
{
    return "stage " + FormatUnsigned(id.stage) + ", level " + FormatUnsigned(id.level);
}

LevelManagerBase::LevelManagerBase(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager)
    : m_log(log), m_fileManager(fileManager)
{
}

LevelManagerBase::~LevelManagerBase() = default;

void LevelManagerBase::Load()
{
    m_stages.clear();
    m_levels.clear();
    std::uint32_t stageCount = 0;
    {
        const std::string path = "data\\levels\\stages_info.ini";
        const auto file = OpenList(path, stageCount);
        for (std::uint32_t i = 0; i < stageCount; ++i) {
            m_stages.push_back(CreateStage());
            ReadStage(*m_stages.back(), *file);
        }
        WarnOfRest(*file, path);
    }
    std::uint32_t levelCount = 0;
    for (std::uint32_t i = 0; i < stageCount; ++i)
        levelCount += LoadStageLevels(i);
    m_log->Message("\nLevel Manager: Found " + FormatUnsigned(stageCount) + " stages with " +
                   FormatUnsigned(levelCount) + " levels...");
}

std::string LevelManagerBase::StageLevelsPath(std::uint32_t stage)
{
    return "stage" + FormatUnsigned(stage) + "\\levels_info.ini";
}

void LevelManagerBase::ReadStage(StageRecord& stage, KeystrelEngine::FileTextual&)
{
    stage.levelCount = 0;
}

void LevelManagerBase::ReadLevel(LevelRecord&, KeystrelEngine::FileTextual&) {}

bool LevelManagerBase::IsLastLevel(LevelId id) const
{
    return !m_stages.empty() && id.stage == m_stages.size() - 1 && id.level + 1 == m_stages.back()->levelCount;
}

bool LevelManagerBase::Holds(LevelId id) const
{
    return id.stage < m_levels.size() && id.level < m_levels[id.stage].size();
}

LevelRecord* LevelManagerBase::GetLevel(LevelId id) const
{
    return m_levels[id.stage][id.level].get();
}

// The level count read here replaces whatever ReadStage left in the stage record.
std::uint32_t LevelManagerBase::LoadStageLevels(std::uint32_t stage)
{
    std::uint32_t count = 0;
    const std::string path = "data\\levels\\" + StageLevelsPath(stage);
    const auto file = OpenList(path, count);
    m_stages[stage]->levelCount = count;
    auto& levels = m_levels.emplace_back();
    for (std::uint32_t j = 0; j < count; ++j) {
        levels.push_back(CreateLevel());
        levels.back()->id = {stage, j};
        ReadLevel(*levels.back(), *file);
    }
    WarnOfRest(*file, path);
    return count;
}

// Values after the records the count names (a count smaller than the list) are left with one warning.
void LevelManagerBase::WarnOfRest(KeystrelEngine::FileTextual& file, const std::string& path) const
{
    KeystrelEngine::FileValues values(path);
    values.CheckEnd(file);
    values.WarnOfNote(*m_log);
}

// Opens a list and reads its count. A list that cannot be opened, or whose count is no whole number from 0 to
// kMaxCount (which a damaged file gives), leaves the game without its levels: a fatal error.
std::unique_ptr<KeystrelEngine::FileTextual> LevelManagerBase::OpenList(const std::string& path, std::uint32_t& count)
{
    try {
        auto file = m_fileManager->OpenTextual(path, false);
        count = static_cast<std::uint32_t>(KeystrelEngine::FileValues(path).NextInt(*file, 0, kMaxCount, "the count"));
        return file;
    } catch (const KeystrelEngine::FileError& error) {
        m_log->FatalError(error.GetText());
    }
}

} // namespace GameFramework
