// A language's font list ("data\ui\fonts\" + language code + ".ini"), a text file read as a sequence of values:
// the font count, the console's font id, then per font its file, texture and opacity names (each the next
// non-empty line), its size, space factor and spacing factor, and its case-variants and fixed-width flags
// (non-zero: set). Every number is the whole of its token, the floats above 0 and within what drawing can bear:
// a value missing or out of place (an empty opacity line moves every later value up by one) refuses the list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileManager;
class GUIFont;
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

struct FontListEntry
{
    std::string fontName;
    std::string textureName;
    std::string opacityName;
    float size = 1.0f;
    float spaceFactor = 1.0f;
    float spacingFactor = 1.0f;
    bool caseVariants = false;
    bool fixedWidth = false;

    // Gives the font loaded from fontName the entry's size, factors and flags.
    void ApplyTo(KeystrelEngine::GUIFont& font) const;
};

class FontList
{
public:
    // Throws FileError naming the list; values after the last font are left with one warning.
    static FontList Read(KeystrelEngine::FileManager& files, KeystrelEngine::MessageManager& log,
                         const std::string& path);

    std::uint32_t consoleFontId = 0;
    std::vector<FontListEntry> fonts; // font id i is fonts[i]
};

} // namespace GameFramework
