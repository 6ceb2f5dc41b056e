// The list of profiles: seven name buttons over a list area, the current player's name at the top, a scroll
// when there are more players than buttons, and NEW, RENAME, DELETE and DONE. Pressing a name makes that player
// the current one.
#pragma once

#include "framework/GUIProfilesWindowBase.h"
#include "game/app/GUIMenuWindow.h"

#include <array>
#include <string>
#include <vector>

namespace GameFramework {
class ProfileManagerBase;
}

namespace KeystrelEngine {
class GUIButton;
}

namespace Wispfold {

class GUIProfilesWindow : public GameFramework::GUIProfilesWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::size_t kNameButtonCount = 7;
    static constexpr KeystrelEngine::GUISize kNameButtonSize{190.0f, 20.0f};
    static constexpr float kNameTop = 153.0f; // above the list area's bottom
    static constexpr float kNameStep = 22.0f;
    static constexpr std::uint32_t kNameFont = 3;
    static constexpr std::uint32_t kCurrentNameFont = 4;
    static constexpr std::uint32_t kHoveredNameFont = 5;
    static constexpr float kNameInset = 5.0f; // a name keeps this far from either end of its button

    enum Button
    {
        New,
        Rename,
        Delete,
        Done,
        ButtonCount
    };

    GUIProfilesWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                      GameFramework::ProfileManagerBase* profiles, const GameData* data, GUIMenuWindowManager* manager,
                      KeystrelEngine::GUIWindow* parent);
    // Gives the name buttons back to the GUI manager and deletes them.
    ~GUIProfilesWindow() override;

    void Update() override;
    // Lists the profiles anew, the current one first, and scrolls to the top.
    void Open() override;
    void Close() override;

    KeystrelEngine::GUIButton* GetNameButton(std::size_t index) const { return m_nameButtons[index]; }
    GUIControl* GetButton(Button button) const { return m_buttons[button]; }
    GUIControl* GetScroll() const { return m_scroll; }
    const std::vector<std::u16string>& GetNames() const { return m_names; }

private:
    void MakeNameButtons();
    void ListNames();
    void SetUpScroll();
    void UpdateNames();
    std::u16string FitName(const std::u16string& name) const;
    // The name is the profile's, shown as it fits on the button.
    void UpdateNameButton(KeystrelEngine::GUIButton& button, const std::u16string& name, const std::u16string& shown);
    bool IsCurrent(const std::u16string& name) const;
    void ReadButtons();

    GameFramework::ProfileManagerBase* m_profiles;
    std::array<GUIControl*, ButtonCount> m_buttons{};
    GUIControl* m_scroll;
    bool m_scrollShown = false;
    std::array<KeystrelEngine::GUIButton*, kNameButtonCount> m_nameButtons{};
    std::vector<std::u16string> m_names;      // the current profile's first
    std::vector<std::u16string> m_shownNames; // the names as their buttons print them
};

} // namespace Wispfold
