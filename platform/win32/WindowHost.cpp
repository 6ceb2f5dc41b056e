#include "platform/win32/WindowHost.h"

#include "platform/testing.h"
#include "platform/win32/KeyPressWatch.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace Win32Host {
namespace {

constexpr std::uintptr_t kDesktopHandle = 0x10;
constexpr std::uintptr_t kFirstWindowHandle = 0x1000;
constexpr SDL_Point kOffscreenDesktop{1920, 1080};

struct Host
{
    bool videoStarted = false;
    bool eventsStarted = false;
    std::map<HWND, WindowRecord> windows;
    std::uintptr_t nextHandle = kFirstWindowHandle;
    HWND focus = nullptr;
    std::optional<SDL_Point> desktopOverride;
    DWORD desktopBits = 32;
    std::unique_ptr<KeyPressWatch> keyPresses;

    ~Host()
    {
        keyPresses.reset();
        for (auto& [handle, record] : windows)
            DestroySdlWindow(record);
        if (videoStarted || eventsStarted)
            SDL_Quit();
    }
};

Host& TheHost()
{
    static Host host;
    return host;
}

// Under X11 the stand-in reads each key press's binding as it happens, and SDL hands it every X event, so that the
// event pump can tell a press whose key has been bound otherwise since (see KeyPressWatch.h).
void WatchKeyPresses(Host& host)
{
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0)
        return;
    host.keyPresses = std::make_unique<KeyPressWatch>();
    if (host.keyPresses->Running())
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    else
        host.keyPresses.reset();
}

} // namespace

bool StartVideo()
{
    Host& host = TheHost();
    if (!host.videoStarted) {
        host.videoStarted = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (host.videoStarted)
            WatchKeyPresses(host);
        else
            SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "No video driver could start: %s", SDL_GetError());
    }
    return host.videoStarted;
}

bool StartEvents()
{
    Host& host = TheHost();
    if (!host.eventsStarted)
        host.eventsStarted = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    return host.eventsStarted;
}

KeyPressWatch* KeyPresses()
{
    return TheHost().keyPresses.get();
}

std::map<HWND, WindowRecord>& Windows()
{
    return TheHost().windows;
}

WindowRecord& AddWindow()
{
    Host& host = TheHost();
    const HWND handle = reinterpret_cast<HWND>(host.nextHandle++);
    WindowRecord& record = host.windows[handle];
    record.handle = handle;
    return record;
}

WindowRecord* Lookup(HWND window)
{
    auto& windows = TheHost().windows;
    const auto it = windows.find(window);
    return it == windows.end() ? nullptr : &it->second;
}

WindowRecord* LookupSdl(Uint32 sdlWindowId)
{
    for (auto& [handle, record] : TheHost().windows) {
        if (SDL_GetWindowID(record.sdl) == sdlWindowId)
            return &record;
    }
    return nullptr;
}

WindowRecord* MainWindow()
{
    Host& host = TheHost();
    if (WindowRecord* focused = Lookup(host.focus))
        return focused;
    return host.windows.empty() ? nullptr : &host.windows.begin()->second;
}

bool IsFullScreen(const WindowRecord& record)
{
    return (record.style & WS_POPUP) && !(record.style & WS_CHILD);
}

SDL_Rect Letterbox(const WindowRecord& record)
{
    int width = 0, height = 0;
    SDL_GetWindowSize(record.sdl, &width, &height);
    if (record.width <= 0 || record.height <= 0)
        return {0, 0, width, height};
    const double scale = std::min(double(width) / record.width, double(height) / record.height);
    const int fittedWidth = static_cast<int>(std::lround(record.width * scale));
    const int fittedHeight = static_cast<int>(std::lround(record.height * scale));
    return {(width - fittedWidth) / 2, (height - fittedHeight) / 2, fittedWidth, fittedHeight};
}

POINT ClientOrigin(const WindowRecord& record)
{
    if (IsFullScreen(record))
        return {0, 0};
    int x = 0, y = 0;
    SDL_GetWindowPosition(record.sdl, &x, &y);
    return {x, y};
}

POINT WindowToScreen(const WindowRecord& record, int x, int y)
{
    if (!IsFullScreen(record)) {
        const POINT origin = ClientOrigin(record);
        return {origin.x + x, origin.y + y};
    }
    const SDL_Rect box = Letterbox(record);
    auto map = [](int value, int offset, int fitted, int size) {
        if (fitted <= 0)
            return 0;
        const int mapped = static_cast<int>(std::floor(double(value - offset) * size / fitted));
        return std::clamp(mapped, 0, std::max(size - 1, 0));
    };
    return {map(x, box.x, box.w, record.width), map(y, box.y, box.h, record.height)};
}

POINT ScreenToWindow(const WindowRecord& record, POINT screen)
{
    if (!IsFullScreen(record)) {
        const POINT origin = ClientOrigin(record);
        return {screen.x - origin.x, screen.y - origin.y};
    }
    const SDL_Rect box = Letterbox(record);
    auto map = [](int value, int offset, int fitted, int size) {
        return size <= 0 ? offset : offset + static_cast<int>(double(value) * fitted / size);
    };
    return {map(screen.x, box.x, box.w, record.width), map(screen.y, box.y, box.h, record.height)};
}

HWND DesktopHandle()
{
    return reinterpret_cast<HWND>(kDesktopHandle);
}

DWORD DesktopBitsPerPixel()
{
    return TheHost().desktopBits;
}

void DestroySdlWindow(WindowRecord& record)
{
    if (record.glContext)
        SDL_GL_DeleteContext(record.glContext);
    SDL_DestroyWindow(record.sdl);
    record.glContext = nullptr;
    record.sdl = nullptr;
}

SDL_Point DesktopSize()
{
    Host& host = TheHost();
    if (host.desktopOverride)
        return *host.desktopOverride;
    if (!StartVideo())
        return {0, 0};
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "offscreen") == 0)
        return kOffscreenDesktop;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return {0, 0};
    return {mode.w, mode.h};
}

HWND FocusWindow()
{
    return TheHost().focus;
}

void SetFocusWindow(HWND window)
{
    TheHost().focus = window;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WindowRecord* record = Lookup(window);
    if (!record || !record->procedure)
        return 0;
    const WNDPROC procedure = record->procedure; // the procedure may destroy the window
    return procedure(window, message, wParam, lParam);
}

} // namespace Win32Host

std::size_t PlatformTesting::KeyPressesReadFromTheServer()
{
    const Win32Host::KeyPressWatch* watch = Win32Host::KeyPresses();
    return watch ? watch->PressesRead() : 0;
}

void PlatformTesting::SetDesktopBitsPerPixel(DWORD bitsPerPixel)
{
    Win32Host::TheHost().desktopBits = bitsPerPixel ? bitsPerPixel : 32;
}

void PlatformTesting::SetDesktopSize(int width, int height)
{
    auto& desktop = Win32Host::TheHost().desktopOverride;
    if (width > 0 && height > 0)
        desktop = SDL_Point{width, height};
    else
        desktop.reset();
}

PlatformTesting::WindowState PlatformTesting::GetWindowState(HWND window)
{
    WindowState state;
    const Win32Host::WindowRecord* record = Win32Host::Lookup(window);
    if (!record)
        return state;
    const Uint32 flags = SDL_GetWindowFlags(record->sdl);
    state.exists = true;
    state.visible = (flags & SDL_WINDOW_SHOWN) != 0;
    state.fullScreen = (flags & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    state.bordered = (flags & SDL_WINDOW_BORDERLESS) == 0;
    state.topmost = record->topmost;
    state.minimised = record->placement == Win32Host::Placement::Minimised;
    state.maximised = record->placement == Win32Host::Placement::Maximised;
    SDL_GetWindowSize(record->sdl, &state.width, &state.height);
    state.title = SDL_GetWindowTitle(record->sdl);
    return state;
}
