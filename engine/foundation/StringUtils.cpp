#include "StringUtils.h"

#include "platform/win32/Win32.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace KeystrelEngine {
namespace {

char LowerChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char UpperChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

template <typename String, typename IsBlank> void TrimLeftOf(String& s, IsBlank isBlank)
{
    s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), isBlank));
}

template <typename String, typename IsBlank> void TrimRightOf(String& s, IsBlank isBlank)
{
    s.erase(std::find_if_not(s.rbegin(), s.rend(), isBlank).base(), s.end());
}

// snprintf into a string of the length the text needs, however long that is.
std::string Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

std::u16string AsciiToWide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

} // namespace

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsSpaceW(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

void ToLowerInPlace(std::string& s)
{
    std::transform(s.begin(), s.end(), s.begin(), LowerChar);
}

std::string ToLower(std::string s)
{
    ToLowerInPlace(s);
    return s;
}

void ToLowerInPlaceW(std::u16string& s)
{
    for (char16_t& c : s) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
}

std::u16string ToLowerW(std::u16string s)
{
    ToLowerInPlaceW(s);
    return s;
}

void ToUpperInPlace(std::string& s)
{
    std::transform(s.begin(), s.end(), s.begin(), UpperChar);
}

std::string ToUpper(std::string s)
{
    ToUpperInPlace(s);
    return s;
}

void TrimLeft(std::string& s)
{
    TrimLeftOf(s, IsSpace);
}
void TrimRight(std::string& s)
{
    TrimRightOf(s, IsSpace);
}
void TrimLeftW(std::u16string& s)
{
    TrimLeftOf(s, IsSpaceW);
}
void TrimRightW(std::u16string& s)
{
    TrimRightOf(s, IsSpaceW);
}

std::u16string TrimLeftWCopy(std::u16string s)
{
    TrimLeftW(s);
    return s;
}

std::u16string TrimRightWCopy(std::u16string s)
{
    TrimRightW(s);
    return s;
}

std::u16string TrimW(std::u16string s)
{
    TrimRightW(s);
    TrimLeftW(s);
    return s;
}

void StripLeadingBackslashes(std::string& s)
{
    s.erase(0, s.find_first_not_of('\\'));
}

void ReplaceAll(std::string& s, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return;
    for (std::size_t at = s.find(pattern); at != std::string::npos; at = s.find(pattern, at + replacement.size()))
        s.replace(at, pattern.size(), replacement);
}

void RemoveAll(std::string& s, std::string_view pattern)
{
    ReplaceAll(s, pattern, "");
}

void ReplaceAllNoCaseW(std::u16string& s, std::u16string_view pattern, std::u16string_view replacement)
{
    if (pattern.empty())
        return;
    std::u16string lower = ToLowerW(s);
    const std::u16string lowerPattern = ToLowerW(std::u16string(pattern));
    const std::u16string lowerReplacement = ToLowerW(std::u16string(replacement));
    for (std::size_t at = lower.find(lowerPattern); at != std::u16string::npos;
         at = lower.find(lowerPattern, at + replacement.size())) {
        s.replace(at, pattern.size(), replacement);
        lower.replace(at, pattern.size(), lowerReplacement);
    }
}

std::string FormatInt(std::int32_t value, int minimumDigits)
{
    return Print("%.*d", std::max(minimumDigits, 1), value);
}

std::string FormatUnsigned(std::uint32_t value, int minimumDigits)
{
    return Print("%.*u", std::max(minimumDigits, 1), value);
}

std::string FormatHex(std::uint32_t value)
{
    return Print("%08X", value);
}

std::string FormatFloat(double value, int decimals)
{
    return Print("%.*f", std::max(decimals, 0), value);
}

std::u16string FormatIntW(std::int32_t value)
{
    return AsciiToWide(FormatInt(value));
}
std::u16string FormatUnsignedW(std::uint32_t value)
{
    return AsciiToWide(FormatUnsigned(value));
}
std::string FormatBool(bool value)
{
    return value ? "1" : "0";
}

std::int32_t ToInt(std::string_view s)
{
    const std::string text(s);
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

float ToFloat(std::string_view s)
{
    const std::string text(s);
    return static_cast<float>(std::strtod(text.c_str(), nullptr));
}

bool ToBool(std::string_view s)
{
    return ToInt(s) != 0;
}

bool ToWideChar(char c, char16_t& unit)
{
    if (c == 0) {
        unit = 0;
        return true;
    }
    return MultiByteToWideChar(CP_ACP, 0, &c, 1, &unit, 1) == 1;
}

bool ToNarrowChar(char16_t unit, char& c)
{
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, 0, &unit, 1, &c, 1, nullptr, &usedDefault);
    return !usedDefault;
}

std::u16string ToWide(std::string_view s)
{
    std::u16string wide;
    wide.reserve(s.size());
    for (char c : s) {
        char16_t unit;
        if (!ToWideChar(c, unit))
            continue;
        if (unit == 0)
            break;
        wide += unit;
    }
    return wide;
}

std::string ToNarrow(std::u16string_view s)
{
    std::string narrow;
    narrow.reserve(s.size());
    for (char16_t unit : s) {
        char c;
        if (!ToNarrowChar(unit, c))
            continue;
        if (c == 0)
            break;
        narrow += c;
    }
    return narrow;
}

std::string GetApplicationFolder()
{
    std::string fileName;
    GetModuleFileNameA(nullptr, fileName);
    const std::size_t last = fileName.find_last_of(kPathSeparators);
    return last == std::string::npos ? std::string() : fileName.substr(0, last);
}

bool IsAbsoluteName(std::string_view name)
{
    return (name.size() >= 2 && name[1] == ':') || (!name.empty() && name[0] == '/');
}

bool ContainsDrive(std::string_view name)
{
    return name.find(':') != std::string_view::npos || (!name.empty() && name[0] == '/');
}

std::string ToMessagePath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace KeystrelEngine
