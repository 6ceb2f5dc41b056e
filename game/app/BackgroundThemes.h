// The themes of the menu background, listed in "data\ui\menus\background\background.ini": the theme count, then
// per theme its name on a line of its own (empty lines before it are skipped) and two numbers, the kind and the
// stage. A theme of kind 0 is a stage theme, loaded with the shared resources and shown from its stage on; any
// other kind is a base theme that the background loads itself and always shows. A theme's model is
// "ui\menus\background\models\" + name + ".mlf".
//
// The file is not trusted: its count reserves nothing, and a file that ends before its count of themes is read
// (a missing name or number) is refused, as is a negative count or a number that is not one whole number an
// int32 holds (FileValues: "12abc" is no number).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileManager;
}

namespace Wispfold {

struct BackgroundTheme
{
    std::string name;
    std::int32_t kind = 0;
    std::int32_t stage = 0;

    bool IsStageTheme() const { return kind == 0; }
    std::string GetModelName() const;
};

class BackgroundThemes
{
public:
    static constexpr const char* kPath = "data\\ui\\menus\\background\\background.ini";

    // Throws FileError: the file cannot be opened, or is refused (the text names the file).
    explicit BackgroundThemes(KeystrelEngine::FileManager& files);

    // In the file's order: a theme's index is its position in the file.
    const std::vector<BackgroundTheme>& GetThemes() const { return m_themes; }

private:
    std::vector<BackgroundTheme> m_themes;
};

} // namespace Wispfold
