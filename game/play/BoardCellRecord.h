// One cell of a board level file, in the file's field order. Kind, flags and coordinates drive the rules; the
// floats place the cell in the world.
#pragma once

#include <array>
#include <cstdint>

namespace Wispfold {

// Mana layers of a cell: 0 plain, 1 one layer, 2 two layers.
using CellKind = std::uint32_t;

struct BoardCellRecord
{
    CellKind kind = 0;
    std::uint8_t closed = 0;  // non-zero: the cell starts closed
    std::uint8_t blocked = 0; // non-zero: the cell starts blocked
    std::uint32_t x = 0;      // column
    std::uint32_t y = 0;      // row, doubled (Board explains the grid)
    std::array<float, 3> position{};
    std::array<float, 4> rotation{}; // carried, not applied
    std::array<float, 3> offset{};   // added to the position
    std::array<float, 3> extra{};    // carried, not applied
};

} // namespace Wispfold
