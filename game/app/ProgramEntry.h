// The program's entry, with the values the system hands a program's start.
#pragma once

#include "platform/win32/Win32.h"

namespace Wispfold {

// Plays the game through its loader. 0 after a normal end, 1 after an error the loader reported in its message
// box or a loader that could not be made.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showWindow);

} // namespace Wispfold
