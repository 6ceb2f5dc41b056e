// The fonts of a language's font list in the content tool's data, read and loaded the way the game's start-up
// does it; the tests and the level benchmark load their fonts with it.
#pragma once

#include "engine/gui/GUIFontManager.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace KeystrelEngine {
class FileManager;
}

namespace ContentTesting {

struct ListedFont
{
    std::string file;
    std::string texture;
    std::string opacity;
    float size = 0.0f;
    float spaceFactor = 0.0f;
    float spacingFactor = 0.0f;
    std::int32_t caseVariants = 0;
    std::int32_t fixedWidth = 0;
};

struct FontList
{
    std::int32_t count = 0;
    std::int32_t consoleFont = 0;
    std::vector<ListedFont> fonts;
};

// The language's list through the engine's text reader: two numbers, then per font three lines (empty lines
// before each skipped), three numbers with a fraction and two whole numbers.
FontList ReadFontList(KeystrelEngine::FileManager& files, std::string_view language);

// Loads every listed font under its place in the list and gives it the list's settings; with textured, the font
// draws from its two pictures, otherwise from no texture at all.
void LoadFonts(KeystrelEngine::GUIFontManager& manager, const FontList& list, bool textured);

} // namespace ContentTesting
