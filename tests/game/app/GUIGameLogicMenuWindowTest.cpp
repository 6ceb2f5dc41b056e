// The in-game menu on the generated models: it appears only after the background's panel has come, its sliders
// open on the volumes, the full-screen box applies a click at once and only a change is written and announced,
// the relax box saves the profile, EXIT and RETURN report, RETURN gives the panel back after the frame has
// gone, Close stores the configuration and the profile's volumes, and the slider sound is not stopped by the
// hidden options window.
#include "game/app/GUIGameLogicMenuWindow.h"
#include "engine/foundation/Config.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "engine/sound/Sound.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIOptionsWindow.h"
#include "platform/testing.h"
#include "tests/game/app/SettingsWindowFixture.h"

#include <SDL_mouse.h>
#include <filesystem>

using Wispfold::GUIGameLogicMenuWindow;
using Wispfold::Profile;

namespace {

using namespace AppTesting;

class GUIGameLogicMenuWindowTest : public SettingsWindowFixture
{
protected:
    static constexpr std::size_t kExit = 5; // the buttons' places among the controls
    static constexpr std::size_t kReturn = 6;

    void SetUp() override
    {
        SettingsWindowFixture::SetUp();
        auto window = std::make_unique<GUIGameLogicMenuWindow>(engine.get(), player.get(), profiles.get(), data.get(),
                                                               manager.get(), data->GetChildWindow());
        menu = window.get();
        windows.push_back(std::move(window));
    }

    void Press(std::size_t control) { Click(*menu->GetControls()[control]->GetWidget(), *menu); }
    bool SavedRelaxMode() const
    {
        return Profile(engine->m_log.get(), engine->m_files.get(), userFolder, ann->GetFileName())
            .GetFlag(Profile::RelaxMode);
    }

    GUIGameLogicMenuWindow* menu = nullptr;
};

TEST_F(GUIGameLogicMenuWindowTest, AppearsOverThePanelOnTheVolumesAndTheProfilesRelaxMode)
{
    player->SetSoundVolume(0.37f);
    player->SetMusicVolume(0.8f);
    ann->SetFlag(Profile::RelaxMode, true);
    OpenFully(*menu);
    EXPECT_EQ(background->requests, 1);
    EXPECT_TRUE(menu->HoldsPanel());
    EXPECT_EQ(menu->GetSettings().GetSoundSlider().GetPosition(), 370u);
    EXPECT_EQ(menu->GetSettings().GetMusicSlider().GetPosition(), 800u);
    EXPECT_FALSE(menu->GetSettings().IsFullScreenChecked());
    EXPECT_TRUE(menu->GetRelaxBox().m_checked);
}

TEST_F(GUIGameLogicMenuWindowTest, TheFullScreenBoxWritesAndAnnouncesOnlyAChange)
{
    // A change still under way: the setting says full screen, the window is not there yet. The box opens on the
    // window as it is, and a click that makes it agree with the setting changes nothing.
    config().v_fullscreen = true;
    config().SetCommandState("v_window_change_mode", KeystrelEngine::Config::kCommandRaised);
    OpenFully(*menu);
    EXPECT_FALSE(menu->GetSettings().IsFullScreenChecked());
    std::filesystem::remove(ConfigurationPath());
    Click(menu->GetSettings().GetFullScreenBox(), *menu);
    EXPECT_TRUE(menu->GetSettings().IsFullScreenChecked());
    EXPECT_FALSE(std::filesystem::exists(ConfigurationPath()));

    // The change carried out: the box follows the setting again, and the next click is a change.
    config().SetCommandState("v_window_change_mode", KeystrelEngine::Config::kCommandIdle);
    Frame({menu});
    EXPECT_TRUE(menu->GetSettings().IsFullScreenChecked());
    Click(menu->GetSettings().GetFullScreenBox(), *menu);
    EXPECT_FALSE(config().v_fullscreen);
    EXPECT_TRUE(IsRaised("v_window_change_mode"));
    EXPECT_NE(SavedConfiguration().find("v_fullscreen 0"), std::string::npos);
    for (int frame = 0; frame < 3; ++frame)
        Frame({menu});
    EXPECT_FALSE(menu->GetSettings().IsFullScreenChecked()); // kept while the change is pending
    EXPECT_EQ(menu->m_result, GameFramework::RequestNone);
}

TEST_F(GUIGameLogicMenuWindowTest, TheRelaxBoxSavesTheProfileAndExitAndReturnReport)
{
    OpenFully(*menu);
    for (bool relax : {true, false}) {
        Click(menu->GetRelaxBox(), *menu);
        EXPECT_EQ(ann->GetFlag(Profile::RelaxMode), relax);
        EXPECT_EQ(SavedRelaxMode(), relax);
    }
    EXPECT_FALSE(IsRaised("v_window_change_mode"));

    Press(kExit);
    EXPECT_EQ(menu->m_result, GameFramework::RequestLeaveLevel);
    EXPECT_FALSE(menu->IsGivingPanelBack());
    Frame({menu});
    EXPECT_EQ(menu->m_result, GameFramework::RequestNone);
    Press(kReturn);
    EXPECT_EQ(menu->m_result, GameFramework::RequestResume);
    EXPECT_TRUE(menu->IsGivingPanelBack());
}

TEST_F(GUIGameLogicMenuWindowTest, CloseStoresTheVolumesAndTheConfigurationAndReturnGivesThePanelBackAfterTheFold)
{
    player->SetSoundVolume(0.5f);
    OpenFully(*menu);
    Click(*menu->GetSettings().GetSoundSlider().GetIncreaseButton(), *menu);
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.55f);
    Press(kReturn);
    std::filesystem::remove(ConfigurationPath());

    menu->Close();
    EXPECT_FALSE(menu->IsShown());
    EXPECT_FLOAT_EQ(SavedVolumes().sound, 0.55f);
    EXPECT_NE(SavedConfiguration().find("g_sound_volume 0.55"), std::string::npos);
    EXPECT_EQ(background->releases, 0);
    const int frames = FramesUntil([&] { return background->releases == 1; }, {menu});
    EXPECT_LE(frames, 40);
    EXPECT_TRUE(manager->m_frameFree);
    EXPECT_FALSE(menu->GetFrame()->GetModelWindow()->IsVisible());
    EXPECT_FALSE(menu->HoldsPanel());
}

} // namespace

TEST_F(GUIGameLogicMenuWindowTest, TheSliderSoundRunsThroughADragWhileTheHiddenOptionsWindowIsUpdatedToo)
{
    Wispfold::GUIOptionsWindow options(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                       data->GetChildWindow());
    OpenFully(*menu);
    Point(*menu->GetSettings().GetSoundSlider().GetThumb());
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    for (int frame = 0; frame < 4; ++frame) {
        Frame({&options, menu}); // every window, in the game's order
        EXPECT_EQ(player->GetSoundState(Wispfold::GUISettingsControls::kSliderSound), KeystrelEngine::Sound::Playing)
            << frame;
    }
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
    Frame({&options, menu});
    Frame({&options, menu});
    EXPECT_NE(player->GetSoundState(Wispfold::GUISettingsControls::kSliderSound), KeystrelEngine::Sound::Playing);
}
