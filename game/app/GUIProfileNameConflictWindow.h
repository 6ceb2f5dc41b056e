// The entered name belongs to another profile: OK (or ENTER) goes back to the window the name was typed in.
#pragma once

#include "framework/GUIProfileNameConflictWindowBase.h"
#include "game/app/GUIMenuWindow.h"

namespace KeystrelEngine {
class Controls;
}

namespace Wispfold {

class GUIProfileNameConflictWindow : public GameFramework::GUIProfileNameConflictWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::int32_t kFromNewProfile = 3;

    GUIProfileNameConflictWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                 const GameData* data, GUIMenuWindowManager* manager,
                                 KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // 3 from the new-profile window, 4 from the rename window.
    void Open(std::int32_t callerCode) override;
    void Close() override;

    GUIControl* GetOkButton() const { return m_ok; }

private:
    const KeystrelEngine::Controls* m_controls;
    GUIControl* m_ok;
};

} // namespace Wispfold
