// Keyboard state and the cursor of the Win32 stand-in.
//
// The asynchronous key state follows the key and mouse-button events the stand-in has collected from SDL (it
// collects them whenever the program reads its messages or its input devices). Only the program's own window
// delivers input on Linux, so keys pressed while another program has the focus are not seen.
#pragma once

#include "platform/win32/Types.h"

// Virtual-key codes: letters and digits are their upper-case ASCII codes.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_MENU = 0x12; // either Alt key
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;

// Bit 15 set while the key is down.
SHORT GetAsyncKeyState(int virtualKey);

// Cursor positions are screen coordinates; while a full-screen window is shown, the screen is that window's own
// size, mapped through the letterbox that fits it into the display.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
BOOL ClientToScreen(HWND window, POINT* point);
// The inverse of ClientToScreen: a screen point in the window's client coordinates.
BOOL ScreenToClient(HWND window, POINT* point);

// The display counter: the cursor is shown while it is 0 or more. Returns the new count.
int ShowCursor(BOOL show);
// The arrow and the program's cursor resource are both SDL's default cursor, which is never replaced, so setting
// a cursor only records it. Returns the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
