// Builds board level files (".blf") from a plain record: the common header (length, "VXBLF", version), the grid
// width and height, the cell count and one 66-byte record per cell, packed, little-endian. The length field is
// the size written; the count is the number of cells given.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Formats {

struct BoardFileCell
{
    std::uint32_t kind = 0;
    std::uint8_t closed = 0;
    std::uint8_t blocked = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::array<float, 3> position{};
    std::array<float, 4> rotation{};
    std::array<float, 3> offset{};
    std::array<float, 3> extra{};
};

struct BoardFile
{
    std::uint32_t gridWidth = 0;
    std::uint32_t gridHeight = 0;
    std::vector<BoardFileCell> cells;
};

Bytes BuildBoardFile(const BoardFile& file, std::uint32_t version = 103);

} // namespace Formats
