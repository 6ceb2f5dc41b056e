#include "Window.h"

#include "Config.h"
#include "MessageManager.h"
#include "StringUtils.h"

#include <algorithm>

namespace KeystrelEngine {
namespace {

constexpr const char* kClassName = "Keystrel Engine window class";
constexpr DWORD kWindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr WPARAM kLastControlCharacter = 31;

// The one window of the program, for the window procedure.
Window* g_window = nullptr;

bool IsKeyDown(int virtualKey)
{
    return (GetAsyncKeyState(virtualKey) & 0xF000) != 0;
}

} // namespace

Window::Window(MessageManager* log, Config* config, const std::string& title, HWND parent, int iconResource,
               bool minimiseWhenInactive, std::int32_t width, std::int32_t height, bool fullScreen, bool centre,
               std::int32_t left, std::int32_t top)
    : m_width(width), m_height(height), m_fullScreen(fullScreen), m_minimiseWhenInactive(minimiseWhenInactive),
      m_log(log), m_config(config), m_centre(centre), m_left(left), m_top(top), m_parent(parent)
{
    m_log->Message(" ");
    m_log->Message("Window creation:");
    m_instance = GetModuleHandleA(nullptr);
    m_cursor = LoadCursorA(nullptr, IDC_ARROW);
    Register(iconResource);
    // A failed creation leaves no window behind that could still call the procedure of this object.
    try {
        Create(title);
    } catch (...) {
        if (m_handle)
            DestroyWindow(m_handle);
        UnregisterClassA(kClassName, m_instance);
        g_window = nullptr;
        throw;
    }
}

Window::~Window()
{
    m_log->Message("\nWindow destroying:");
    m_log->Message("...Releasing device context...");
    ReleaseDC(m_handle, m_deviceContext);
    m_log->Message("...Releasing window...");
    DestroyWindow(m_handle);
    m_log->Message("...Unregistering class...");
    UnregisterClassA(kClassName, m_instance);
    g_window = nullptr;
}

void Window::Register(int iconResource)
{
    WNDCLASSA windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &Window::WindowProcedure;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = iconResource != 0 ? LoadIconA(m_instance, MAKEINTRESOURCEA(static_cast<WORD>(iconResource)))
                                          : LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = m_cursor;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    m_log->Message("...Registering the window class...");
    if (!RegisterClassA(&windowClass))
        m_log->FatalError("Failed to register the window class");
}

void Window::Create(const std::string& title)
{
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    if (IsChild()) {
        RECT host;
        GetWindowRect(m_parent, &host);
        m_fullScreen = false;
        m_width = host.right - host.left;
        m_height = host.bottom - host.top;
    }
    g_window = this;
    m_handle = MakeWindow(title, screen);
    if (!m_handle && UseDefaultMode())
        m_handle = MakeWindow(title, screen);
    if (!m_handle)
        m_log->FatalError("Failed to create window");
    // The system has no child windows: the platform shows the window on its own, beside its host.
    if (IsChild())
        m_log->Warning("Child windows do not exist on Linux: the window is shown top-level");
    SetWindowPos(m_handle, m_fullScreen ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    m_log->Message("...Creating a device context...");
    m_deviceContext = GetDC(m_handle);
    if (!m_deviceContext)
        m_log->FatalError("Failed to create a device context");

    ShowWindow(m_handle, SW_SHOW);
    SetForegroundWindow(m_handle);
    if (!IsChild())
        SetFocus(m_handle);
    if (m_fullScreen && !IsChild())
        ClampColourSettings();
    for (HWND host = m_parent; host; host = GetParent(host))
        m_hostWindows.push_back(host);
}

HWND Window::MakeWindow(const std::string& title, const RECT& screen)
{
    DWORD style, exStyle;
    RECT rect;
    Place(screen.right - screen.left, screen.bottom - screen.top, style, exStyle, rect);
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return CreateWindowExA(exStyle, kClassName, title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, m_parent, nullptr, m_instance, nullptr);
}

// A "v_mode" whose size no window can have (one beyond what the system allows) gives way to its default with
// one warning, so that the game still starts; the render system then chooses the default mode too. False when
// the mode is the default already or the size is the host window's.
bool Window::UseDefaultMode()
{
    const std::string fallback = m_config->GetDefaultValue("v_mode");
    if (IsChild() || ToLower(m_config->v_mode) == ToLower(fallback))
        return false;
    m_log->Warning("Window: the video mode \"" + m_config->v_mode + "\" of the setting \"v_mode\" cannot be made, " +
                   "the default \"" + fallback + "\" is used");
    m_config->ResetToDefault("v_mode");
    std::uint32_t width = 0, height = 0;
    Config::ParseVideoMode(m_config->v_mode, &width, &height, nullptr);
    m_width = static_cast<std::int32_t>(width);
    m_height = static_cast<std::int32_t>(height);
    return true;
}

// The styles and the rectangle of the client area for the current mode. A centred window larger than the
// screen gets a negative position, so that its middle still lies in the middle of the screen.
void Window::Place(std::int32_t screenWidth, std::int32_t screenHeight, DWORD& style, DWORD& exStyle, RECT& rect) const
{
    std::int32_t left = 0, top = 0;
    if (IsChild()) {
        style = WS_CHILD;
        exStyle = WS_EX_TOOLWINDOW;
    } else if (m_fullScreen) {
        style = WS_POPUP;
        exStyle = WS_EX_APPWINDOW;
    } else {
        style = kWindowedStyle;
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        left = m_centre ? (screenWidth - m_width) / 2 : m_left;
        top = m_centre ? (screenHeight - m_height) / 2 : m_top;
    }
    rect = {left, top, left + m_width, top + m_height};
}

void Window::SetWindowedMode(std::int32_t width, std::int32_t height, bool fullScreen, std::int32_t screenWidth,
                             std::int32_t screenHeight)
{
    if (IsChild())
        return;
    m_width = width;
    m_height = height;
    m_fullScreen = fullScreen;
    DWORD style, exStyle;
    RECT rect;
    Place(screenWidth, screenHeight, style, exStyle, rect);
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    SetWindowLongA(m_handle, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowLongA(m_handle, GWL_STYLE, static_cast<LONG>(style));
    SetWindowPos(m_handle, m_fullScreen ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    SetFocus(m_handle);
    if (m_fullScreen)
        ClampColourSettings();
    else
        ChangeDisplaySettingsA(nullptr, 0);
}

void Window::Update()
{
    if (IsChild()) {
        if (!IsWindow(m_parent))
            m_config->Execute("exit");
        return;
    }
    // Only a full screen hides the desktop: a window stays where it is while the player works elsewhere.
    if (m_minimiseWhenInactive && m_fullScreen && !m_minimised && !HasFocus())
        PostMessageA(m_handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    // Alt+Enter switches once per press of Enter: holding the keys over several frames must not switch back
    // and forth.
    const bool altEnter = (IsKeyDown(VK_MENU) || IsKeyDown(VK_LMENU) || IsKeyDown(VK_RMENU)) && IsKeyDown(VK_RETURN);
    if (altEnter && !m_altEnterHeld && !m_minimised && HasFocus())
        SwitchScreenMode();
    m_altEnterHeld = altEnter;
}

// A host window's child counts as focused while the focus is on it or on one of the host's windows.
bool Window::HasFocus() const
{
    const HWND focus = GetFocus();
    return focus &&
           (focus == m_handle || std::find(m_hostWindows.begin(), m_hostWindows.end(), focus) != m_hostWindows.end());
}

// Flips the full-screen setting, keeps it in the configuration file and asks the render system to follow.
void Window::SwitchScreenMode()
{
    m_config->v_fullscreen = !m_config->v_fullscreen;
    m_config->Save();
    m_config->SetCommandState("v_window_change_mode", Config::kCommandRaised);
}

void Window::ClampColourSettings()
{
    for (float* setting : {&m_config->v_brightness, &m_config->v_contrast, &m_config->v_gamma})
        *setting = std::clamp(*setting, Config::kColourRange.lowest, Config::kColourRange.highest);
}

void Window::AddKeyEvent(std::uint16_t code, bool character)
{
    if (m_keyEventCount < kMaxKeyEvents)
        m_keyEvents[m_keyEventCount++] = {code, character};
}

LRESULT Window::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return g_window ? g_window->HandleMessage(window, message, wParam, lParam)
                    : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT Window::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
    case WM_QUIT:
        m_config->Execute("exit");
        return 0;
    case WM_SETCURSOR:
        SetCursor(m_cursor);
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        AddKeyEvent(static_cast<std::uint16_t>(wParam), false);
        break;
    case WM_CHAR:
        if (char16_t unit; wParam > kLastControlCharacter && ToWideChar(static_cast<char>(wParam), unit))
            AddKeyEvent(unit, true);
        break;
    case WM_SYSKEYUP:
        return 0;
    case WM_SYSCOMMAND:
        if (HandleSystemCommand(wParam & 0xFFF0))
            return 0;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// True when the command is handled here; false leaves it to the default processing.
bool Window::HandleSystemCommand(WPARAM command)
{
    switch (command) {
    case SC_CLOSE:
        m_config->Execute("exit");
        return true;
    case SC_MINIMIZE:
        if (IsChild())
            return true;
        m_minimised = true;
        return false;
    case SC_MAXIMIZE:
        // The maximise button switches to full screen instead of maximising the window.
        if (!IsChild() && !m_config->v_fullscreen)
            SwitchScreenMode();
        return true;
    case SC_RESTORE:
        if (m_handle) {
            m_minimised = false;
            if (m_config->v_fullscreen && !IsChild())
                ClampColourSettings();
        }
        return false;
    case SC_TASKLIST:
    case SC_SCREENSAVE: // no screen saver and no monitor power-off while the game runs
    case SC_HOTKEY:
    case SC_MONITORPOWER:
        return true;
    default:
        return false;
    }
}

} // namespace KeystrelEngine
