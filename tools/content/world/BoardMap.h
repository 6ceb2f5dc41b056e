// A board drawn as text: one line per grid row from the highest row y down to row 0, one character per column
// x. Rows are doubled, so a cell stands only where x + y is even and the lines look like the staggered board.
//   '.' or ' ' no cell   'o' plain         '1' one mana layer   '2' two mana layers
//   'c' closed, one layer   'C' closed, two layers
//   'w' web over a plain cell   'b' web, one layer   'B' web, two layers
// Build places cell (x, y) at (30 x, 17.320508 y, 0) minus the middle of the cells' extent, so the board's box is
// centred on the origin. Throws std::invalid_argument for an unknown character, a cell where x + y is odd, lines
// of different lengths or a board without cells.
#pragma once

#include "tools/formats/BoardFileWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Content {

class BoardMap
{
public:
    static Formats::BoardFile Build(const std::vector<std::string>& rows);
    // Mana layers on the board at the start.
    static std::uint32_t ManaTarget(const Formats::BoardFile& board);
};

} // namespace Content
