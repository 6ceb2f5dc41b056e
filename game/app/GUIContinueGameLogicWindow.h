// Shown from the main menu when the current profile has a saved game: the level it stands at and its score,
// with CONTINUE GAME, NEW GAME and CANCEL.
#pragma once

#include "framework/GUIContinueGameLogicWindowBase.h"
#include "game/app/GUIMenuWindow.h"

#include <cstdint>

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class GUIContinueGameLogicWindow : public GameFramework::GUIContinueGameLogicWindowBase, public GUIMenuWindow
{
public:
    GUIContinueGameLogicWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                               GameFramework::ProfileManagerBase* profiles, const GameData* data,
                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // Takes the current profile's score.
    void Open() override;
    void Close() override;

    GUIControl* GetContinueButton() const { return m_continue; }
    GUIControl* GetNewGameButton() const { return m_newGame; }
    GUIControl* GetCancelButton() const { return m_cancel; }

private:
    void ReadButtons();
    void AddTexts();
    void AddValue(const std::string& labelKey, std::u16string_view value, float y);

    GameFramework::ProfileManagerBase* m_profiles;
    GUIControl* m_continue;
    GUIControl* m_newGame;
    GUIControl* m_cancel;
    std::uint32_t m_score = 0;
};

} // namespace Wispfold
