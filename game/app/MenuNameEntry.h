// The name entry of the welcome, new-profile and rename windows: an edit box, an OK button and a second button
// (EXIT or CANCEL) on a small frame, with the line asking for the name. The name counts trimmed; OK takes it only
// when something is left, by a click or by the ENTER key; characters typed after ENTER in the same frame are not
// part of the name.
#pragma once

#include "engine/render/Color.h"

#include <cstdint>
#include <optional>
#include <string>

namespace KeystrelEngine {
class Controls;
}

namespace Wispfold {

class GUIControl;
class GUIMenuWindow;

class MenuNameEntry
{
public:
    // Adds the three controls to the window, in the order edit box, OK, second button. The controls give the key.
    MenuNameEntry(GUIMenuWindow& window, const KeystrelEngine::Controls* controls);
    MenuNameEntry(const MenuNameEntry&) = delete; // the edit box calls back to this entry
    MenuNameEntry& operator=(const MenuNameEntry&) = delete;

    // An empty box, the caret at its start.
    void Clear() const;
    void SetName(const std::u16string& name) const;
    // Once a frame while the frame is visible: OK follows the name, then whether the name was confirmed.
    bool Update() const;
    // The typed name, trimmed.
    std::u16string GetName() const;
    bool IsSecondClicked() const;
    // The prompt and the two captions in the colour.
    void AddTexts(const char* secondCaption, const KeystrelEngine::Color& colour) const;

    GUIControl* GetEditBox() const { return m_edit; }
    GUIControl* GetOkButton() const { return m_ok; }
    GUIControl* GetSecondButton() const { return m_second; }

private:
    // A key the edit box does not edit with, in its place among the frame's keys.
    void TakeKey(std::uint16_t code) const;

    GUIMenuWindow& m_window;
    const KeystrelEngine::Controls* m_controls;
    GUIControl* m_edit;
    GUIControl* m_ok;
    GUIControl* m_second;
    mutable std::optional<std::u16string> m_textAtEnter; // the box's text at the frame's first ENTER
};

} // namespace Wispfold
