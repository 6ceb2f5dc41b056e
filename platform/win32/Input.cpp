#include "platform/win32/Input.h"

#include "platform/testing.h"
#include "platform/win32/KeyCodes.h"
#include "platform/win32/WindowHost.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

struct Warp
{
    HWND window;
    int x;
    int y;
};

struct InputState
{
    std::array<bool, 256> keys{};
    POINT cursor;
    int displayCount = 0;
    HCURSOR cursorShape = nullptr;
    std::optional<Warp> pendingWarp;
};

InputState g_input;

void ApplyCursorVisibility()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(g_input.displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace

void Win32Host::SetKeyDown(int virtualKey, bool down)
{
    if (virtualKey > 0 && virtualKey < 256)
        g_input.keys[virtualKey] = down;
}

bool Win32Host::IsKeyDown(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey >= 256)
        return false;
    if (g_input.keys[virtualKey])
        return true;
    // A generic key is down while either of its sides is.
    for (int side = 0xA0; side <= 0xA5; ++side) {
        if (GenericKeyOf(side) == virtualKey && g_input.keys[side])
            return true;
    }
    return false;
}

void Win32Host::SetCursorPosition(POINT screen)
{
    g_input.cursor = screen;
}

void Win32Host::MoveCursorOutside(const WindowRecord& record)
{
    POINT& cursor = g_input.cursor;
    const POINT origin = ClientOrigin(record);
    const int left = cursor.x - origin.x;
    const int top = cursor.y - origin.y;
    const int right = record.width - 1 - left;
    const int bottom = record.height - 1 - top;
    const int nearest = std::min({left, top, right, bottom});
    if (nearest < 0) // outside already: a pointer held by a pressed button is reported wherever it goes
        return;
    if (nearest == left)
        cursor.x = origin.x - 1;
    else if (nearest == right)
        cursor.x = origin.x + record.width;
    else if (nearest == top)
        cursor.y = origin.y - 1;
    else
        cursor.y = origin.y + record.height;
}

bool Win32Host::TakeWarp(const WindowRecord& record, int x, int y)
{
    const std::optional<Warp>& warp = g_input.pendingWarp;
    if (!warp || warp->window != record.handle || warp->x != x || warp->y != y)
        return false;
    g_input.pendingWarp.reset();
    return true;
}

void Win32Host::ResetInput()
{
    g_input = InputState{};
    ApplyCursorVisibility();
}

SHORT GetAsyncKeyState(int virtualKey)
{
    return Win32Host::IsKeyDown(virtualKey) ? SHORT(0x8000) : SHORT(0);
}

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = g_input.cursor;
    return TRUE;
}

// The cursor moves at once; the motion event that SDL reports for the warp is not a movement of the mouse.
BOOL SetCursorPos(int x, int y)
{
    g_input.cursor = {x, y};
    if (const Win32Host::WindowRecord* record = Win32Host::MainWindow()) {
        const POINT target = Win32Host::ScreenToWindow(*record, {x, y});
        g_input.pendingWarp = Warp{record->handle, target.x, target.y};
        SDL_WarpMouseInWindow(record->sdl, target.x, target.y);
    }
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point)
{
    const Win32Host::WindowRecord* record = Win32Host::Lookup(window);
    if (!record || !point)
        return FALSE;
    const POINT origin = Win32Host::ClientOrigin(*record);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point)
{
    const Win32Host::WindowRecord* record = Win32Host::Lookup(window);
    if (!record || !point)
        return FALSE;
    const POINT origin = Win32Host::ClientOrigin(*record);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int ShowCursor(BOOL show)
{
    const bool wasShown = g_input.displayCount >= 0;
    g_input.displayCount += show ? 1 : -1;
    if (wasShown != (g_input.displayCount >= 0))
        ApplyCursorVisibility();
    return g_input.displayCount;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    const HCURSOR previous = g_input.cursorShape;
    g_input.cursorShape = cursor;
    return previous;
}

void PlatformTesting::SetAsyncKeyState(int virtualKey, bool down)
{
    Win32Host::SetKeyDown(virtualKey, down);
}

int PlatformTesting::GetDisplayCount()
{
    return g_input.displayCount;
}

HCURSOR PlatformTesting::GetCurrentCursor()
{
    return g_input.cursorShape;
}
