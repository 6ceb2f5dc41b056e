// The level stands paused behind this window until RESUME is pressed. It appears over the background's panel.
#pragma once

#include "framework/GUIGameLogicPauseWindowBase.h"
#include "game/app/GUIMenuWindow.h"

namespace Wispfold {

class GUIGameLogicPauseWindow : public GameFramework::GUIGameLogicPauseWindowBase, public GUIMenuWindow
{
public:
    GUIGameLogicPauseWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                            GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    void Open() override;
    void Close() override;

    GUIControl* GetResumeButton() const { return m_resume; }

private:
    GUIControl* m_resume;
};

} // namespace Wispfold
