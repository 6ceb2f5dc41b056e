// The message box: the one modal dialog the program shows, for the error or the condition that ends it, or that it
// plays on under.
#pragma once

#include "platform/win32/Types.h"

constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;

// Linux has no owner window to attach a box to, so the owner is only a name. The box is SDL's simple box with the
// type's icon (error, warning or information) when a display exists (not under the offscreen or dummy video
// drivers); the text always goes to stderr as one line, caption and text, so that a box nobody sees still leaves
// its words. Returns IDOK.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
