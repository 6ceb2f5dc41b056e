// The requests a game window leaves in its result field for the game's dispatcher. A window never opens or
// closes another window: its update stores one of these codes, and the game's handler for that window reacts
// (closes it, opens the next one, starts a level, quits). The result is cleared to RequestNone after every
// dispatch pass. Which window reports which code is the window's own business; the names say what the shell's
// handlers do with them. Codes 19, 23 and 24 belong to the game's own windows and handlers.
#pragma once

#include <cstdint>

namespace GameFramework {

enum WindowRequest : std::uint32_t
{
    RequestNone = 0,
    RequestDone = 1,    // logos shown, loading finished, a level, stage, game complete or game over acknowledged
    RequestWelcome = 2, // back to the welcome window (the exit window opened from it)
    RequestBack = 3,    // back to the main menu; from the menu-exit window: leave the level for the main menu
    RequestQuit = 4,    // open the exit window; from the game logic window: the game-exit window
    RequestProfiles = 5,
    RequestNewProfile = 6,
    RequestRenameProfile = 7,
    RequestDeleteProfile = 8,
    RequestNameTaken = 9, // the entered name belongs to another profile: the name-conflict window
    RequestHighScores = 10,
    RequestOptions = 11,
    RequestHelp = 12,
    RequestNewGame = 13,      // the continue window: start anew instead of the saved game
    RequestContinueGame = 14, // the continue window: continue the saved game
    RequestPause = 15,
    RequestGameLogicMenu = 16, // the in-game menu; from the menu-exit window: back to it
    RequestLeaveLevel = 17,    // the in-game menu: ask whether to leave the level
    RequestResume = 18,        // back to the running level
    RequestExitProgram = 21,
    RequestStart = 22 // the main menu's start; the level map's start of the chosen level
};

} // namespace GameFramework
