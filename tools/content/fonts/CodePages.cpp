#include "tools/content/fonts/CodePages.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace Content {
namespace {

// Bytes 0x80 to 0x9F of code page 1252 (0: unassigned); 0xA0 to 0xFF are U+00A0 to U+00FF.
constexpr std::array<char16_t, 32> kWestern80 = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Bytes 0x80 to 0xBF of code page 1251 (0: unassigned); 0xC0 to 0xFF are U+0410 to U+044F.
constexpr std::array<char16_t, 64> kCyrillic80 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

void AddRange(std::vector<char16_t>& characters, char16_t first, char16_t last)
{
    for (char16_t c = first; c <= last; ++c)
        characters.push_back(c);
}

template <std::size_t N> void AddTable(std::vector<char16_t>& characters, const std::array<char16_t, N>& table)
{
    std::copy_if(table.begin(), table.end(), std::back_inserter(characters), [](char16_t c) { return c != 0; });
}

} // namespace

std::vector<char16_t> CodePages::PrintableCharacters()
{
    std::vector<char16_t> characters;
    AddRange(characters, 0x20, 0x7E);
    AddTable(characters, kWestern80);
    AddRange(characters, 0xA0, 0xFF);
    AddTable(characters, kCyrillic80);
    AddRange(characters, 0x0410, 0x044F);
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

} // namespace Content
