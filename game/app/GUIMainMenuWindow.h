// The main menu: seven buttons over the menu background, START, HIGH_SCORES, OPTIONS, CHANGE_PROFILE,
// SHOW_PLACE, CREDITS and EXIT, under a title that greets the current player by name. The buttons take clicks
// only while the menu stands open, not while its models unfold; START asks for the introduction first while the
// player has not seen it.
#pragma once

#include "framework/GUIMainMenuWindowBase.h"
#include "game/app/GUIMenuWindow.h"

#include <array>

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class GUIMainMenuWindow : public GameFramework::GUIMainMenuWindowBase, public GUIMenuWindow
{
public:
    // The start of the level map, or the introduction while it is still pending.
    static constexpr std::uint32_t kRequestIntroduction = 24;
    static constexpr std::uint32_t kRequestShowPlace = 23; // the upgrade window
    static constexpr float kButtonRate = 42.0f;
    static constexpr std::uint32_t kCaptionFonts[4] = {7, 8, 9, 7}; // by button state: normal, hover, pressed, disabled
    static constexpr float kGreetingMargin = 10.0f; // the greeting keeps this far inside the frame's text area

    enum Button
    {
        Start,
        HighScores,
        Options,
        ChangeProfile,
        ShowPlace,
        Credits,
        Exit,
        ButtonCount
    };

    GUIMainMenuWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                      GameFramework::ProfileManagerBase* profiles, const GameData* data, GUIMenuWindowManager* manager,
                      KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // The greeting of the current player becomes the title; the buttons wait for the menu to stand open.
    void Open() override;
    void Close() override;

    GUIControl* GetButton(Button button) const { return m_buttons[button]; }

private:
    void AddCaptions() const;
    void EnableButtons(bool enabled) const;
    void ReadButtons();
    std::uint32_t StartRequest() const;
    // The current profile's name as the greeting that starts with the welcome words shows it.
    std::u16string GreetedName(const std::u16string& welcome) const;

    GameFramework::ProfileManagerBase* m_profiles;
    std::array<GUIControl*, ButtonCount> m_buttons{};
};

} // namespace Wispfold
