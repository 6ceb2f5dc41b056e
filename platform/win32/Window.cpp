#include "platform/win32/Window.h"

#include "platform/win32/Files.h"
#include "platform/win32/HostPath.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/WindowHost.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using Win32Host::Lookup;
using Win32Host::WindowRecord;

namespace {

struct RegisteredClass
{
    WNDCLASSA windowClass;
    std::string name;
};

// Class names without regard to case.
struct NoCaseLess
{
    bool operator()(const std::string& a, const std::string& b) const { return Win32Host::CompareNoCase(a, b) < 0; }
};

std::map<std::string, RegisteredClass, NoCaseLess> g_classes;
ATOM g_nextAtom = 0xC000;

// Handles of the few system objects; never dereferenced.
template <typename Handle> Handle SystemHandle(std::uintptr_t number)
{
    return reinterpret_cast<Handle>(number);
}

const HICON kApplicationIcon = SystemHandle<HICON>(0x20);
const HCURSOR kArrowCursor = SystemHandle<HCURSOR>(0x21);
const HGDIOBJ kBlackBrush = SystemHandle<HGDIOBJ>(0x22);
// The program's own cursor resource: SDL's default arrow under a handle of its own.
const HCURSOR kProgramCursor = SystemHandle<HCURSOR>(0x23);
constexpr WORD kProgramCursorResource = 1000;

// Shows the window as its style says: full screen over the whole desktop, or a window with or without a frame
// at the placed position and size.
void Present(WindowRecord& record)
{
    if (Win32Host::IsFullScreen(record)) {
        SDL_SetWindowFullscreen(record.sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(record.sdl, 0);
        SDL_SetWindowBordered(record.sdl, (record.style & WS_CAPTION) ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowSize(record.sdl, std::max(record.width, 1), std::max(record.height, 1));
        SDL_SetWindowPosition(record.sdl, record.left, record.top);
    }
    SDL_SetWindowAlwaysOnTop(record.sdl, record.topmost ? SDL_TRUE : SDL_FALSE);
}

// Gives the window an SDL window that can draw with GL, in the same place and state as the one it has.
bool RemakeWithGL(WindowRecord& record)
{
    const Uint32 keep = SDL_WINDOW_SHOWN | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
    const Uint32 flags = (SDL_GetWindowFlags(record.sdl) & keep) | SDL_WINDOW_OPENGL;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(record.sdl, &x, &y);
    SDL_GetWindowSize(record.sdl, &width, &height);
    SDL_Window* sdl = SDL_CreateWindow(SDL_GetWindowTitle(record.sdl), x, y, width, height, flags);
    if (!sdl)
        return false;
    SDL_DestroyWindow(record.sdl);
    record.sdl = sdl;
    Present(record);
    return true;
}

} // namespace

// Window classes ----------------------------------------------------------------------------------------------

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc)
        return 0;
    const std::string name = windowClass->lpszClassName;
    if (g_classes.count(name))
        return 0;
    RegisteredClass& entry = g_classes[name];
    entry.windowClass = *windowClass;
    entry.name = name;
    entry.windowClass.lpszClassName = entry.name.c_str();
    return g_nextAtom++;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE /*instance*/)
{
    const auto it = className ? g_classes.find(className) : g_classes.end();
    if (it == g_classes.end())
        return FALSE;
    for (const auto& [handle, record] : Win32Host::Windows()) {
        if (Win32Host::CompareNoCase(record.className, it->second.name) == 0)
            return FALSE;
    }
    g_classes.erase(it);
    return TRUE;
}

LPCSTR MAKEINTRESOURCEA(WORD number)
{
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(number));
}

const LPCSTR IDI_APPLICATION = MAKEINTRESOURCEA(32512);
const LPCSTR IDC_ARROW = MAKEINTRESOURCEA(32513);

HICON LoadIconA(HINSTANCE instance, LPCSTR name)
{
    return !instance && name == IDI_APPLICATION ? kApplicationIcon : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (!instance)
        return name == IDC_ARROW ? kArrowCursor : nullptr;
    const bool programCursor =
        instance == GetModuleHandleA(nullptr) && name == MAKEINTRESOURCEA(kProgramCursorResource);
    return programCursor ? kProgramCursor : nullptr;
}

HGDIOBJ GetStockObject(int object)
{
    return object == BLACK_BRUSH ? kBlackBrush : nullptr;
}

// Windows -----------------------------------------------------------------------------------------------------

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU /*menu*/, HINSTANCE /*instance*/, LPVOID /*parameter*/)
{
    const auto windowClass = className ? g_classes.find(className) : g_classes.end();
    if (windowClass == g_classes.end() || !Win32Host::StartVideo())
        return nullptr;
    const std::string utf8Title = Win32Host::AnsiToUtf8(title ? title : "");
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!(style & WS_CAPTION))
        flags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* sdl = SDL_CreateWindow(utf8Title.c_str(), x, y, std::max(width, 1), std::max(height, 1), flags);
    if (!sdl)
        return nullptr;
    WindowRecord& record = Win32Host::AddWindow();
    record.sdl = sdl;
    record.className = windowClass->second.name;
    record.procedure = windowClass->second.windowClass.lpfnWndProc;
    record.style = style;
    record.exStyle = exStyle;
    record.parent = parent;
    record.left = x;
    record.top = y;
    record.width = width;
    record.height = height;
    Present(record);
    return record.handle;
}

BOOL DestroyWindow(HWND window)
{
    WindowRecord* record = Lookup(window);
    if (!record)
        return FALSE;
    std::vector<HWND> children;
    for (const auto& [handle, other] : Win32Host::Windows()) {
        if (other.parent == window)
            children.push_back(handle);
    }
    for (HWND child : children)
        DestroyWindow(child);
    Win32Host::DestroySdlWindow(*record);
    Win32Host::Windows().erase(window);
    if (Win32Host::FocusWindow() == window)
        Win32Host::SetFocusWindow(nullptr);
    return TRUE;
}

BOOL IsWindow(HWND window)
{
    return window == Win32Host::DesktopHandle() || Lookup(window) ? TRUE : FALSE;
}

HWND GetParent(HWND window)
{
    const WindowRecord* record = Lookup(window);
    return record ? record->parent : nullptr;
}

HWND GetDesktopWindow()
{
    return Win32Host::DesktopHandle();
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    if (window == Win32Host::DesktopHandle()) {
        const SDL_Point size = Win32Host::DesktopSize();
        *rect = {0, 0, size.x, size.y};
        return size.x > 0 ? TRUE : FALSE;
    }
    const WindowRecord* record = Lookup(window);
    if (!record)
        return FALSE;
    const POINT origin = Win32Host::ClientOrigin(*record);
    *rect = {origin.x, origin.y, origin.x + record->width, origin.y + record->height};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    const WindowRecord* record = Lookup(window);
    if (!record)
        return FALSE;
    *rect = {0, 0, record->width, record->height};
    return TRUE;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD /*style*/, BOOL /*menu*/, DWORD /*exStyle*/)
{
    return rect ? TRUE : FALSE;
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    WindowRecord* record = Lookup(window);
    if (!record || (index != GWL_STYLE && index != GWL_EXSTYLE))
        return 0;
    DWORD& field = index == GWL_STYLE ? record->style : record->exStyle;
    const LONG previous = static_cast<LONG>(field);
    field = static_cast<DWORD>(value);
    return previous;
}

const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    WindowRecord* record = Lookup(window);
    if (!record)
        return FALSE;
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
        record->topmost = insertAfter == HWND_TOPMOST;
    if (!(flags & SWP_NOMOVE)) {
        record->left = x;
        record->top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        record->width = width;
        record->height = height;
    }
    Present(*record);
    if (flags & SWP_SHOWWINDOW)
        SDL_ShowWindow(record->sdl);
    return TRUE;
}

BOOL ShowWindow(HWND window, int command)
{
    WindowRecord* record = Lookup(window);
    if (!record)
        return FALSE;
    const BOOL wasVisible = (SDL_GetWindowFlags(record->sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    if (command == SW_SHOW)
        SDL_ShowWindow(record->sdl);
    return wasVisible;
}

HWND GetFocus()
{
    return Win32Host::FocusWindow();
}

HWND SetFocus(HWND window)
{
    const HWND previous = Win32Host::FocusWindow();
    if (!window || Lookup(window))
        Win32Host::SetFocusWindow(window); // null: keys go nowhere
    return previous;
}

BOOL SetForegroundWindow(HWND window)
{
    WindowRecord* record = Lookup(window);
    if (!record)
        return FALSE;
    SDL_RaiseWindow(record->sdl);
    Win32Host::SetFocusWindow(window);
    return TRUE;
}

// A window's device context is its handle in another type: the drawing families find the window through it.
HDC GetDC(HWND window)
{
    return Lookup(window) ? reinterpret_cast<HDC>(window) : nullptr;
}

int ReleaseDC(HWND window, HDC context)
{
    return Lookup(window) && context == GetDC(window) ? 1 : 0;
}

LONG ChangeDisplaySettingsA(DEVMODEA* /*mode*/, DWORD /*flags*/)
{
    return 0;
}

bool Win32Host::MakeGLContextCurrent(HWND window)
{
    WindowRecord* record = window ? Lookup(window) : Win32Host::MainWindow();
    if (!record)
        return false;
    if (!record->glContext) {
        if (!(SDL_GetWindowFlags(record->sdl) & SDL_WINDOW_OPENGL) && !RemakeWithGL(*record))
            return false;
        record->glContext = SDL_GL_CreateContext(record->sdl);
        if (!record->glContext) {
            SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "No GL context: %s", SDL_GetError());
            return false;
        }
    }
    return SDL_GL_MakeCurrent(record->sdl, record->glContext) == 0;
}

BOOL EnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA* settings)
{
    const SDL_Point desktop = Win32Host::DesktopSize();
    if (device || mode != ENUM_CURRENT_SETTINGS || desktop.x <= 0)
        return FALSE;
    settings->dmPelsWidth = static_cast<DWORD>(desktop.x);
    settings->dmPelsHeight = static_cast<DWORD>(desktop.y);
    settings->dmBitsPerPel = Win32Host::DesktopBitsPerPixel();
    settings->dmDisplayFrequency = 60;
    return TRUE;
}
