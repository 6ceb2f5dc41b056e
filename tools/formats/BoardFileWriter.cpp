#include "tools/formats/BoardFileWriter.h"

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
    Bytes bytes;
    PutLE32(bytes, 0);
    bytes.insert(bytes.end(), {'V', 'X', 'B', 'L', 'F'});
    PutLE32(bytes, version);
    PutLE32(bytes, file.gridWidth);
    PutLE32(bytes, file.gridHeight);
    PutLE32(bytes, static_cast<std::uint32_t>(file.cells.size()));
    for (const BoardFileCell& cell : file.cells)
        PutCell(bytes, cell);
    SetLE32(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

} // namespace Formats
