// The in-game menu, opened from the level's head-up display over the background's panel: the sound and music
// volumes, full screen and the profile's relax mode, each taking effect at once, and EXIT (ask whether to leave
// the level) and RETURN (resume it, giving the panel back once the frame has folded). There is no cancel: Close
// stores the volumes in the profile and saves the configuration, and so does the game's end while it is open.
//
// A click on the full-screen box is the player's choice and is applied in the frame it happens; otherwise the box
// follows "v_fullscreen", except while a window-mode change is pending, when it keeps the choice.
#pragma once

#include "framework/GUIGameLogicMenuWindowBase.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUISettingsControls.h"

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class Profile;

class GUIGameLogicMenuWindow : public GameFramework::GUIGameLogicMenuWindowBase, public GUIMenuWindow
{
public:
    GUIGameLogicMenuWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                           GameFramework::ProfileManagerBase* profiles, const GameData* data,
                           GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);
    ~GUIGameLogicMenuWindow() override;

    void Update() override;
    // The current settings on the controls, the full-screen box at the window's present state; the panel is
    // brought in first.
    void Open() override;
    // Saves the configuration and the profile's volumes, then the frame goes.
    void Close() override;

    const GUISettingsControls& GetSettings() const { return m_settings; }
    KeystrelEngine::GUICheckBox& GetRelaxBox() const { return *m_relaxBox; }

private:
    void ReactToControls();
    void AddTexts() const;
    Profile* CurrentProfile() const;

    GUISettingsControls m_settings;
    KeystrelEngine::GUICheckBox* m_relaxBox;
    GUIControl* m_exit;
    GUIControl* m_return;
};

} // namespace Wispfold
