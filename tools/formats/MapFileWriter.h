// Builds the level map file (".gmf") from plain records: the common header (length, "VXGMF", version), the
// record count and one 68-byte record per marker: the marker's kind and its 4 x 4 placement matrix, row by row
// as the engine's Matrix4 holds it. Little-endian, packed.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Formats {

struct MapFileRecord
{
    std::uint32_t kind = 0; // 0 start, 1 finish, 2 check point (starts a stage), 3 path
    std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

Bytes BuildMapFile(const std::vector<MapFileRecord>& records, std::uint32_t version = 100);

} // namespace Formats
