// How Windows names become Linux paths (used inside the stand-in only).
//
// Backslashes become slashes. Every component is then looked up as written; when the folder holds no entry of
// exactly that name, the entry that matches it without regard to case is taken (the first in case-insensitive
// sorted order), so "data\ui\a.jpg" finds "Data/UI/a.jpg". Components that do not exist in any case are kept as
// written, which lets a writer create them.
#pragma once

#include <string>
#include <string_view>

namespace Win32Host {

std::string ToHostPath(std::string_view name);

// The path a delete removes: the folders found as ToHostPath finds them, the entry itself only by its exact name,
// so that a delete never takes an entry that differs from the name in letter case.
std::string ToHostEntryPath(std::string_view name);

// Case-insensitive comparison of ASCII letters, byte order otherwise; the order of folder listings.
int CompareNoCase(std::string_view a, std::string_view b);

// Windows wildcard match: '*' any run, '?' one character, letters in any case; "*.*" matches every name.
bool WildcardMatch(std::string_view pattern, std::string_view name);

} // namespace Win32Host
