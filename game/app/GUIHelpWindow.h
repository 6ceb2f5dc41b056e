// One page of help: twelve lines of text, headings in a bolder font, and a BACK button.
#pragma once

#include "framework/GUIHelpWindowBase.h"
#include "game/app/GUIMenuWindow.h"

namespace Wispfold {

class GUIHelpWindow : public GameFramework::GUIHelpWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::int32_t kLineCount = 12;
    static constexpr float kFirstLineY = 250.0f;

    GUIHelpWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                  GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    void Open() override;
    void Close() override;

    GUIControl* GetBackButton() const { return m_back; }

private:
    void AddLines();

    GUIControl* m_back;
};

} // namespace Wispfold
