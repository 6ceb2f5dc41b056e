// The engine's device-independent input state. For each of the fixed key names (keyboard keys and eight mouse
// buttons) it keeps whether the key is held and whether it went down during this frame, and answers questions
// by name. Beside the keys it keeps the system cursor's movement from frame to frame (optionally centred in the
// window or scaled), the mouse movement and wheel a device back end reports, and an input lock that makes every
// query answer false until the keys have been released. A back end (Controls_DI7) feeds the keys.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Config;
class MessageManager;
class TimerManager;
class Window;

constexpr std::size_t kKeyNameCount = 108;
constexpr std::size_t kMouseButtonCount = 8;

// "MOUSE1" to "MOUSE8" first (left, right, middle, then the further buttons), then the keyboard's keys. The
// right-bracket key's name is the empty text.
extern const std::array<const char*, kKeyNameCount> KeyNames;

class Controls
{
public:
    Controls(MessageManager* log, TimerManager* timerManager, Config* config, Window* window);
    virtual ~Controls();

    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // The back end calls this once per frame after it has reported the devices.
    virtual void Update();
    // Clears every went-down flag and the window's key events of the frame.
    virtual void EndFrame();

    // For the back end; the name must be one of KeyNames exactly.
    void SetKeyState(const std::string& name, bool down);

    // Queries take any case and answer false while the input is locked. A key that went down and up again
    // within one frame counts as down for that frame.
    bool IsKeyDown(const std::string& name) const;
    bool IsKeyPressed(const std::string& name) const;
    bool IsAnyKeyPressed() const;
    bool IsAnyKeyDown() const;
    bool IsAnyMouseButtonDown() const;
    // The window whose key events text input reads.
    Window* GetWindow() const { return m_window; }
    // Drives the system cursor's display counter by m_cursorVisible: while shown it ends at 0 or more (pulled
    // back once above 10), while hidden below 0 (pushed back once below -10). Update does it every frame; an
    // owner that changes the flag may apply it at once.
    void ApplyCursorVisibility();

    // What this frame measured. Y grows away from the user unless the mouse is inverted.
    float m_cursorDeltaX = 0;
    float m_cursorDeltaY = 0;
    float m_mouseDeltaX = 0; // device units, written by the back end
    float m_mouseDeltaY = 0;
    std::int32_t m_wheel = 0;
    std::int32_t m_cursorX = 0; // screen coordinates at the end of the last Update
    std::int32_t m_cursorY = 0;

    // Set by the owners.
    bool m_cursorVisible = true;
    bool m_centreCursor = false; // puts the cursor back at the window's centre every frame
    float m_cursorSpeedX = 1.0f;
    float m_cursorSpeedY = 1.0f;
    bool m_inputLock = false; // set after a change of video mode

protected:
    MessageManager* m_log;
    std::vector<std::string> m_mouseButtonNames; // index i: mouse button i

private:
    struct KeyState
    {
        bool held = false;
        bool wentDown = false;
    };

    void MoveCursor();
    void UpdateWheel();
    void UpdateInputLock();
    bool IsAnySystemKeyDown() const;
    const KeyState* Find(const std::string& name) const;

    TimerManager* m_timerManager;
    Config* m_config;
    Window* m_window;
    const bool* m_invertMouse;
    std::map<std::string, KeyState, std::less<>> m_keys;
    bool m_wheelReported = false;
    float m_lockTime = 0;
};

} // namespace KeystrelEngine
