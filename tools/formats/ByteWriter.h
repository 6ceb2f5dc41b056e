// Little-endian values appended to or patched into byte vectors, for the file writers of the content tool and
// the tests.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Formats {

using Bytes = std::vector<std::uint8_t>;

inline void PutLE16(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutLE32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    PutLE16(bytes, value & 0xFFFF);
    PutLE16(bytes, value >> 16);
}

inline void PutF32(std::vector<std::uint8_t>& bytes, float value)
{
    PutLE32(bytes, std::bit_cast<std::uint32_t>(value));
}

template <std::size_t N> void PutFloats(std::vector<std::uint8_t>& bytes, const std::array<float, N>& values)
{
    for (const float value : values)
        PutF32(bytes, value);
}

inline void SetLE32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void Append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

} // namespace Formats
