// What the font and text tests share: the content tool's data of this build copied into the test's own data
// folder, and (FontList.h) the fonts of a language's font list read and loaded the way the game's start-up does it.
#pragma once

#include "tests/tools/content/FontList.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace ContentTesting {

// Copies a folder of the build's data ("ui\\fonts") below the test's data folder.
void CopyBuildData(const std::string& folder);
// The disk path of an engine name below the test's data folder.
std::filesystem::path TestDataPath(const std::string& name);

// UTF-8 to UTF-16 (the texts hold no character beyond U+FFFF).
std::u16string Widen(std::string_view text);

} // namespace ContentTesting
