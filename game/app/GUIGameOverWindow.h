// The level is lost: two lines and CONTINUE, which closes the window and brings the menu scene back; the window
// reports once both have ended.
#pragma once

#include "framework/GUIGameOverWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/LevelLeaving.h"

namespace Wispfold {

class GUIGameOverWindow : public GameFramework::GUIGameOverWindowBase, public GUIMenuWindow
{
public:
    GUIGameOverWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                      GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    void Open() override;
    // The window has closed itself on CONTINUE.
    void Close() override;

    GUIControl* GetContinueButton() const { return m_continue; }
    bool IsLeaving() const { return m_leaving.IsLeaving(); }

private:
    GUIControl* m_continue;
    LevelLeaving m_leaving;
};

} // namespace Wispfold
