// The message queue and the event pump. SDL's events are taken apart here: a key event sets the asynchronous key
// state, reaches the raw-input receivers (DirectInput) and becomes a key message for the window with the focus;
// a mouse event moves the cursor and reaches the receivers; a window event becomes a message for its window.
// Under X11 SDL also hands over each X event, so that a key press whose key has been bound otherwise since it was
// pressed types what it was bound to then.
#include "platform/testing.h"
#include "platform/win32/Input.h"
#include "platform/win32/KeyCodes.h"
#include "platform/win32/KeyPressWatch.h"
#include "platform/win32/Text.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Window.h"
#include "platform/win32/WindowHost.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

using Win32Host::Placement;
using Win32Host::WindowRecord;

namespace {

constexpr std::size_t kQueueLimit = 10000; // a queue nobody reads stops growing here, as on Windows
constexpr WPARAM kF10 = 0x79;
constexpr WPARAM kF4 = 0x73;
constexpr LPARAM kAltContext = LPARAM(1) << 29;
constexpr LPARAM kPreviouslyDown = LPARAM(1) << 30;
constexpr LPARAM kReleasing = LPARAM(1) << 31;
constexpr LPARAM kClientArea = 1;

std::deque<MSG> g_queue;
std::vector<Win32Host::RawInputListener*> g_listeners;

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_queue.size() >= kQueueLimit)
        return false;
    g_queue.push_back({window, message, wParam, lParam});
    return true;
}

template <typename Call> void NotifyListeners(Call call)
{
    for (Win32Host::RawInputListener* listener : g_listeners)
        call(*listener);
}

void TranslateKey(const SDL_KeyboardEvent& event)
{
    const Win32Host::KeyCode code = Win32Host::MapKey(event.keysym);
    const bool down = event.type == SDL_KEYDOWN;
    const bool altHeld = Win32Host::IsKeyDown(VK_MENU);
    Win32Host::SetKeyDown(code.virtualKey, down);
    if (!event.repeat && code.scanCode)
        NotifyListeners([&](auto& listener) { listener.OnKey(code.scanCode, down); });

    const HWND focus = Win32Host::FocusWindow();
    const WPARAM key = code.messageVirtualKey;
    if (!focus || !key)
        return;
    // Keys typed while Alt is held, Alt itself and F10 are system keys.
    const bool system = altHeld || key == VK_MENU || key == kF10;
    const LPARAM lParam = 1 | (altHeld || (key == VK_MENU && down) ? kAltContext : 0);
    if (down)
        Post(focus, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lParam | (event.repeat ? kPreviouslyDown : 0));
    else if (system)
        Post(focus, WM_SYSKEYUP, key, lParam | kPreviouslyDown | kReleasing);
}

// The window is an ANSI window: each character arrives as its byte in the active code page, and a character
// the code page cannot hold is dropped.
void PostCharacter(HWND focus, char32_t codePoint)
{
    if (codePoint > 0xFFFF)
        return;
    const WCHAR unit = static_cast<WCHAR>(codePoint);
    char byte = 0;
    BOOL unmapped = FALSE;
    WideCharToMultiByte(CP_ACP, 0, &unit, 1, &byte, 1, nullptr, &unmapped);
    if (!unmapped)
        Post(focus, WM_CHAR, static_cast<unsigned char>(byte), 1);
}

void TranslateText(const char* text)
{
    const HWND focus = Win32Host::FocusWindow();
    if (!focus)
        return;
    std::size_t at = 0;
    char32_t codePoint;
    while (Win32Host::NextCodePoint(text, at, codePoint))
        PostCharacter(focus, codePoint);
}

// A key press whose key the X server has bound otherwise since the press (see KeyPressWatch.h) types what it was
// bound to then, in place of the text SDL read for it: the text event that follows the press's own X event and
// its key event. It is typed there, or when the next X event or the end of the pump shows SDL read no text for it.
struct ReboundPress
{
    bool pending = false;
    char32_t character = 0; // 0: the press types nothing
};

ReboundPress g_reboundPress;

void TypeReboundPress()
{
    const ReboundPress press = std::exchange(g_reboundPress, ReboundPress{});
    const HWND focus = Win32Host::FocusWindow();
    if (press.pending && press.character && focus)
        PostCharacter(focus, press.character);
}

void TranslateX11Event(const SDL_SysWMmsg& message)
{
    TypeReboundPress();
    if (Win32Host::KeyPressWatch* watch = Win32Host::KeyPresses()) {
        if (const std::optional<char32_t> typed = watch->TypedAtPress(message))
            g_reboundPress = {true, *typed};
    }
}

// The window manager has minimised or restored the window already: the window learns of it by the command.
void PostPlacement(WindowRecord& record, Placement placement, WPARAM command)
{
    if (record.placement == placement)
        return;
    record.placement = placement;
    Post(record.handle, WM_SYSCOMMAND, command, 0);
}

void TranslateWindowEvent(const SDL_WindowEvent& event)
{
    WindowRecord* record = Win32Host::LookupSdl(event.windowID);
    if (!record)
        return;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        Post(record->handle, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        PostPlacement(*record, Placement::Minimised, SC_MINIMIZE);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        // Windows maximises only in the default processing of the command, so the window manager's maximise
        // is undone until then.
        if (record->placement != Placement::Maximised) {
            SDL_RestoreWindow(record->sdl);
            Post(record->handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
        PostPlacement(*record, Placement::Normal, SC_RESTORE);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Win32Host::SetFocusWindow(record->handle);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (Win32Host::FocusWindow() == record->handle)
            Win32Host::SetFocusWindow(nullptr);
        break;
    case SDL_WINDOWEVENT_ENTER:
        Post(record->handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(record->handle), kClientArea);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        Win32Host::MoveCursorOutside(*record);
        break;
    default:
        break;
    }
}

WindowRecord* EventWindow(Uint32 sdlWindowId)
{
    WindowRecord* record = Win32Host::LookupSdl(sdlWindowId);
    return record ? record : Win32Host::MainWindow();
}

void TranslateMotion(const SDL_MouseMotionEvent& event)
{
    const WindowRecord* record = EventWindow(event.windowID);
    if (record && Win32Host::TakeWarp(*record, event.x, event.y))
        return;
    if (record)
        Win32Host::SetCursorPosition(Win32Host::WindowToScreen(*record, event.x, event.y));
    NotifyListeners([&](auto& listener) { listener.OnMouseMove(event.xrel, event.yrel); });
}

void TranslateButton(const SDL_MouseButtonEvent& event)
{
    // SDL counts left, middle, right, X1, X2; Windows left, right, middle, X1, X2.
    static constexpr int kButtonIndex[] = {-1, 0, 2, 1, 3, 4};
    static constexpr int kButtonKey[] = {0x01, 0x02, 0x04, 0x05, 0x06};
    if (event.button >= std::size(kButtonIndex) || kButtonIndex[event.button] < 0)
        return;
    const int button = kButtonIndex[event.button];
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    Win32Host::SetKeyDown(kButtonKey[button], down);
    NotifyListeners([&](auto& listener) { listener.OnButton(button, down); });
}

void TranslateWheel(const SDL_MouseWheelEvent& event)
{
    constexpr int kNotch = 120;
    const int notches = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.y : event.y;
    if (notches != 0)
        NotifyListeners([&](auto& listener) { listener.OnWheel(notches * kNotch); });
}

void Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT: // the last window was closed, or the process was asked to end
        for (const auto& [handle, record] : Win32Host::Windows()) {
            if (!(record.style & WS_CHILD))
                Post(handle, WM_CLOSE, 0, 0);
        }
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        break;
    case SDL_TEXTINPUT:
        if (g_reboundPress.pending)
            TypeReboundPress();
        else
            TranslateText(event.text.text);
        break;
    case SDL_SYSWMEVENT:
        TranslateX11Event(*event.syswm.msg);
        break;
    case SDL_MOUSEMOTION:
        TranslateMotion(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button);
        break;
    case SDL_MOUSEWHEEL:
        TranslateWheel(event.wheel);
        break;
    default:
        break;
    }
}

bool Matches(const MSG& message, HWND window, UINT first, UINT last)
{
    const bool anyMessage = first == 0 && last == 0;
    return (!window || message.hwnd == window) && (anyMessage || (message.message >= first && message.message <= last));
}

LRESULT SystemCommand(HWND window, WPARAM command)
{
    WindowRecord* record = Win32Host::Lookup(window);
    if (!record)
        return 0;
    switch (command) {
    case SC_MINIMIZE:
        record->placement = Placement::Minimised;
        SDL_MinimizeWindow(record->sdl);
        if (Win32Host::FocusWindow() == window)
            Win32Host::SetFocusWindow(nullptr);
        break;
    case SC_MAXIMIZE:
        record->placement = Placement::Maximised;
        SDL_MaximizeWindow(record->sdl);
        break;
    case SC_RESTORE:
        record->placement = Placement::Normal;
        SDL_RestoreWindow(record->sdl);
        Win32Host::SetFocusWindow(window);
        break;
    case SC_CLOSE:
        Win32Host::Send(window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
    return 0;
}

void PushEvent(SDL_Event& event)
{
    if (Win32Host::StartEvents())
        SDL_PushEvent(&event);
}

Uint32 SdlWindowId(HWND window)
{
    const WindowRecord* record = Win32Host::Lookup(window);
    return record ? SDL_GetWindowID(record->sdl) : 0;
}

} // namespace

void Win32Host::PumpEvents()
{
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Translate(event);
    TypeReboundPress();
}

void Win32Host::AddRawInputListener(RawInputListener* listener)
{
    g_listeners.push_back(listener);
}

void Win32Host::RemoveRawInputListener(RawInputListener* listener)
{
    g_listeners.erase(std::remove(g_listeners.begin(), g_listeners.end(), listener), g_listeners.end());
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    Win32Host::PumpEvents();
    const auto it = std::find_if(g_queue.begin(), g_queue.end(),
                                 [&](const MSG& queued) { return Matches(queued, window, first, last); });
    if (it == g_queue.end())
        return FALSE;
    *message = *it;
    if (remove & PM_REMOVE)
        g_queue.erase(it);
    return TRUE;
}

BOOL TranslateMessage(const MSG* /*message*/)
{
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* message)
{
    return message ? Win32Host::Send(message->hwnd, message->message, message->wParam, message->lParam) : 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Win32Host::Lookup(window) && Post(window, message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return SystemCommand(window, wParam & 0xFFF0);
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == kF4 && (lParam & kAltContext))
            Win32Host::Send(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    default:
        return 0;
    }
}

// Test hooks ----------------------------------------------------------------------------------------------------

void PlatformTesting::InjectKey(SDL_Scancode scancode, bool down, bool repeat)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z
                               ? SDLK_a + (scancode - SDL_SCANCODE_A)
                               : SDL_SCANCODE_TO_KEYCODE(scancode);
    PushEvent(event);
}

void PlatformTesting::InjectText(const std::string& utf8)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8.c_str(), sizeof(event.text.text) - 1);
    PushEvent(event);
}

void PlatformTesting::InjectMouseMotion(HWND window, int x, int y, int dx, int dy)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SdlWindowId(window);
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    PushEvent(event);
}

void PlatformTesting::InjectMouseButton(int sdlButton, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = static_cast<Uint8>(sdlButton);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    PushEvent(event);
}

void PlatformTesting::InjectMouseWheel(int notches)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    PushEvent(event);
}

void PlatformTesting::InjectWindowEvent(HWND window, WindowEvent kind)
{
    static constexpr SDL_WindowEventID kEvents[] = {
        SDL_WINDOWEVENT_CLOSE,        SDL_WINDOWEVENT_MINIMIZED,  SDL_WINDOWEVENT_MAXIMIZED, SDL_WINDOWEVENT_RESTORED,
        SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_ENTER,     SDL_WINDOWEVENT_LEAVE};
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SdlWindowId(window);
    event.window.event = static_cast<Uint8>(kEvents[static_cast<int>(kind)]);
    PushEvent(event);
}

void PlatformTesting::ResetInput()
{
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    g_queue.clear();
    g_reboundPress = {};
    Win32Host::ResetInput();
}
