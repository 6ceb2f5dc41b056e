// The options window on the GL back end at 800 x 600, one GUI unit a pixel, with its texts and the title the
// stand-in background types: the mode the arrows choose prints in the resolution box and the full-screen box shows
// its check over its unfolded model. Saved for people to look at, as opened and after a click on the left arrow and
// on the full-screen box.
#include "engine/gui/Engine.h"
#include "engine/gui/GUICheckBox.h"
#include "game/app/GUIOptionsWindow.h"
#include "tests/game/app/SettingsWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using Wispfold::GUIOptionsWindow;

namespace {

using namespace AppTesting;

class OptionsPixels : public AppPixelFixture<SettingsWindowFixture>
{
protected:
    // How many pixels of the rectangle of the widget differ between the pictures.
    static int Changed(const Image& a, const Image& b, const GUIWindow& widget, const KeystrelEngine::GUIRect& rect)
    {
        const KeystrelEngine::GUIPoint at = widget.GetAbsolutePosition();
        const float left = at.x + rect.x;
        const float bottom = at.y + rect.y;
        int changed = 0;
        for (auto y = static_cast<std::uint32_t>(bottom); y < bottom + rect.height; ++y) {
            for (auto x = static_cast<std::uint32_t>(left); x < left + rect.width; ++x) {
                changed += PixelDifference(a, b, x, y) > 30 ? 1 : 0;
            }
        }
        return changed;
    }
};

TEST_F(OptionsPixels, TheChosenModePrintsInTheResolutionBoxAndTheBoxShowsItsCheck)
{
    auto window = std::make_unique<GUIOptionsWindow>(engine.get(), player.get(), profiles.get(), data.get(),
                                                     manager.get(), data->GetChildWindow());
    GUIOptionsWindow& options = *window;
    windows.push_back(std::move(window));
    player->SetSoundVolume(0.3f);
    player->SetMusicVolume(0.7f);
    OpenFully(options);
    Frame({&options});
    const Image opened = Grab("options_window.bmp");

    const GUIWindow& modeText = *options.GetControls()[4]->GetWidget();
    Click(*options.GetControls()[5]->GetWidget(), options); // to 640x480
    const KeystrelEngine::GUICheckBox& fullScreen = options.GetSettings().GetFullScreenBox();
    Click(fullScreen, options);
    Point(*options.GetControls()[0]->GetWidget()); // the cursor off the controls
    Frame({&options});
    const Image changed = Grab("options_window_changed.bmp");
    ASSERT_TRUE(options.GetSettings().IsFullScreenChecked());
    EXPECT_GT(Changed(opened, changed, modeText, modeText.m_extraRect), 20);
    EXPECT_GT(Changed(opened, changed, fullScreen, fullScreen.m_hitArea), 20);
}

} // namespace
