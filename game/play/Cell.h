// One field of the board: its grid coordinates, its mana layers and whether it is closed or blocked. The board
// makes one cell per record of the level's board file and keeps it for the whole level; only the rule step
// changes the kind and the two flags, and asks the board's world to refresh the cell's look after each change.
#pragma once

#include "BoardCellRecord.h"

#include <cstdint>

namespace Wispfold {

class Cell
{
public:
    Cell(const BoardCellRecord& record, std::uint32_t index);
    virtual ~Cell() = default;

    // One or two mana layers still to charge.
    bool HasMana() const { return m_kind == 1 || m_kind == 2; }

    CellKind m_kind;
    bool m_closed;  // holds no butterfly until it opens
    bool m_blocked; // its butterfly is held; the next match through the cell frees it
    std::uint32_t m_x;
    std::uint32_t m_y;
    std::uint32_t m_cellIndex; // its place in the board's cells
};

} // namespace Wispfold
