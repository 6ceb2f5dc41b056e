// Lower-casing of the stand-in: the upper-case letters of code pages 1252 and 1251 and nothing else.
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

WCHAR Lower(WCHAR unit)
{
    CharLowerBuffW(&unit, 1);
    return unit;
}

// How many units of the code page's high half and ASCII letters change case, and whether every one of them
// becomes a character of the same code page.
std::size_t CountLetters(UINT codePage, bool& lowerInCodePage)
{
    std::size_t count = 0;
    lowerInCodePage = true;
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        WCHAR unit = 0;
        if (MultiByteToWideChar(codePage, 0, &c, 1, &unit, 1) != 1)
            continue;
        const WCHAR lower = Lower(unit);
        if (lower == unit)
            continue;
        ++count;
        BOOL usedDefault = FALSE;
        char back = 0;
        WideCharToMultiByte(codePage, 0, &lower, 1, &back, 1, nullptr, &usedDefault);
        lowerInCodePage = lowerInCodePage && !usedDefault;
    }
    return count;
}

TEST(CharLowerBuffW, LowersTheUpperCaseLettersOfBothCodePagesAndLeavesEveryOtherUnit)
{
    const std::vector<std::pair<WCHAR, WCHAR>> pairs = {
        {u'A', u'a'},     {u'Z', u'z'},     {0x00C0, 0x00E0}, {0x00DE, 0x00FE}, {0x0160, 0x0161},
        {0x0152, 0x0153}, {0x017D, 0x017E}, {0x0178, 0x00FF}, {0x0400, 0x0450}, {0x0401, 0x0451},
        {0x040F, 0x045F}, {0x0410, 0x0430}, {0x042F, 0x044F}, {0x0490, 0x0491}};
    for (const auto& [upper, lower] : pairs)
        EXPECT_EQ(Lower(upper), lower) << std::hex << static_cast<int>(upper);

    // 26 + 30 + 4 + 48 + 1 units change; the multiplication sign, lower-case letters, other scripts and
    // everything else stay.
    std::size_t changed = 0;
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit)
        changed += Lower(static_cast<WCHAR>(unit)) != unit ? 1 : 0;
    EXPECT_EQ(changed, 109u);
    for (WCHAR same : {u'a', u'1', WCHAR(0x00D7), WCHAR(0x00DF), WCHAR(0x00FF), WCHAR(0x0100), WCHAR(0x0391),
                       WCHAR(0x0430), WCHAR(0x0450), WCHAR(0x0491)})
        EXPECT_EQ(Lower(same), same) << std::hex << static_cast<int>(same);

    bool inCodePage = false;
    EXPECT_EQ(CountLetters(1252, inCodePage), 60u);
    EXPECT_TRUE(inCodePage);
    EXPECT_EQ(CountLetters(1251, inCodePage), 73u);
    EXPECT_TRUE(inCodePage);

    WCHAR text[] = u"\u0410\u0411c\u00C9Z";
    EXPECT_EQ(CharLowerBuffW(text, 4), 4u);
    EXPECT_EQ(std::u16string(text), u"\u0430\u0431c\u00E9Z");
}

} // namespace
