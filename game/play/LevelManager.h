// The game's level catalogue: per level its board, camera file and environment, its colour count and level
// factor, and the board's weight in its stage's progress, read from the stage's level list and the board's
// settings file. The whole catalogue is read at construction; a damaged entry, an empty catalogue or stage, or a
// missing board settings file ends the start-up with a fatal error.
#pragma once

#include "framework/LevelManagerBase.h"

#include <cstdint>
#include <string>

namespace Wispfold {

struct LevelRecord : GameFramework::LevelRecord
{
    std::string boardName;        // "data\boards\" + board name + ".blf" and ".ini"
    std::string cameraName;       // the board name + "_camera"
    std::int32_t colourCount = 0; // how many butterfly colours the level uses, 2 to 5
    std::string environmentName;  // the folder below "data\environments\"
    float levelFactor = 0.0f;     // scales the energy budget; gives a board with mana at least one swap
    std::int32_t boardValue = 0;  // the level's weight in its stage's progress, 0 to kMaxBoardValue
};

class LevelManager : public GameFramework::LevelManagerBase
{
public:
    static constexpr std::int32_t kMinColourCount = 2; // one colour could never be swapped
    static constexpr std::int32_t kMaxColourCount = 5; // one butterfly texture per colour
    // A level's weight: a stage's sums, and ten times them as the level-complete window shows them, stay within
    // 32 bits for as many levels as a list can hold.
    static constexpr std::int32_t kMaxBoardValue = 10000;

    LevelManager(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* fileManager);

    // The base's, then a catalogue without stages or with a stage without levels is fatal.
    void Load() override;
    std::string StageLevelsPath(std::uint32_t stage) override;
    std::unique_ptr<GameFramework::StageRecord> CreateStage() override;
    std::unique_ptr<GameFramework::LevelRecord> CreateLevel() override;
    void ReadLevel(GameFramework::LevelRecord& level, KeystrelEngine::FileTextual& file) override;

    // Sums of the board values of a stage's levels (all, or 0 to level), as unsigned 32-bit sums. The stage and
    // level must exist.
    std::uint32_t SumStageBoardValues(std::uint32_t stage) const;
    std::uint32_t SumStageBoardValuesUpTo(std::uint32_t stage, std::uint32_t level) const;

private:
    std::string LevelListPath(std::uint32_t stage);
    void ReadEntry(LevelRecord& level, KeystrelEngine::FileTextual& file, const std::string& listPath);
    std::int32_t ReadBoardValue(const std::string& boardName);
};

} // namespace Wispfold
