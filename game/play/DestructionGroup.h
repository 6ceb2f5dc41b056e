// Butterflies found together in a match (after a swap or a refill), waiting to be removed as one once all of
// them rest. Each entry remembers the butterfly it collected and which placement on the cell that was: a cell
// whose butterfly has changed since counts as empty, so a group never destroys a butterfly it did not collect.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace Wispfold {

class Cell;
class Item;

struct DestructionGroup
{
    struct Entry
    {
        Cell* cell = nullptr;
        Item* item = nullptr;
        std::uint32_t placement = 0; // the board's placement count of the cell when collected
    };

    // Cells of the triggering chain, before bonuses widened the group.
    std::uint32_t chainLength = 0;
    // Butterflies of the group that carried a bonus, in all and by kind.
    std::uint32_t bonusesFired = 0;
    std::array<std::uint32_t, 3> firedByKind{};
    // Each cell once: chain cells first in walk order, then the cells bonuses added.
    std::vector<Entry> cells;
};

} // namespace Wispfold
