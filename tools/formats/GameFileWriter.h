// The pieces of the game's own binary files (high scores, profiles, the profile list, boards, the level map):
// the common 13-byte header and the counted wide string.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <string_view>

namespace Formats {

// One byte n, then n UTF-16LE units; a writer stores the text and its zero unit, so n is the length + 1.
inline void PutWString(Bytes& bytes, std::u16string_view text)
{
    bytes.push_back(static_cast<std::uint8_t>(text.size() + 1));
    for (const char16_t unit : text)
        PutLE16(bytes, unit);
    PutLE16(bytes, 0);
}

// u32 total length, five magic characters, u32 version, then the body.
inline Bytes GameFile(std::string_view magic, std::uint32_t version, const Bytes& body)
{
    Bytes bytes;
    PutLE32(bytes, static_cast<std::uint32_t>(13 + body.size()));
    bytes.insert(bytes.end(), magic.begin(), magic.begin() + 5);
    PutLE32(bytes, version);
    Append(bytes, body);
    return bytes;
}

} // namespace Formats
