// What the tests of the concrete menu windows share, over the menu fixture: every window's text table in the
// fixture's language, a cursor put on a widget and clicks and keys through the platform's input, and the texts
// each widget was given in the last frame, read before the frame's drawing forgets them.
#pragma once

#include "engine/gui/GUIWindow.h"
#include "tests/game/app/MenuFixture.h"

#include <SDL_scancode.h>

#include <map>
#include <string>
#include <vector>

namespace AppTesting {

class MenuWindowFixture : public MenuFixture
{
protected:
    void SetUp() override;

    // One frame as the game runs it for the window; the texts of every widget are kept.
    void Step(Wispfold::GUIMenuWindow& window);
    // Frames until the window stands open (at most 40).
    void OpenFully(Wispfold::GUIMenuWindow& window);
    // Frames until the screen is free again (at most 40).
    void RunUntilGone(Wispfold::GUIMenuWindow& window);
    // Puts the cursor on the middle of the widget's hit area.
    void Point(const KeystrelEngine::GUIWindow& widget);
    // Presses and releases the mouse button on the widget, a frame each; the window's result of the release frame.
    template <class Window> std::uint32_t Click(Window& window, const KeystrelEngine::GUIWindow& widget)
    {
        Press(window, widget);
        return window.m_result;
    }
    // One frame after the text (UTF-8, at most 31 bytes) was typed at once.
    void Type(Wispfold::GUIMenuWindow& window, const std::string& utf8);
    // Presses the key in one frame, releases it in the next; the result of the press frame.
    template <class Window> std::uint32_t Key(Window& window, SDL_Scancode key)
    {
        PressKey(window, key);
        const std::uint32_t result = window.m_result;
        ReleaseKey(window, key);
        return result;
    }
    // The texts the widget was given in the last frame.
    const std::vector<KeystrelEngine::GUITextRecord>& Texts(const KeystrelEngine::GUIWindow* widget) const;
    // The resolved text of a record.
    std::u16string Resolved(const KeystrelEngine::GUITextRecord& record) const;

    // Keeps the texts every widget was given this frame.
    void KeepTexts();

    std::map<const KeystrelEngine::GUIWindow*, std::vector<KeystrelEngine::GUITextRecord>> texts;

private:
    void Press(Wispfold::GUIMenuWindow& window, const KeystrelEngine::GUIWindow& widget);
    void PressKey(Wispfold::GUIMenuWindow& window, SDL_Scancode key);
    void ReleaseKey(Wispfold::GUIMenuWindow& window, SDL_Scancode key);
};

} // namespace AppTesting
