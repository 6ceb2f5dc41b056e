// Inside the stand-in only: the SDL windows behind window handles, SDL's start, the event pump, the keyboard
// and cursor state it feeds, and the receivers of raw device input (the DirectInput devices).
//
// Handles are numbers, never addresses, so a handle of a destroyed window stays invalid for good.
#pragma once

#include "platform/win32/Window.h"

#include <SDL.h>
#include <map>
#include <string>

namespace Win32Host {

enum class Placement
{
    Normal,
    Minimised,
    Maximised
};

struct WindowRecord
{
    HWND handle = nullptr;
    SDL_Window* sdl = nullptr;
    std::string className;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    // Where the program placed the client area; a full-screen window's size is its screen.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    Placement placement = Placement::Normal;
    bool topmost = false;
    // Made by the first MakeGLContextCurrent for the window, deleted with it.
    SDL_GLContext glContext = nullptr;
};

// SDL's video (with its events) starts once per process and stops when the process ends; false while no video
// driver can start (each call tries again). StartEvents starts the events alone, for input devices without a
// window.
bool StartVideo();
bool StartEvents();

// The X server's key presses as they happen, while SDL runs its X11 driver (KeyPressWatch.h); null otherwise.
class KeyPressWatch;
KeyPressWatch* KeyPresses();

// Every window, in the order of creation.
std::map<HWND, WindowRecord>& Windows();
WindowRecord& AddWindow(); // a record with a new handle
WindowRecord* Lookup(HWND window);
WindowRecord* LookupSdl(Uint32 sdlWindowId);
// The window with the focus, else the first window; null without windows.
WindowRecord* MainWindow();

bool IsFullScreen(const WindowRecord& record);
// Where the full-screen picture lies inside the SDL window: the window's own size scaled to fit, centred.
SDL_Rect Letterbox(const WindowRecord& record);
// Between SDL window pixels and the stand-in's screen coordinates.
POINT WindowToScreen(const WindowRecord& record, int x, int y);
POINT ScreenToWindow(const WindowRecord& record, POINT screen);
// The client area's top-left corner in screen coordinates.
POINT ClientOrigin(const WindowRecord& record);
HWND DesktopHandle();
// The screen size GetDesktopWindow reports; 0x0 when no video driver can start.
SDL_Point DesktopSize();
// The display depth EnumDisplaySettingsA reports: 32 unless a test scripts another.
DWORD DesktopBitsPerPixel();

// A window draws with GL once its context is asked for, here, on the main thread: windows are made without GL
// (loading the GL driver costs time, and the driver keeps allocations a leak checker reports), so the first call
// remakes the window's SDL window with GL in the same place and state, then makes its context (one per window,
// deleted with it). window null: the main window. False without a window or when GL cannot start.
bool MakeGLContextCurrent(HWND window);
void DestroySdlWindow(WindowRecord& record);

HWND FocusWindow();
void SetFocusWindow(HWND window);

// Calls the window's procedure at once (SendMessage); 0 for an unknown window.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Moves every waiting SDL event into the stand-in: window messages, key state, cursor and raw input.
void PumpEvents();

// Key and cursor state (Input.cpp), fed by the pump.
void SetKeyDown(int virtualKey, bool down);
bool IsKeyDown(int virtualKey);
void SetCursorPosition(POINT screen);
// The pointer has left the window. SDL reports nothing of a pointer outside its window, and its last report is
// clamped to the border the pointer crossed; Windows goes on reporting where the pointer is, outside the client
// area. The stand-in knows only the border, so the cursor moves one pixel beyond the border nearest to it, where
// the program sees it outside its window until the pointer comes back.
void MoveCursorOutside(const WindowRecord& record);
// True (once) for the motion event that a SetCursorPos warp caused, which is no movement of the mouse.
bool TakeWarp(const WindowRecord& record, int x, int y);
void ResetInput();

// Receivers of raw device input. Scan codes are DirectInput's; wheel steps are 120 a notch, positive away from
// the user; buttons count left, right, middle, X1, X2.
class RawInputListener
{
public:
    virtual void OnKey(BYTE /*scanCode*/, bool /*down*/) {}
    virtual void OnMouseMove(int /*dx*/, int /*dy*/) {}
    virtual void OnWheel(int /*delta*/) {}
    virtual void OnButton(int /*button*/, bool /*down*/) {}

protected:
    ~RawInputListener() = default;
};

void AddRawInputListener(RawInputListener* listener);
void RemoveRawInputListener(RawInputListener* listener);

} // namespace Win32Host
