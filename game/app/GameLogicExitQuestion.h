// The question both in-level exit windows ask: three lines of text over OK and NO.
#pragma once

#include "game/app/GUIMenuWindow.h"

namespace Wispfold {

class GameLogicExitQuestion
{
public:
    // Adds the two buttons to the window.
    explicit GameLogicExitQuestion(GUIMenuWindow& window);

    // This frame's lines and captions.
    void AddTexts() const;

    GUIControl* GetOkButton() const { return m_ok; }
    GUIControl* GetNoButton() const { return m_no; }
    bool IsOkClicked() const;
    bool IsNoClicked() const;

private:
    GUIMenuWindow& m_window;
    GUIControl* m_no;
    GUIControl* m_ok;
};

} // namespace Wispfold
