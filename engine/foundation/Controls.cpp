#include "Controls.h"

#include "Config.h"
#include "StringUtils.h"
#include "TimerManager.h"
#include "Window.h"
#include "platform/win32/Win32.h"

#include <cmath>

namespace KeystrelEngine {

// clang-format off
const std::array<const char*, kKeyNameCount> KeyNames = {
    "MOUSE1", "MOUSE2", "MOUSE3", "MOUSE4", "MOUSE5", "MOUSE6", "MOUSE7", "MOUSE8",
    "CAPS_LOCK", "NUM_LOCK", "SCROLL_LOCK",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "BACKSPACE", "TAB", "SPACE", "ENTER", "ESCAPE", "RSHIFT", "LSHIFT", "RCTRL", "LCTRL", "RALT", "LALT",
    "PAGEUP", "PAGEDOWN", "END", "HOME", "PRINTSCRN", "INSERT", "DELETE", "PAUSE",
    "LEFTARROW", "UPARROW", "RIGHTARROW", "DOWNARROW",
    "NUMPAD_0", "NUMPAD_1", "NUMPAD_2", "NUMPAD_3", "NUMPAD_4", "NUMPAD_5", "NUMPAD_6", "NUMPAD_7", "NUMPAD_8",
    "NUMPAD_9", "NUMPAD_MULTIPLY", "NUMPAD_PLUS", "NUMPAD_MINUS", "NUMPAD_DELETE", "NUMPAD_DIVIDE",
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "~", ";", "=", ",", "-", ".", "/", "[", "\\", "", "'"};
// clang-format on

namespace {

constexpr float kNoScale = 1.0f;
constexpr float kTolerance = 0.0001f;
constexpr float kLockPatience = 2.0f; // seconds a held key keeps the lock before the system is asked
constexpr int kShownCount = 10;

} // namespace

Controls::Controls(MessageManager* log, TimerManager* timerManager, Config* config, Window* window)
    : m_log(log), m_timerManager(timerManager), m_config(config), m_window(window),
      m_invertMouse(&config->c_invert_mouse)
{
    POINT cursor;
    GetCursorPos(&cursor);
    m_cursorX = cursor.x;
    m_cursorY = cursor.y;
    for (const char* name : KeyNames)
        m_keys.emplace(name, KeyState{});
    m_mouseButtonNames.reserve(kMouseButtonCount);
    for (std::size_t i = 0; i < kMouseButtonCount; ++i)
        m_mouseButtonNames.emplace_back(KeyNames[i]);
}

Controls::~Controls()
{
    m_cursorVisible = true;
    ApplyCursorVisibility();
}

void Controls::Update()
{
    MoveCursor();
    if (!*m_invertMouse) {
        m_cursorDeltaY = -m_cursorDeltaY;
        m_mouseDeltaY = -m_mouseDeltaY;
    }
    UpdateWheel();
    UpdateInputLock();
    ApplyCursorVisibility();
}

// Measures the cursor's movement since the last frame, then centres it or scales its movement.
void Controls::MoveCursor()
{
    POINT cursor;
    GetCursorPos(&cursor);
    m_cursorDeltaX = static_cast<float>(cursor.x - m_cursorX);
    m_cursorDeltaY = static_cast<float>(cursor.y - m_cursorY);
    if (m_centreCursor) {
        RECT rect;
        GetWindowRect(m_window->m_handle, &rect);
        POINT centre{static_cast<LONG>((rect.right - rect.left) * 0.5f),
                     static_cast<LONG>((rect.bottom - rect.top) * 0.5f)};
        ClientToScreen(m_window->m_handle, &centre);
        SetCursorPos(centre.x, centre.y);
    } else if (std::fabs(m_cursorSpeedX - kNoScale) > kTolerance || std::fabs(m_cursorSpeedY - kNoScale) > kTolerance) {
        SetCursorPos(m_cursorX + static_cast<int>(m_cursorSpeedX * m_cursorDeltaX),
                     m_cursorY + static_cast<int>(m_cursorSpeedY * m_cursorDeltaY));
    }
    GetCursorPos(&cursor);
    m_cursorX = cursor.x;
    m_cursorY = cursor.y;
}

// Wheel movement shows for one frame only.
void Controls::UpdateWheel()
{
    if (m_wheelReported) {
        m_wheel = 0;
        m_wheelReported = false;
    } else {
        m_wheelReported = m_wheel != 0;
    }
}

// The lock holds while a key is held or typed. A key held longer than the patience keeps it only while the
// system still reports a key down, so a key whose release went unreported cannot hold it for ever.
void Controls::UpdateInputLock()
{
    if (m_inputLock) {
        m_inputLock = false;
        m_inputLock = m_window->HasKeyEvents() || IsAnyKeyDown();
        if (m_inputLock) {
            m_lockTime += m_timerManager->m_frameTime;
            if (m_lockTime <= kLockPatience || IsAnySystemKeyDown())
                return;
            m_inputLock = false;
        }
    }
    m_lockTime = 0;
}

bool Controls::IsAnySystemKeyDown() const
{
    for (int key = 0; key < 256; ++key) {
        if (GetAsyncKeyState(key) & 0x8000)
            return true;
    }
    return false;
}

void Controls::ApplyCursorVisibility()
{
    int count;
    if (m_cursorVisible) {
        while ((count = ShowCursor(TRUE)) < 0) {
        }
        if (count > kShownCount)
            ShowCursor(FALSE);
    } else {
        while ((count = ShowCursor(FALSE)) >= 0) {
        }
        if (count < -kShownCount)
            ShowCursor(TRUE);
    }
}

void Controls::EndFrame()
{
    for (auto& [name, state] : m_keys)
        state.wentDown = false;
    m_window->ClearKeyEvents();
}

void Controls::SetKeyState(const std::string& name, bool down)
{
    const auto it = m_keys.find(name);
    if (it == m_keys.end())
        return;
    KeyState& state = it->second;
    if (!down) {
        state.held = false;
    } else if (!state.held) {
        state.held = true;
        state.wentDown = true;
    }
}

const Controls::KeyState* Controls::Find(const std::string& name) const
{
    const auto it = m_keys.find(ToUpper(name));
    return it == m_keys.end() ? nullptr : &it->second;
}

bool Controls::IsKeyDown(const std::string& name) const
{
    const KeyState* state = m_inputLock ? nullptr : Find(name);
    return state && (state->held || state->wentDown);
}

bool Controls::IsKeyPressed(const std::string& name) const
{
    const KeyState* state = m_inputLock ? nullptr : Find(name);
    return state && state->wentDown;
}

bool Controls::IsAnyKeyPressed() const
{
    if (m_inputLock)
        return false;
    for (const auto& [name, state] : m_keys) {
        if (state.wentDown)
            return true;
    }
    return false;
}

bool Controls::IsAnyKeyDown() const
{
    if (m_inputLock)
        return false;
    for (const auto& [name, state] : m_keys) {
        if (state.held || state.wentDown)
            return true;
    }
    return false;
}

bool Controls::IsAnyMouseButtonDown() const
{
    for (const std::string& name : m_mouseButtonNames) {
        if (IsKeyDown(name))
            return true;
    }
    return false;
}

} // namespace KeystrelEngine
