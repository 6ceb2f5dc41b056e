// The catalogue of the game's stages and of the levels of each stage, read from "data\levels\stages_info.ini"
// and one level list per stage. The game's catalogue makes and fills its own stage and level records through
// the virtual operations.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileManager;
class FileTextual;
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

struct LevelId
{
    std::uint32_t stage = 0; // both counted from 0
    std::uint32_t level = 0;
};

// "stage <stage>, level <level>", as the log names a level.
std::string DescribeLevel(LevelId id);

// The catalogue deletes records through these destructors, so the game's records may hold what they like.
struct StageRecord
{
    virtual ~StageRecord() = default;
    std::uint32_t levelCount = 0;
};

struct LevelRecord
{
    virtual ~LevelRecord() = default;
    LevelId id;
};

class LevelManagerBase
{
public:
    // Counts beyond this are no catalogue but a damaged file.
    static constexpr std::int32_t kMaxCount = 10000;

    LevelManagerBase(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager);
    virtual ~LevelManagerBase();

    LevelManagerBase(const LevelManagerBase&) = delete;
    LevelManagerBase& operator=(const LevelManagerBase&) = delete;

    // Reads the whole catalogue. A list that cannot be opened or whose count is out of range is fatal.
    virtual void Load();
    // The level list of a stage, below "data\levels\".
    virtual std::string StageLevelsPath(std::uint32_t stage);
    virtual std::unique_ptr<StageRecord> CreateStage() = 0;
    virtual std::unique_ptr<LevelRecord> CreateLevel() = 0;
    // Reads the stage's own values, which follow the stage count in the stage list, stage after stage.
    virtual void ReadStage(StageRecord& stage, KeystrelEngine::FileTextual& file);
    // Reads the level's own values from its stage's level list.
    virtual void ReadLevel(LevelRecord& level, KeystrelEngine::FileTextual& file);

    bool IsLastLevel(LevelId id) const;
    // Whether the id names a level of the catalogue.
    bool Holds(LevelId id) const;
    // The id must name a level of the catalogue.
    LevelRecord* GetLevel(LevelId id) const;

    std::uint32_t GetStageCount() const { return static_cast<std::uint32_t>(m_stages.size()); }
    StageRecord& GetStage(std::uint32_t stage) const { return *m_stages[stage]; }
    const std::vector<std::unique_ptr<LevelRecord>>& GetStageLevels(std::uint32_t stage) const
    {
        return m_levels[stage];
    }

protected:
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::FileManager* m_fileManager;

private:
    void WarnOfRest(KeystrelEngine::FileTextual& file, const std::string& path) const;
    std::unique_ptr<KeystrelEngine::FileTextual> OpenList(const std::string& path, std::uint32_t& count);
    std::uint32_t LoadStageLevels(std::uint32_t stage);

    std::vector<std::unique_ptr<StageRecord>> m_stages;
    std::vector<std::vector<std::unique_ptr<LevelRecord>>> m_levels; // per stage, its levels in order
};

} // namespace GameFramework
