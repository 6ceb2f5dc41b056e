#include "tools/formats/BoardFileWriter.h"

#include "tools/formats/GameFileWriter.h"

namespace Formats {

namespace {

void PutCell(Bytes& bytes, const BoardFileCell& cell)
{
    PutLE32(bytes, cell.kind);
    bytes.push_back(cell.closed);
    bytes.push_back(cell.blocked);
    PutLE32(bytes, cell.x);
    PutLE32(bytes, cell.y);
    PutFloats(bytes, cell.position);
    PutFloats(bytes, cell.rotation);
    PutFloats(bytes, cell.offset);
    PutFloats(bytes, cell.extra);
}

} // namespace

Bytes BuildBoardFile(const BoardFile& file, std::uint32_t version)
{
    Bytes body;
    PutLE32(body, file.gridWidth);
    PutLE32(body, file.gridHeight);
    PutLE32(body, static_cast<std::uint32_t>(file.cells.size()));
    for (const BoardFileCell& cell : file.cells)
        PutCell(body, cell);
    return GameFile("VXBLF", version, body);
}

} // namespace Formats
