#include "tests/support/PackWriter.h"

namespace TestSupport {

using namespace Formats;

Bytes BuildPack(const std::vector<PackEntry>& entries, std::uint32_t version)
{
    Bytes pack;
    PutLE32(pack, 0); // total length, set last
    for (char c : std::string("KEPAK"))
        pack.push_back(static_cast<std::uint8_t>(c));
    PutLE32(pack, version);
    PutLE32(pack, static_cast<std::uint32_t>(entries.size()));
    for (const PackEntry& entry : entries) {
        pack.push_back(static_cast<std::uint8_t>(entry.name.size() + 1));
        pack.insert(pack.end(), entry.name.begin(), entry.name.end());
        pack.push_back(0);
    }
    std::uint32_t offset = static_cast<std::uint32_t>(pack.size() + 8 * entries.size());
    for (const PackEntry& entry : entries) {
        PutLE32(pack, offset);
        PutLE32(pack, static_cast<std::uint32_t>(entry.contents.size()));
        offset += static_cast<std::uint32_t>(entry.contents.size());
    }
    for (const PackEntry& entry : entries)
        pack.insert(pack.end(), entry.contents.begin(), entry.contents.end());
    SetLE32(pack, 0, static_cast<std::uint32_t>(pack.size()));
    return pack;
}

} // namespace TestSupport
