// The closing text after the last level, a page of twelve lines at a time; CONTINUE on the last page reports.
// The game sets the show flag only when the profile has the ending still to see; without it the window never
// appears and its next update reports at once.
#pragma once

#include "framework/GUIGameCompleteWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/PagedText.h"

namespace Wispfold {

class GUIGameCompleteWindow : public GameFramework::GUIGameCompleteWindowBase, public GUIMenuWindow
{
public:
    GUIGameCompleteWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                          GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    void Open() override;
    void Close() override;

    GUIControl* GetContinueButton() const { return m_continue; }
    const PagedText& GetPages() const { return m_pages; }

    bool m_show = false; // set by the game before Open

private:
    GUIControl* m_continue;
    PagedText m_pages;
    bool m_passThrough = false;
};

} // namespace Wispfold
