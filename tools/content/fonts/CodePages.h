// The characters players can type and the texts can hold: every printable character of the Western (1252) and
// the Cyrillic (1251) Windows code pages, the two the game's six languages are written in.
#pragma once

#include <vector>

namespace Content {

class CodePages
{
public:
    // Each character once, in rising order: the blank and the ASCII characters, then what bytes 0x80 to 0xFF
    // of either code page stand for (bytes a code page leaves unassigned give nothing).
    static std::vector<char16_t> PrintableCharacters();
};

} // namespace Content
