// The in-game window's models ("ui\\menus\\models\\game_logic\\": the bands, buttons, level and score panels,
// the mana and energy bars) and the level-complete window's ("ui\\menus\\models\\level_complete\\": its frame,
// the upgrade picture's place and its mana bar). A bar's fill carries 16 material frames from full to empty.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class HudArt : public ArtGenerator
{
protected:
    void List(ArtList& list) const override;
};

} // namespace Content
