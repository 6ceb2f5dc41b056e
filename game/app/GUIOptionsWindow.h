// The options window, reached from the main menu: the sound and music volumes, heard at once while their sliders
// move; the video mode, stepped with two arrows through the sizes of the display modes that the render system's
// current device offers (listed once, when the window is made); and full screen. APPLY writes the mode and full
// screen and keeps the volumes, CANCEL puts the volumes, the mode and full screen back as they were at Open, on
// the controls too; both go back to the main menu. DEFAULTS shows the default settings and stays.
//
// The full-screen box is the player's choice: it shows "v_fullscreen" at Open and full screen after DEFAULTS,
// keeps what the player clicks in between, and APPLY reads it.
#pragma once

#include "framework/GUIOptionsWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUISettingsControls.h"

#include <string>

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class GUIOptionsWindow : public GameFramework::GUIOptionsWindowBase, public GUIMenuWindow
{
public:
    static constexpr std::uint32_t kModeFont = 6;

    GUIOptionsWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                     GameFramework::ProfileManagerBase* profiles, const GameData* data, GUIMenuWindowManager* manager,
                     KeystrelEngine::GUIWindow* parent);

    void Update() override;
    // The current settings on the controls.
    void Open() override;
    void Close() override;

    const GUISettingsControls& GetSettings() const { return m_settings; }

private:
    // The sizes of every display mode of the device the render system draws with.
    void AddDisplayModes();
    void ReactToButtons();
    void ShowDefaults();
    // The volumes, the mode and full screen as they were at Open, on the controls too.
    void Cancel();
    void NoteMode();
    void AddTexts() const;

    GUISettingsControls m_settings;
    GUIControl* m_modeText;
    GUIControl* m_leftArrow;
    GUIControl* m_rightArrow;
    GUIControl* m_apply;
    GUIControl* m_defaults;
    GUIControl* m_cancel;
    std::uint32_t m_openSelected = 0; // the mode selected at Open
    std::string m_shownMode;          // the selected entry's text, empty for none
    std::u16string m_modeName;        // the same, as shown
};

} // namespace Wispfold
