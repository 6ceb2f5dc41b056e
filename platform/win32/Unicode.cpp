#include "platform/win32/Unicode.h"

#include "platform/win32/Text.h"

namespace Win32Host {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string out;
    for (char c : ansi) {
        WCHAR unit = 0;
        if (MultiByteToWideChar(CP_ACP, 0, &c, 1, &unit, 1) == 1)
            AppendUtf8(out, unit); // single-byte code pages map into the Basic Multilingual Plane only
    }
    return out;
}

bool NextCodePoint(std::string_view utf8, std::size_t& at, char32_t& codePoint)
{
    if (at >= utf8.size())
        return false;
    const unsigned char lead = static_cast<unsigned char>(utf8[at]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > utf8.size()) {
        codePoint = kReplacement;
        ++at;
        return true;
    }
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(utf8[at + i]);
        if ((next & 0xC0) != 0x80) {
            codePoint = kReplacement;
            ++at;
            return true;
        }
        value = (value << 6) | (next & 0x3F);
    }
    codePoint = value;
    at += length;
    return true;
}

} // namespace Win32Host
