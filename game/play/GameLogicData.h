// Everything of one level read from disk before it starts: the grid and the cells of its board file
// ("data\boards\" + board + ".blf", "VXBLF" version 103) and the models of its environment, listed in
// "data\environments\" + environment + "\environment.ini". The level's loading window runs the load on its
// worker; the level is built from it afterwards.
#pragma once

#include "LevelData.h"

#include "framework/DataKeeper.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace GameFramework {
struct StageRecord;
}

namespace KeystrelEngine {
class FileBinary;
class FileValues;
} // namespace KeystrelEngine

namespace Wispfold {

struct LevelRecord;

// Flags of one environment model, each 0 or 1.
struct EnvironmentEntry
{
    std::uint8_t lit = 0;         // 0: drawn without lighting
    std::uint8_t sorted = 0;      // 1: drawn in the second draw group with a fixed order bias
    std::uint8_t randomPhase = 0; // 1: the animation starts at a random position
};

class GameLogicData : public GameFramework::DataKeeper
{
public:
    // Grids wider or higher than this are refused: chain finding scans every position of the grid.
    static constexpr std::uint32_t kMaxGridSize = 64;
    static constexpr CellKind kMaxCellKind = 2;

    GameLogicData(const GameFramework::DataKeeperServices& services, GameFramework::StageRecord* stage,
                  const LevelRecord* level);

    GameFramework::StageRecord* GetStage() const { return m_stage; }
    const LevelRecord* GetLevel() const { return m_level; }
    // The grid and cells of the board file, with the level's colour count and level factor.
    const LevelData& GetLevelData() const { return m_levelData; }
    const std::vector<KeystrelEngine::Model*>& GetEnvironmentModels() const { return m_environmentModels; }
    const std::vector<EnvironmentEntry>& GetEnvironmentEntries() const { return m_environmentEntries; }

protected:
    // The board file, then the environment. Failures leave as FileError; a refused board keeps no cell.
    void DoLoad() override;

private:
    void ReadBoard(const std::string& path);
    void ReadCells(KeystrelEngine::FileBinary& file, std::uint32_t count, const KeystrelEngine::FileValues& values);
    void ReadEnvironment(const std::string& folder);

    GameFramework::StageRecord* m_stage;
    const LevelRecord* m_level;
    LevelData m_levelData;
    std::vector<KeystrelEngine::Model*> m_environmentModels; // also in the keeper's model list, which owns them
    std::vector<EnvironmentEntry> m_environmentEntries;
};

} // namespace Wispfold
