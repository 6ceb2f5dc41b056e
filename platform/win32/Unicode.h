// Inside the stand-in only: between the program's ANSI text and the UTF-8 that SDL speaks.
#pragma once

#include <string>
#include <string_view>

namespace Win32Host {

// ANSI text of the active code page as UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

// The next code point of UTF-8 text from position `at`, which moves past it; false at the end. A malformed
// sequence yields U+FFFD and moves one byte on.
bool NextCodePoint(std::string_view utf8, std::size_t& at, char32_t& codePoint);

} // namespace Win32Host
