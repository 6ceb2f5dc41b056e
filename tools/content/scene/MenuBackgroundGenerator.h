// The menu background's landscape: "ui\menus\background\background.ini" and one model of layered swaying cards
// per theme, each with its texture. Two base themes (the sky and the far hills) are always shown; one stage
// theme per stage index adds to the landscape as the player gets on: each stage's environment (the meadow, the
// grove, the spring) from the stage the level catalogue gives it, and the blossoms once the last stage is done.
#pragma once

#include "tools/content/art/ArtGenerator.h"

#include <string>
#include <vector>

namespace Content {

struct ThemeEntry
{
    std::string name;
    int kind;  // 0 a stage theme, otherwise a base theme
    int stage; // for stage themes, the first stage theme index that shows it
};

class MenuBackgroundGenerator : public ArtGenerator
{
public:
    static constexpr const char* kIniName = "ui\\menus\\background\\background.ini";

    // The themes in file order (which is also their drawing order, back to front).
    static std::vector<ThemeEntry> Themes();
    // background.ini: the theme count, then per theme its name, kind and stage, one value a line.
    static std::string IniText();

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
