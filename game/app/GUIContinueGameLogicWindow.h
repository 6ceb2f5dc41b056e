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
    // Heights in the frame's area: the paragraph's three lines in its upper half, then a blank line, then the
    // saved level and the score in its lower half, so that the text fills the area and no rows touch.
    static constexpr float kFirstLineY = 228.0f;
    static constexpr float kLineStep = 23.0f;
    static constexpr float kLevelY = kFirstLineY - 4.0f * kLineStep;
    static constexpr float kScoreY = kLevelY - kLineStep;

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
