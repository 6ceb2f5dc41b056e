// The program's one window: full screen, windowed (optionally centred), or inside a window that a host program
// names. Its procedure turns closing into the "exit" command, keeps the keys and characters typed in the frame
// for text input, swallows the system keys and commands that would disturb a full-screen game, and turns the
// maximise button into a switch to full screen. Once per frame it minimises itself when it has lost the focus in
// full screen, watches Alt+Enter, and ends the program when its host window has gone.
#pragma once

#include "platform/win32/Win32.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Config;
class MessageManager;

class Window
{
public:
    // parent: the host's window, or null for a top-level window; iconResource 0 takes the system's icon.
    Window(MessageManager* log, Config* config, const std::string& title, HWND parent, int iconResource,
           bool minimiseWhenInactive, std::int32_t width, std::int32_t height, bool fullScreen, bool centre,
           std::int32_t left, std::int32_t top);
    virtual ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Restyles the window for the other screen mode (top-level windows only).
    void SetWindowedMode(std::int32_t width, std::int32_t height, bool fullScreen, std::int32_t screenWidth,
                         std::int32_t screenHeight);
    void Update();
    bool HasFocus() const;
    // The window's device context, for drawing into the window and for grabbing it.
    HDC GetDeviceContext() const { return m_deviceContext; }

    HWND m_handle = nullptr;
    HINSTANCE m_instance = nullptr;
    HCURSOR m_cursor = nullptr;
    std::int32_t m_width;
    std::int32_t m_height;
    bool m_fullScreen;
    bool m_minimiseWhenInactive;

    // A key typed: a virtual-key code, or a UTF-16 character.
    struct KeyEvent
    {
        std::uint16_t code = 0;
        bool character = false;
    };
    // More than a frame ever holds while the game runs; a frame's events beyond it are dropped.
    static constexpr std::size_t kMaxKeyEvents = 128;

    // The key events of the frame, in the order they were typed: a fast typist or a long frame brings several.
    // The input's end of frame forgets them.
    std::span<const KeyEvent> GetKeyEvents() const { return {m_keyEvents.data(), m_keyEventCount}; }
    bool HasKeyEvents() const { return m_keyEventCount > 0; }
    void AddKeyEvent(std::uint16_t code, bool character);
    void ClearKeyEvents() { m_keyEventCount = 0; }

private:
    static LRESULT WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleSystemCommand(WPARAM command);
    void Register(int iconResource);
    void Create(const std::string& title);
    HWND MakeWindow(const std::string& title, const RECT& screen);
    bool UseDefaultMode();
    void Place(std::int32_t screenWidth, std::int32_t screenHeight, DWORD& style, DWORD& exStyle, RECT& rect) const;
    void SwitchScreenMode();
    void ClampColourSettings();
    bool IsChild() const { return m_parent != nullptr; }

    MessageManager* m_log;
    Config* m_config;
    bool m_minimised = false;
    bool m_centre;
    std::int32_t m_left;
    std::int32_t m_top;
    HWND m_parent;
    std::vector<HWND> m_hostWindows; // the parent and every ancestor above it
    HDC m_deviceContext = nullptr;
    bool m_altEnterHeld = false;
    std::array<KeyEvent, kMaxKeyEvents> m_keyEvents;
    std::size_t m_keyEventCount = 0;
};

} // namespace KeystrelEngine
