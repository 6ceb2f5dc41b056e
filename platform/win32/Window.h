// Windows, window classes and the message queue of the Win32 stand-in.
//
// Every window is an SDL window. SDL's events become the messages a window procedure expects: closing becomes
// WM_CLOSE, keys WM_KEYDOWN / WM_SYSKEYDOWN (with Windows virtual-key codes, repeats included), typed text
// WM_CHAR in the active ANSI code page (characters the code page cannot hold are dropped), and the window
// manager's minimise, maximise and restore WM_SYSCOMMAND. PeekMessageA collects SDL's events first, so the
// queue is current whenever the program looks at it.
//
// What Linux does differently:
// - The window manager draws the frame outside the client area, so a window's rectangle is its client area and
//   AdjustWindowRectEx changes nothing.
// - A top-level WS_POPUP window stands for the full screen: it is shown as a borderless desktop-size window, and
//   its own size becomes the screen that the cursor calls map into (the picture is letterboxed into it).
// - Child windows of another program do not exist: a WS_CHILD window is shown as a top-level window and keeps its
//   parent only as a name for GetParent (the engine's window warns of it in the engine's log).
// - The window manager maximises and minimises before the program hears of it. The stand-in undoes a maximise
//   and leaves it to DefWindowProcA, as Windows does.
#pragma once

#include "platform/win32/Types.h"

// Window classes ----------------------------------------------------------------------------------------------

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct WNDCLASSA
{
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCSTR lpszMenuName = nullptr;
    LPCSTR lpszClassName = nullptr;
};

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;

// Class names match without regard to case. Registering a name twice fails (0).
ATOM RegisterClassA(const WNDCLASSA* windowClass);
// Fails while a window of the class exists.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);

// Resources: a Linux program carries none. Besides the system's icon and arrow, only the cursor the program
// itself asks for exists: its cursor resource 1000 (loaded with the program's module) stands for SDL's default
// arrow under a handle of its own, so the program can tell its cursor from the system's.
LPCSTR MAKEINTRESOURCEA(WORD number);
extern const LPCSTR IDI_APPLICATION;
extern const LPCSTR IDC_ARROW;
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);

constexpr int BLACK_BRUSH = 4;
HGDIOBJ GetStockObject(int object);

// Windows -----------------------------------------------------------------------------------------------------

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Returns null when the class is unknown or no SDL video driver can start.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
// Destroys the window and every window whose parent it is.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
HWND GetParent(HWND window);
// The desktop window's rectangle is the screen: the display's size, or 1920x1080 under SDL's offscreen driver
// (whose own report of 1024x768 would shrink the game's windowed mode).
HWND GetDesktopWindow();
BOOL GetWindowRect(HWND window, RECT* rect);
// The client area: 0, 0, width, height.
BOOL GetClientRect(HWND window, RECT* rect);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);

constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
// The new styles take effect at the next SetWindowPos.
LONG SetWindowLongA(HWND window, int index, LONG value);

extern const HWND HWND_TOPMOST;
extern const HWND HWND_NOTOPMOST;
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
BOOL ShowWindow(HWND window, int command);

// Focus follows SDL's focus events; SetFocus and SetForegroundWindow give it at once.
HWND GetFocus();
HWND SetFocus(HWND window); // null: keys go to no window
BOOL SetForegroundWindow(HWND window);

// A device context names the window it draws into.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC context);

struct DEVMODEA
{
    DWORD dmBitsPerPel = 0;
    DWORD dmPelsWidth = 0;
    DWORD dmPelsHeight = 0;
    DWORD dmDisplayFrequency = 0;
};

// The display mode is never changed on Linux, so restoring the desktop's mode (no mode given) has nothing to do.
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);

// Only the current mode of the display (device null) is known: the desktop's size, 32 bits per pixel (tests may
// script another depth) and 60 Hz.
constexpr DWORD ENUM_CURRENT_SETTINGS = 0xFFFFFFFF;
BOOL EnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA* settings);

// Messages ----------------------------------------------------------------------------------------------------

constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCOMMAND = 0x0112;

// WM_SYSCOMMAND's command is wParam & 0xFFF0. SDL keeps the screen saver off while the program runs, so
// SC_SCREENSAVE and SC_MONITORPOWER never arrive; nor do SC_TASKLIST and SC_HOTKEY.
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_TASKLIST = 0xF130;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_HOTKEY = 0xF150;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

struct MSG
{
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr UINT PM_REMOVE = 0x0001;

// window null: any window's message; first and last 0: any message.
BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove);
// Characters come from SDL's text input as WM_CHAR already, so there is nothing to translate (FALSE).
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Default processing: SC_MINIMIZE, SC_MAXIMIZE and SC_RESTORE change the window's placement, SC_CLOSE sends
// WM_CLOSE, WM_CLOSE destroys the window, and Alt+F4 (WM_SYSKEYDOWN) sends SC_CLOSE.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
