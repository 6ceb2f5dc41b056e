// Inside the stand-in only: what a key of SDL is called by Windows (virtual-key code) and by DirectInput (scan
// code). Keys are told apart by their position on the keyboard, except letters, whose virtual-key codes follow
// the keyboard layout as on Windows.
#pragma once

#include "platform/win32/Types.h"

#include <SDL.h>

namespace Win32Host {

struct KeyCode
{
    BYTE virtualKey = 0;        // left and right keys apart (VK_LSHIFT, VK_RMENU...); 0 for keys Windows lacks
    BYTE messageVirtualKey = 0; // what WM_KEYDOWN carries: VK_SHIFT, VK_CONTROL and VK_MENU for either side
    BYTE scanCode = 0;          // DirectInput's DIK code; 0 for keys DirectInput lacks
};

KeyCode MapKey(const SDL_Keysym& key);

// The generic virtual key (VK_SHIFT, VK_CONTROL, VK_MENU) of a left or right one; 0 for any other key.
int GenericKeyOf(int virtualKey);

} // namespace Win32Host
