// Keyboard layouts of the Win32 stand-in.
//
// The stand-in keeps a list of "installed" layouts and one active layout for the whole program (the thread
// argument is not consulted). A layout handle carries its language identifier in both words; English (0x0409)
// is installed and active until a test scripts others. The list only reports: on Linux the desktop's own layout
// decides which characters SDL types, whatever layout is active here.
#pragma once

#include "platform/win32/Types.h"

using HKL = struct HKL__*;

constexpr UINT KLF_ACTIVATE = 0x1;

HKL GetKeyboardLayout(DWORD threadId);

// Activates an installed layout; a handle whose high word is 0 names the first installed layout of the language
// in its low word. Returns the layout active before, or null (nothing changes) when none is installed.
HKL ActivateKeyboardLayout(HKL layout, UINT flags);

// The name is a layout identifier of eight hexadecimal digits ("00000419"); its low word is the language. Installs
// the layout unless it is installed and, with KLF_ACTIVATE, activates it. Null for a name that is no identifier.
HKL LoadKeyboardLayoutA(LPCSTR name, UINT flags);

// Removes an installed layout; when it was active, the first layout left becomes active (none when none is left).
BOOL UnloadKeyboardLayout(HKL layout);
