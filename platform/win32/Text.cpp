// Single-byte ANSI code pages. Bytes below 0x80 are ASCII in both; each table gives the UTF-16 unit of the bytes
// 0x80..0xFF, 0 where the code page defines no character.
#include "platform/win32/Text.h"
#include "platform/testing.h"

#include <array>
#include <atomic>

namespace {

using HighHalf = std::array<WCHAR, 128>;

constexpr HighHalf MakeWindows1252()
{
    HighHalf table{};
    constexpr WCHAR controls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        table[i] = controls[i];
    for (int i = 32; i < 128; ++i)
        table[i] = static_cast<WCHAR>(0x80 + i); // 0xA0..0xFF equal Latin-1
    return table;
}

constexpr HighHalf MakeWindows1251()
{
    HighHalf table{};
    constexpr WCHAR upper[64] = {0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
                                 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
                                 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
                                 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
                                 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
    for (int i = 0; i < 64; ++i)
        table[i] = upper[i];
    for (int i = 64; i < 128; ++i)
        table[i] = static_cast<WCHAR>(0x0410 + (i - 64)); // 0xC0..0xFF: А..я
    return table;
}

constexpr HighHalf kWindows1252 = MakeWindows1252();
constexpr HighHalf kWindows1251 = MakeWindows1251();

std::atomic<UINT> g_ansiCodePage{1252};

const HighHalf& Table(UINT codePage)
{
    if (codePage == CP_ACP)
        codePage = g_ansiCodePage.load();
    return codePage == 1251 ? kWindows1251 : kWindows1252;
}

WCHAR ToUnit(const HighHalf& table, unsigned char byte)
{
    return byte < 0x80 ? byte : table[byte - 0x80];
}

bool ToByte(const HighHalf& table, WCHAR unit, char& byte)
{
    if (unit < 0x80) {
        byte = static_cast<char>(unit);
        return true;
    }
    for (int i = 0; i < 128; ++i) {
        if (table[i] == unit) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

template <typename T> int LengthOf(const T* src, int length)
{
    if (length >= 0)
        return length;
    int n = 0;
    while (src[n])
        ++n;
    return n + 1;
}

} // namespace

UINT GetACP()
{
    return g_ansiCodePage.load();
}

int _setmbcp(int codePage)
{
    if (codePage != 1252 && codePage != 1251)
        return -1;
    g_ansiCodePage.store(static_cast<UINT>(codePage));
    return 0;
}

int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, LPCSTR src, int srcLength, WCHAR* dst, int dstLength)
{
    const HighHalf& table = Table(codePage);
    const int length = LengthOf(src, srcLength);
    int written = 0;
    for (int i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(src[i]);
        const WCHAR unit = ToUnit(table, byte);
        if (unit == 0 && byte != 0)
            continue;
        if (dstLength > 0) {
            if (written >= dstLength)
                return 0;
            dst[written] = unit;
        }
        ++written;
    }
    return written;
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, const WCHAR* src, int srcLength, char* dst, int dstLength,
                        const char* defaultChar, BOOL* usedDefault)
{
    const HighHalf& table = Table(codePage);
    const int length = LengthOf(src, srcLength);
    if (usedDefault)
        *usedDefault = FALSE;
    for (int i = 0; i < length; ++i) {
        char byte;
        if (!ToByte(table, src[i], byte)) {
            byte = defaultChar ? *defaultChar : '?';
            if (usedDefault)
                *usedDefault = TRUE;
        }
        if (dstLength > 0) {
            if (i >= dstLength)
                return 0;
            dst[i] = byte;
        }
    }
    return length;
}

void PlatformTesting::SetAnsiCodePage(UINT codePage)
{
    g_ansiCodePage.store(codePage);
}
