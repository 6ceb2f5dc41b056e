// Little-endian values inside byte buffers (every engine file format is little-endian and packed).
#pragma once

#include <cstdint>

namespace KeystrelEngine {

inline std::uint32_t LoadLE32(const std::uint8_t* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

} // namespace KeystrelEngine
