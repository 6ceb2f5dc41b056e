// The base of the game's mouse cursor, which is either drawn by the GUI (a cursor widget with the game's
// picture) or the system's cursor. The setting "ui_custom_cursor" chooses; a change takes effect at the
// cursor's next update while the cursor is shown, by hiding it the old way and showing it the new way.
//
// The cursors are kept by key, each as a pair of a system cursor and a drawn cursor; the game's cursor loads
// the pair under key 0 (the program's cursor resource and its drawn twin) and makes it current. While the drawn
// cursor is in use, showing and hiding set the widget's visible flag and the system cursor stays hidden; else
// they set the input layer's flag and drive the system cursor's display counter at once.
#pragma once

#include "platform/win32/Win32.h"

#include <cstdint>
#include <map>

namespace KeystrelEngine {
class Config;
class Controls;
class Engine;
class GUICursor;
class GUIManager;
class MessageManager;
class Window;
} // namespace KeystrelEngine

namespace GameFramework {

struct GameCursorEntry
{
    HCURSOR systemCursor = nullptr;
    KeystrelEngine::GUICursor* drawnCursor = nullptr; // made by the GUI manager, given up by the destructor
};

class GUIGameCursorBase
{
public:
    static constexpr WORD kCursorResource = 1000;
    static constexpr std::int32_t kSystemCursorKey = 0;

    // Registers "ui_custom_cursor" and starts hidden.
    explicit GUIGameCursorBase(KeystrelEngine::Engine* engine);
    // Unregisters the setting and takes the drawn cursors out of the GUI manager.
    virtual ~GUIGameCursorBase();

    GUIGameCursorBase(const GUIGameCursorBase&) = delete;
    GUIGameCursorBase& operator=(const GUIGameCursorBase&) = delete;

    // False while the cursor is hidden. Otherwise applies a change of "ui_custom_cursor" made this frame.
    virtual bool Update();
    virtual void Show(bool show);
    bool IsShown() const;

    // Hides the drawn cursor and keeps it, with the program's cursor resource, under key 0.
    void LoadSystemCursor(KeystrelEngine::GUICursor* drawnCursor);
    // Makes the pair under key 0 current: the window takes its system cursor as the class cursor, and a shown
    // drawn cursor is hidden around the switch.
    void ApplySystemCursor();

    bool IsCustomCursorActive() const { return m_customCursorActive; }
    const GameCursorEntry* GetCurrent() const { return m_current; }

protected:
    bool UsesDrawnCursor() const { return m_customCursorActive && m_current; }

    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::Window* m_window;
    KeystrelEngine::Config* m_config;
    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::Controls* m_controls;
    bool m_customCursor = true; // bound to "ui_custom_cursor"
    bool m_customCursorActive;  // the setting as last applied
    std::map<std::int32_t, GameCursorEntry> m_cursors;
    GameCursorEntry* m_current = nullptr;
};

} // namespace GameFramework
