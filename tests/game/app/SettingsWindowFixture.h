// What the tests of the options window and the in-game menu share: the menu fixture with their text tables, the
// slider sound, a current profile named Ann, and the player's mouse: a click or a drag on a widget, injected as
// system events.
#pragma once

#include "engine/gui/GUIWindow.h"
#include "game/app/Profile.h"
#include "tests/game/app/MenuFixture.h"

#include <string>
#include <vector>

namespace KeystrelEngine {
class Config;
}

namespace AppTesting {

class SettingsWindowFixture : public MenuFixture
{
protected:
    void SetUp() override;

    // Opens the window through its Open and runs frames until it stands open and its controls take clicks.
    template <class Window> void OpenFully(Window& window)
    {
        window.Open();
        const int frames = FramesUntil([&] { return window.m_colour.a == 1.0f; }, {&window});
        ASSERT_LE(frames, 40);
    }
    // The cursor to the middle of the widget's hit area.
    void Point(const KeystrelEngine::GUIWindow& widget);
    // A press and a release on the widget, each in a frame of the window.
    void Click(const KeystrelEngine::GUIWindow& widget, Wispfold::GUIMenuWindow& window);
    void Press(Wispfold::GUIMenuWindow& window);
    void Release(Wispfold::GUIMenuWindow& window);
    // The texts the widget has to draw after one frame of the window (read before the frame ends).
    std::vector<KeystrelEngine::GUITextRecord> FrameTexts(Wispfold::GUIMenuWindow& window,
                                                          const KeystrelEngine::GUIWindow& widget);
    // The current profile as its file holds it now.
    GameFramework::ProfileVolumes SavedVolumes() const;
    bool IsRaised(const std::string& command) const;
    KeystrelEngine::Config& config() const;

    Wispfold::Profile* ann = nullptr; // current
};

} // namespace AppTesting
