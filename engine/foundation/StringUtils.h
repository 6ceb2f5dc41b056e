// Small jobs on narrow (8-bit) and wide (UTF-16) strings: case, trimming, replacing, numbers as text and back,
// narrow/wide conversion in the active ANSI code page, and the program's folder.
//
// Character tests and case changes follow the default "C" locale: only ASCII letters change case and only ASCII
// blanks count as white space, whatever the byte or unit values above 0x7F are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace KeystrelEngine {

bool IsSpace(char c);
bool IsSpaceW(char16_t c);

void ToLowerInPlace(std::string& s);
std::string ToLower(std::string s);
void ToLowerInPlaceW(std::u16string& s);
std::u16string ToLowerW(std::u16string s);
void ToUpperInPlace(std::string& s);
std::string ToUpper(std::string s);

void TrimLeft(std::string& s);
void TrimRight(std::string& s);
void TrimLeftW(std::u16string& s);
void TrimRightW(std::u16string& s);
std::u16string TrimLeftWCopy(std::u16string s);
std::u16string TrimRightWCopy(std::u16string s);
std::u16string TrimW(std::u16string s);
void StripLeadingBackslashes(std::string& s);

// Replace every occurrence from left to right; the search resumes after each inserted replacement. An empty
// pattern leaves the text unchanged.
void ReplaceAll(std::string& s, std::string_view pattern, std::string_view replacement);
void RemoveAll(std::string& s, std::string_view pattern);
void ReplaceAllNoCaseW(std::u16string& s, std::u16string_view pattern, std::u16string_view replacement);

// At least minimumDigits digits, zero-filled after the sign.
std::string FormatInt(std::int32_t value, int minimumDigits = 0);
std::string FormatUnsigned(std::uint32_t value, int minimumDigits = 0);
std::string FormatHex(std::uint32_t value); // always eight upper-case digits
std::string FormatFloat(double value, int decimals);
std::u16string FormatIntW(std::int32_t value);
std::u16string FormatUnsignedW(std::uint32_t value);
std::string FormatBool(bool value);

// Leading blanks, an optional sign and the digits that follow, as atoi reads them; values beyond the int range
// are clamped to it, text that is no number gives 0.
std::int32_t ToInt(std::string_view s);
float ToFloat(std::string_view s);
bool ToBool(std::string_view s);

// One character in the active ANSI code page; false when there is no counterpart.
bool ToWideChar(char c, char16_t& unit);
bool ToNarrowChar(char16_t unit, char& c);

// Bytes without a character are skipped, a zero byte ends the text.
std::u16string ToWide(std::string_view s);
// Units without a narrow form are left out, a zero unit ends the text.
std::string ToNarrow(std::u16string_view s);

// The folder of the program file, without a final separator.
std::string GetApplicationFolder();

// Both separate path components: '\\' in the engine's own names, '/' in the Linux folders above them.
inline constexpr const char* kPathSeparators = "\\/";
inline bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

// A name is absolute when its second character is ':' (a drive letter) or, on Linux, when it starts with '/'.
bool IsAbsoluteName(std::string_view name);
// The wider test of the data-path helpers: ':' anywhere in the name, or a leading '/'.
bool ContainsDrive(std::string_view name);
// A disk path as a message names it, in one kind of separator: a path that starts with '/' lies among the
// system's folders (the user folder is one) and is named with '/' throughout; any other keeps its backslashes.
std::string ToMessagePath(std::string path);

} // namespace KeystrelEngine
