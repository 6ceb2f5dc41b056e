#include "tools/formats/MapFileWriter.h"

#include "tools/formats/GameFileWriter.h"

namespace Formats {

Bytes BuildMapFile(const std::vector<MapFileRecord>& records, std::uint32_t version)
{
    Bytes body;
    PutLE32(body, static_cast<std::uint32_t>(records.size()));
    for (const MapFileRecord& record : records) {
        PutLE32(body, record.kind);
        PutFloats(body, record.matrix);
    }
    return GameFile("VXGMF", version, body);
}

} // namespace Formats
