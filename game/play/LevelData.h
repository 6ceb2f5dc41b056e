// Everything one level's board is built from: the grid and the cells of its board file, the colour count and
// the level factor of its catalogue entry, and the player's relax mode. The loaders fill it; the board only
// reads it.
#pragma once

#include "BoardCellRecord.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace Wispfold {

struct LevelData
{
    // Chain finding scans every (x, y) below these; cells lie inside them, and neither exceeds 64.
    std::uint32_t gridWidth = 0;
    std::uint32_t gridHeight = 0;
    // In file order; a cell's place here is its cell index.
    std::vector<BoardCellRecord> cellRecords;
    // How many butterfly colours the level uses (its catalogue entry's "level number").
    std::uint32_t colourCount = 1;
    // Scales the energy budget: mana target x 0.76 x factor.
    float levelFactor = 1.0f;
    // No energy is spent.
    bool relaxMode = false;

    std::uint32_t GetCellRecordCount() const { return static_cast<std::uint32_t>(cellRecords.size()); }
};

// The swaps a level allows: mana target x 0.76 (the single-precision value) x level factor, truncated; saturated to
// the u32 range, as a converted value outside it would be undefined.
inline std::uint32_t EnergyBudget(std::uint32_t manaTarget, float levelFactor)
{
    const double budget = manaTarget * static_cast<double>(0.76f) * levelFactor;
    if (!(budget > 0.0))
        return 0;
    if (budget >= 4294967296.0)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(budget);
}

} // namespace Wispfold
