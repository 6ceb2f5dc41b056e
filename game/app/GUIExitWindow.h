// The question whether to quit, asked from the welcome window, the main menu and the new-profile window. YES
// closes the window and quits only once its frame has gone from the screen; NO goes back where it came from.
#pragma once

#include "framework/GUIExitWindowBase.h"
#include "game/app/GUIMenuWindow.h"

namespace Wispfold {

class GUIExitWindow : public GameFramework::GUIExitWindowBase, public GUIMenuWindow
{
public:
    GUIExitWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                  GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // 1 from the welcome window, 2 from the main menu, 3 from the new-profile window; NO does nothing for others.
    void Open(std::int32_t callerCode) override;
    void Close() override;

    GUIControl* GetYesButton() const { return m_yes; }
    GUIControl* GetNoButton() const { return m_no; }
    bool IsConfirmed() const override { return m_confirmed; }

private:
    void ReadButtons();
    void AddTexts();

    GUIControl* m_no;
    GUIControl* m_yes;
    bool m_confirmed = false;
};

} // namespace Wispfold
