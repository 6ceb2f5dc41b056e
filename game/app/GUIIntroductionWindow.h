// The story shown before a profile's first game, a page at a time. CONTINUE turns the page; on the last page it
// asks to start the game. The game holds the window itself and reads its result after each frame.
#pragma once

#include "game/app/GUIMenuWindow.h"
#include "game/app/PagedText.h"

#include <cstdint>

namespace Wispfold {

class GUIIntroductionWindow : public GUIMenuWindow
{
public:
    GUIIntroductionWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                          GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Back to the first page; reads the number of lines of the story.
    virtual void Open();
    virtual void Close();

    GUIControl* GetContinueButton() const { return m_continue; }
    const PagedText& GetPages() const { return m_pages; }

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

private:
    GUIControl* m_continue;
    PagedText m_pages;
};

} // namespace Wispfold
