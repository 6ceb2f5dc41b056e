// The options window on the generated models and the recording device's display modes: the sliders open on the
// volumes and move them by more than a thousandth only, the arrows step through the device's sizes and stop at
// both ends, APPLY writes what changed and always saves, DEFAULTS stays open, CANCEL puts the volumes back, the
// slider sound follows a drag, and a mode list that lacks the current and the default size, or is empty.
#include "game/app/GUIOptionsWindow.h"
#include "engine/foundation/Config.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "engine/sound/Sound.h"
#include "framework/WindowRequest.h"
#include "platform/testing.h"
#include "tests/game/app/SettingsWindowFixture.h"

#include <filesystem>

using KeystrelEngine::GUIWindow;
using Wispfold::GUIOptionsWindow;

namespace {

using namespace AppTesting;

// The window's controls in the order it adds them after the frame.
enum Control : std::size_t
{
    ModeText = 4,
    LeftArrow,
    RightArrow,
    ApplyButton,
    DefaultsButton,
    CancelButton
};

class GUIOptionsWindowTest : public SettingsWindowFixture
{
protected:
    template <class Window = GUIOptionsWindow> Window& MakeOptions()
    {
        auto window = std::make_unique<Window>(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                               data->GetChildWindow());
        Window& made = *window;
        windows.push_back(std::move(window));
        options = &made;
        return made;
    }

    const GUIWindow& Widget(Control control) const { return *options->GetControls()[control]->GetWidget(); }
    KeystrelEngine::GUIScroll& SoundSlider() const { return options->GetSettings().GetSoundSlider(); }
    KeystrelEngine::GUIScroll& MusicSlider() const { return options->GetSettings().GetMusicSlider(); }
    using SettingsWindowFixture::Press;
    // A click on the control; the result stays readable until the next frame.
    void Press(Control control) { Click(Widget(control), *options); }

    // The mode text of one frame; empty when none is shown.
    std::u16string ShownMode()
    {
        const std::vector<KeystrelEngine::GUITextRecord> texts = FrameTexts(*options, Widget(ModeText));
        if (texts.empty())
            return {};
        EXPECT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].fontId, GUIOptionsWindow::kModeFont);
        EXPECT_EQ(texts[0].flags, 3u);
        EXPECT_FALSE(texts[0].isKey);
        return texts[0].text;
    }

    GUIOptionsWindow* options = nullptr;
};

TEST_F(GUIOptionsWindowTest, SlidersOpenOnTheVolumesAndPassOnlyChangesAboveAThousandth)
{
    player->SetSoundVolume(0.37f);
    config().SetValue("g_music_volume", "1.5"); // the player's setter would have clamped it
    MakeOptions();
    OpenFully(*options);
    EXPECT_EQ(SoundSlider().GetPosition(), 370u);
    EXPECT_EQ(SoundSlider().m_positionCount, 1001u);
    EXPECT_EQ(MusicSlider().GetPosition(), 1000u);
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.37f);
    EXPECT_FLOAT_EQ(player->GetMusicVolume(), 1.0f); // the slider's last position

    Click(*SoundSlider().GetIncreaseButton(), *options); // a twentieth of the range
    EXPECT_EQ(SoundSlider().GetPosition(), 420u);
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.42f);

    // A volume between two positions stays while the slider is within a thousandth of it.
    player->SetSoundVolume(0.4204f);
    Frame({options});
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.4204f);
    SoundSlider().SetPosition(422); // as a drag leaves it
    Frame({options});
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.422f);
    EXPECT_EQ(options->m_result, GameFramework::RequestNone);
}

TEST_F(GUIOptionsWindowTest, ArrowsStepThroughTheDeviceSizesAndStopAtBothEnds)
{
    MakeOptions();
    const std::vector<GameFramework::VideoModeEntry>& modes = options->GetVideoModes();
    ASSERT_GE(modes.size(), 3u);
    EXPECT_EQ(modes.front().text, "640x480");
    EXPECT_EQ(modes.back().text, "1920x1080"); // the desktop's
    OpenFully(*options);
    EXPECT_EQ(ShownMode(), u"800x600");

    for (int press = 0; press < 2; ++press) {
        Press(LeftArrow);
        EXPECT_EQ(ShownMode(), u"640x480");
    }
    for (std::size_t press = 0; press < modes.size(); ++press)
        Press(RightArrow);
    EXPECT_EQ(ShownMode(), u"1920x1080");
    EXPECT_EQ(options->m_selected, modes.size() - 1);
    EXPECT_EQ(options->m_result, GameFramework::RequestNone);
}

TEST_F(GUIOptionsWindowTest, ApplyWritesWhatChangedRaisesTheModeUpdateOnlyThenAndAlwaysSaves)
{
    struct Case
    {
        const char* name;
        std::vector<Control> presses; // before APPLY
        bool clickFullScreen;
        const char* mode;
        bool fullScreen;
        bool raised;
    };
    const Case cases[] = {
        {"unchanged", {}, false, "800x600x32", false, false},
        {"a larger mode", {RightArrow}, false, "1024x768x32", false, true},
        {"there and back", {RightArrow, LeftArrow}, false, "800x600x32", false, false},
        {"full screen", {}, true, "800x600x32", true, true},
    };
    MakeOptions();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        config().v_mode = "800x600x32";
        config().v_fullscreen = false;
        config().SetCommandState("g_update_video_mode", KeystrelEngine::Config::kCommandIdle);
        std::filesystem::remove(ConfigurationPath());
        player->SetSoundVolume(0.25f);
        player->SetMusicVolume(0.5f);
        OpenFully(*options);
        for (Control control : c.presses)
            Press(control);
        if (c.clickFullScreen) {
            Click(options->GetSettings().GetFullScreenBox(), *options);
            Frame({options}); // the box keeps the player's click
            EXPECT_TRUE(options->GetSettings().IsFullScreenChecked());
        }
        Press(ApplyButton);
        EXPECT_EQ(options->m_result, GameFramework::RequestBack);
        EXPECT_EQ(config().v_mode, c.mode);
        EXPECT_EQ(config().v_fullscreen, c.fullScreen);
        EXPECT_EQ(IsRaised("g_update_video_mode"), c.raised);
        EXPECT_NE(SavedConfiguration().find(std::string("v_mode ") + c.mode), std::string::npos);
        EXPECT_FLOAT_EQ(SavedVolumes().sound, 0.25f);
        EXPECT_FLOAT_EQ(SavedVolumes().music, 0.5f);

        options->Close();
        FramesUntil([&] { return manager->m_frameFree; }, {options});
    }
}

TEST_F(GUIOptionsWindowTest, DefaultsStayOpenAndCancelPutsTheVolumesBackAndWritesNothing)
{
    config().v_mode = "1024x768x32";
    player->SetSoundVolume(0.2f);
    player->SetMusicVolume(0.3f);
    MakeOptions();
    OpenFully(*options);
    EXPECT_EQ(ShownMode(), u"1024x768");
    EXPECT_FALSE(options->GetSettings().IsFullScreenChecked());

    Press(DefaultsButton);
    for (int frame = 0; frame < 5; ++frame)
        Frame({options});
    EXPECT_EQ(options->m_result, GameFramework::RequestNone);
    EXPECT_TRUE(options->IsShown());
    EXPECT_EQ(ShownMode(), u"800x600"); // the default mode
    EXPECT_TRUE(options->GetSettings().IsFullScreenChecked());
    EXPECT_EQ(SoundSlider().GetPosition(), 1000u);
    EXPECT_EQ(MusicSlider().GetPosition(), 1000u);
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 1.0f);

    Press(CancelButton);
    EXPECT_EQ(options->m_result, GameFramework::RequestBack);
    options->Close(); // the controls went back too, so the fold keeps the volumes
    FramesUntil([&] { return manager->m_frameFree; }, {options});
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.2f);
    EXPECT_FLOAT_EQ(player->GetMusicVolume(), 0.3f);
    EXPECT_EQ(options->GetVideoModes()[options->m_selected].text, "1024x768");
    EXPECT_FALSE(options->GetSettings().IsFullScreenChecked());
    EXPECT_EQ(config().v_mode, "1024x768x32");
    EXPECT_FALSE(config().v_fullscreen);
    EXPECT_FALSE(IsRaised("g_update_video_mode"));
}

TEST_F(GUIOptionsWindowTest, TheSliderSoundPlaysWhileTheSoundSliderIsDraggedOnly)
{
    MakeOptions();
    OpenFully(*options);
    const auto sliderSound = [&] { return player->GetSoundState(Wispfold::GUISettingsControls::kSliderSound); };
    for (KeystrelEngine::GUIScroll* slider : {&SoundSlider(), &MusicSlider()}) {
        const bool sounds = slider == &SoundSlider();
        Point(*slider->GetThumb());
        Press(*options);
        EXPECT_TRUE(slider->IsPressed());
        Frame({options});
        EXPECT_EQ(sliderSound() == KeystrelEngine::Sound::Playing, sounds);
        Release(*options);
        Frame({options});
        EXPECT_NE(sliderSound(), KeystrelEngine::Sound::Playing);
    }
}

// Sizes that are neither the current mode's nor the default's.
class GUIOptionsWindowOddModesTest : public GUIOptionsWindowTest
{
protected:
    GUIOptionsWindowOddModesTest()
    {
        std::vector<PlatformTesting::ScriptedDriver> drivers = PlatformTesting::DefaultDisplayDrivers();
        drivers[0].modes = {{1280, 1024, 32}, {640, 480, 16}, {1024, 768, 32}};
        PlatformTesting::SetDisplayDrivers(drivers);
    }
    ~GUIOptionsWindowOddModesTest() override { PlatformTesting::SetDisplayDrivers({}); }
};

// A window whose device offered nothing.
class OptionsWindowWithoutModes : public GUIOptionsWindow
{
public:
    template <class... Arguments>
    explicit OptionsWindowWithoutModes(Arguments... arguments) : GUIOptionsWindow(arguments...)
    {
        m_videoModes.clear();
    }
};

TEST_F(GUIOptionsWindowOddModesTest, AnUnlistedModeSelectsTheFirstAndAnEmptyListShowsAndChangesNoMode)
{
    MakeOptions();
    config().v_mode = "1000x700x32";
    OpenFully(*options);
    EXPECT_EQ(ShownMode(), u"640x480");
    Press(LeftArrow);
    Press(ApplyButton);
    EXPECT_EQ(config().v_mode, "640x480x32");
    EXPECT_TRUE(IsRaised("g_update_video_mode"));
    options->Close();
    FramesUntil([&] { return manager->m_frameFree; }, {options});

    config().SetCommandState("g_update_video_mode", KeystrelEngine::Config::kCommandIdle);
    config().v_mode = "1000x700x32";
    MakeOptions<OptionsWindowWithoutModes>();
    OpenFully(*options);
    EXPECT_EQ(ShownMode(), u"");
    Press(LeftArrow);
    Press(RightArrow);
    EXPECT_EQ(options->m_selected, 0u);
    Press(ApplyButton);
    EXPECT_EQ(options->m_result, GameFramework::RequestBack);
    EXPECT_EQ(config().v_mode, "1000x700x32");
    EXPECT_FALSE(IsRaised("g_update_video_mode"));
}

} // namespace
