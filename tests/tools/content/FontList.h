// The fonts of a language's font list in the content tool's data, read by the game's own reader and loaded the way
// the game's start-up does it; the tests and the level benchmark load their fonts with it.
#pragma once

#include "engine/gui/GUIFontManager.h"
#include "framework/FontList.h"

#include <string_view>

namespace KeystrelEngine {
class FileManager;
}

namespace ContentTesting {

// The language's list through GameFramework::FontList. The content tool writes every list whole: a list the game
// would refuse throws its FileError, and one it would read with a warning (values after the last font) throws
// std::runtime_error with the warning's text.
GameFramework::FontList ReadFontList(KeystrelEngine::FileManager& files, std::string_view language);

// Loads every listed font under its place in the list and gives it the list's settings; with textured, the font
// draws from its two pictures, otherwise from no texture at all.
void LoadFonts(KeystrelEngine::GUIFontManager& manager, const GameFramework::FontList& list, bool textured);

} // namespace ContentTesting
