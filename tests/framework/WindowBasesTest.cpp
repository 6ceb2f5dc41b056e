// The bases of the game's windows: each clears its request at its update and keeps what it was opened with; the
// options window lists the video modes and applies the player's choices; the in-game menu switches full screen;
// the profile windows check the entered names.
#include "framework/GUIContinueGameLogicWindowBase.h"
#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIExitWindowBase.h"
#include "framework/GUIGameCompleteWindowBase.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHelpWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUILogosWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIProfileNameConflictWindowBase.h"
#include "framework/GUIProfilesWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIStageCompleteWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/HighScoresTable.h"
#include "framework/WindowRequest.h"
#include "tests/framework/WindowBaseFixture.h"

#include <vector>

using namespace GameFramework;
using KeystrelEngine::Config;

namespace {

using WindowBaseTest = FrameworkTesting::WindowBaseFixture;

// Leaves a request in the window and expects its update to clear it.
template <class Window> void ExpectUpdateClears(Window& window)
{
    window.m_result = RequestStart;
    window.Update();
    EXPECT_EQ(window.m_result, RequestNone) << typeid(Window).name();
}

template <class... Windows> void ExpectUpdatesClear(Windows&... windows)
{
    (ExpectUpdateClears(windows), ...);
}

TEST_F(WindowBaseTest, EveryBaseClearsItsRequestAndKeepsWhatItWasOpenedWith)
{
    KeystrelEngine::Engine* e = engine.get();
    GUILogosWindowBase logos(e);
    GUIWelcomeWindowBase welcome(e);
    GUIExitWindowBase exit(e);
    GUIMainMenuWindowBase mainMenu;
    GUIProfilesWindowBase profilesWindow(e);
    GUINewProfileWindowBase newProfile(profiles.get());
    GUIRenameProfileWindowBase rename(profiles.get());
    GUIDeleteProfileWindowBase deleteProfile(e);
    GUIProfileNameConflictWindowBase conflict;
    GUIStartGameLogicWindowBase start;
    GUIContinueGameLogicWindowBase continueGame(e);
    GUIHighScoresWindowBase highScores(e);
    GUIOptionsWindowBase options(e, player.get(), profiles.get());
    GUIHelpWindowBase help;
    GUIGameLogicWindowBase gameLogic(e, profiles.get());
    GUIGameLogicPauseWindowBase pause(e);
    GUIGameLogicMenuWindowBase menu(e, player.get(), profiles.get());
    GUIGameLogicMenuExitWindowBase menuExit(e);
    GUIGameLogicGameExitWindowBase gameExit(e);
    GUILevelCompleteWindowBase levelComplete(e);
    GUIStageCompleteWindowBase stageComplete(e);
    GUIGameCompleteWindowBase gameComplete(e);
    GUIGameOverWindowBase gameOver(e);
    ExpectUpdatesClear(logos, welcome, exit, mainMenu, profilesWindow, newProfile, rename, deleteProfile, conflict,
                       start, continueGame, highScores, options, help, gameLogic, pause, menu, menuExit, gameExit,
                       levelComplete, stageComplete, gameComplete, gameOver);

    exit.Open(3);
    conflict.Open(4);
    start.Open(8);
    deleteProfile.Open(u"Anna");
    EXPECT_EQ(exit.m_callerCode, 3);
    EXPECT_EQ(conflict.m_callerCode, 4);
    EXPECT_EQ(start.m_mode, 8);
    EXPECT_EQ(deleteProfile.m_profileName, u"Anna");

    // Back from the name-conflict window the rename window keeps the name it was first opened with.
    rename.Open(true, u"Anna");
    rename.Open(false, u"");
    EXPECT_EQ(rename.m_profileName, u"Anna");

    const HighScoreEntry entry{u"Anna", 120, 1};
    highScores.Open(10, &entry);
    EXPECT_EQ(highScores.m_mode, 10);
    EXPECT_EQ(highScores.m_highlighted, &entry);
    highScores.Open(2, nullptr);
    EXPECT_EQ(highScores.m_highlighted, nullptr);
}

// Exposes what the game logic window keeps.
class GameLogicWindow : public GUIGameLogicWindowBase
{
public:
    using GUIGameLogicWindowBase::GUIGameLogicWindowBase;
    ProfileBase* Profile() const { return m_profile; }
};

TEST_F(WindowBaseTest, GameLogicWindowKeepsTheCurrentProfileUntilClosed)
{
    ProfileBase* anna = profiles->AddProfile(u"Anna");
    profiles->m_current = anna;
    config->v_fullscreen = true;
    GameLogicWindow window(engine.get(), profiles.get());
    window.Open(nullptr);
    EXPECT_EQ(window.Profile(), anna);
    EXPECT_TRUE(window.m_fullScreen);
    window.SetActive(true);
    EXPECT_TRUE(window.m_active);
    window.Close();
    EXPECT_EQ(window.Profile(), nullptr);
}

// Lets the window's update run with and without a pending window-mode change.
template <class Window> void ExpectFullScreenFollowsTheSetting(Window& window, Config& config)
{
    const char* const name = typeid(Window).name();
    config.v_fullscreen = true;
    window.Update();
    EXPECT_TRUE(window.m_fullScreen) << name;
    window.m_fullScreen = false;
    config.SetCommandState("v_window_change_mode", Config::kCommandRaised);
    window.Update();
    EXPECT_FALSE(window.m_fullScreen) << name << ": the player's choice waits for the change";
    config.SetCommandState("v_window_change_mode", Config::kCommandIdle);
    window.Update();
    EXPECT_TRUE(window.m_fullScreen) << name;
}

TEST_F(WindowBaseTest, FullScreenChoiceFollowsTheSettingExceptWhileAModeChangeIsPending)
{
    GUIOptionsWindowBase options(engine.get(), player.get(), profiles.get());
    GUIGameLogicWindowBase gameLogic(engine.get(), profiles.get());
    GUIGameLogicMenuWindowBase menu(engine.get(), player.get(), profiles.get());
    ExpectFullScreenFollowsTheSetting(options, *config);
    ExpectFullScreenFollowsTheSetting(gameLogic, *config);
    ExpectFullScreenFollowsTheSetting(menu, *config);
}

class OptionsWindowTest : public WindowBaseTest
{
protected:
    OptionsWindowTest()
    {
        config->RegisterVariable("g_update_video_mode", "", Config::TypeCommand, false, nullptr, false);
        profiles->m_current = profiles->AddProfile(u"Anna");
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const VideoModeEntry& entry : options.GetVideoModes())
            texts.push_back(entry.text);
        return texts;
    }

    void AddModes(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sizes)
    {
        for (const auto& [width, height] : sizes)
            options.AddVideoMode(width, height);
    }

    bool UpdateRaised() const { return config->GetCommandState("g_update_video_mode") == Config::kCommandRaised; }

    GUIOptionsWindowBase options{engine.get(), player.get(), profiles.get()};
};

TEST_F(OptionsWindowTest, ListsEachSizeOnceSortedAndOpensOnTheCurrentOrTheDefaultSize)
{
    AddModes({{800, 600}, {640, 480}, {1024, 768}, {800, 600}});
    EXPECT_EQ(Texts(), (std::vector<std::string>{"640x480", "800x600", "1024x768"}));
    options.AddVideoMode(1024, 600);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"640x480", "800x600", "1024x600", "1024x768"}));

    config->v_mode = "1024X768x16";
    options.Open();
    EXPECT_EQ(options.m_selected, 3u);
    config->v_mode = "1280x1024x32"; // not listed: the default's size, 800x600
    options.Open();
    EXPECT_EQ(options.m_selected, 1u);
}

TEST_F(OptionsWindowTest, WithoutTheCurrentAndTheDefaultSizeTheFirstEntryIsSelected)
{
    AddModes({{1024, 768}, {640, 480}});
    config->v_mode = "1280x1024x16";
    options.Open();
    EXPECT_EQ(options.m_selected, 0u);
    options.Apply();
    EXPECT_EQ(config->v_mode, "640x480x16");
    EXPECT_TRUE(UpdateRaised());
}

TEST_F(OptionsWindowTest, WithAnEmptyListApplyChangesNoMode)
{
    config->v_mode = "1280x1024x16";
    options.Open();
    EXPECT_EQ(options.m_selected, 0u);
    options.Apply();
    EXPECT_EQ(config->v_mode, "1280x1024x16");
    EXPECT_FALSE(UpdateRaised());
}

TEST_F(OptionsWindowTest, ApplyWritesWhatChangedAndAlwaysSavesTheConfigurationAndTheVolumes)
{
    AddModes({{800, 600}, {1024, 768}});
    config->v_mode = "800X600x32";
    options.Open();
    player->SetSoundVolume(0.25f);
    player->SetMusicVolume(0.5f);
    ForgetConfigFile();
    options.Apply();
    EXPECT_EQ(config->v_mode, "800X600x32") << "the same mode in other letters is no change";
    EXPECT_FALSE(UpdateRaised());
    EXPECT_NE(ConfigFile().find("v_mode 800X600x32"), std::string::npos);
    const ProfileVolumes saved = SavedVolumes(*profiles->m_current);
    EXPECT_FLOAT_EQ(saved.sound, 0.25f);
    EXPECT_FLOAT_EQ(saved.music, 0.5f);

    options.m_selected = 1;
    options.Apply();
    EXPECT_EQ(config->v_mode, "1024x768x32");
    EXPECT_TRUE(UpdateRaised());
    EXPECT_NE(ConfigFile().find("v_mode 1024x768x32"), std::string::npos);

    config->SetCommandState("g_update_video_mode", Config::kCommandIdle);
    options.m_fullScreen = !config->v_fullscreen;
    options.Apply();
    EXPECT_EQ(config->v_fullscreen, options.m_fullScreen);
    EXPECT_TRUE(UpdateRaised());
}

TEST_F(OptionsWindowTest, DefaultsAndCancelSetTheModeAndTheVolumes)
{
    AddModes({{640, 480}, {800, 600}, {1024, 768}});
    config->v_mode = "1024x768x16";
    player->SetSoundVolume(0.2f);
    player->SetMusicVolume(0.3f);
    options.Open();
    player->SetSoundVolume(0.9f);
    player->SetMusicVolume(0.9f);
    options.RestoreVolumes();
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.2f);
    EXPECT_FLOAT_EQ(player->GetMusicVolume(), 0.3f);

    options.ResetToDefaults();
    EXPECT_EQ(options.m_selected, 1u);
    EXPECT_TRUE(options.m_fullScreen);
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), kDefaultSoundVolume);
    EXPECT_FLOAT_EQ(player->GetMusicVolume(), kDefaultMusicVolume);
    options.Apply();
    EXPECT_EQ(config->v_mode, "800x600x32") << "the default's depth comes with it";
    EXPECT_TRUE(config->v_fullscreen);
}

TEST_F(WindowBaseTest, InGameMenuSwitchesFullScreenOnlyWhenChangedAndStoresTheVolumesAtClose)
{
    profiles->m_current = profiles->AddProfile(u"Anna");
    GUIGameLogicMenuWindowBase menu(engine.get(), player.get(), profiles.get());
    config->v_fullscreen = false;
    menu.Open();
    ForgetConfigFile();
    menu.ApplyFullScreen();
    EXPECT_EQ(config->GetCommandState("v_window_change_mode"), Config::kCommandIdle);
    EXPECT_EQ(ConfigFile(), "");

    menu.m_fullScreen = true;
    menu.ApplyFullScreen();
    EXPECT_TRUE(config->v_fullscreen);
    EXPECT_EQ(config->GetCommandState("v_window_change_mode"), Config::kCommandRaised);
    EXPECT_NE(ConfigFile().find("v_fullscreen 1"), std::string::npos);

    player->SetSoundVolume(0.125f);
    player->SetMusicVolume(0.75f);
    ForgetConfigFile();
    menu.Close();
    EXPECT_NE(ConfigFile(), "");
    const ProfileVolumes saved = SavedVolumes(*profiles->m_current);
    EXPECT_FLOAT_EQ(saved.sound, 0.125f);
    EXPECT_FLOAT_EQ(saved.music, 0.75f);
}

class ProfileWindowTest : public WindowBaseTest
{
protected:
    std::vector<std::u16string> Names() const
    {
        std::vector<std::u16string> names;
        for (const auto& profile : profiles->GetProfiles())
            names.push_back(profile->GetName());
        return names;
    }

    TestSupport::Bytes List() const { return TestSupport::ReadFile(userFolder + "/profiles.pmf"); }
};

TEST_F(ProfileWindowTest, NewProfileRefusesATakenNameAndMakesANewOneCurrent)
{
    GUINewProfileWindowBase window(profiles.get());
    ASSERT_TRUE(window.CreateProfile(u"Anna"));
    EXPECT_EQ(profiles->m_current->GetName(), u"Anna");
    const TestSupport::Bytes list = List();
    ASSERT_TRUE(window.CreateProfile(u"Bert"));
    EXPECT_EQ(profiles->m_current->GetName(), u"Bert");
    EXPECT_NE(List(), list) << "the list names the new current profile";

    const TestSupport::Bytes before = List();
    EXPECT_FALSE(window.CreateProfile(u"aNNA"));
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Anna", u"Bert"}));
    EXPECT_EQ(profiles->m_current->GetName(), u"Bert");
    EXPECT_EQ(List(), before);
}

TEST_F(ProfileWindowTest, RenameAcceptsACaseChangeWithoutRenamingAndRefusesAnotherProfilesName)
{
    profiles->AddProfile(u"Bert");
    profiles->m_current = profiles->AddProfile(u"Anna");
    GUIRenameProfileWindowBase window(profiles.get());
    window.Open(true, u"Anna");
    EXPECT_TRUE(window.RenameProfile(u"ANNA"));
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Anna", u"Bert"}));
    EXPECT_FALSE(window.RenameProfile(u"bert"));
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Anna", u"Bert"}));

    EXPECT_TRUE(window.RenameProfile(u"Carla"));
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Bert", u"Carla"}));
    EXPECT_EQ(profiles->m_current->GetName(), u"Carla");
    FrameworkTesting::PlainProfileManager reloaded(engine->m_log.get(), engine->m_files.get(), player.get(),
                                                   userFolder);
    reloaded.LoadAll();
    ASSERT_NE(reloaded.m_current, nullptr);
    EXPECT_EQ(reloaded.m_current->GetName(), u"Carla") << "the saved list names the renamed profile";

    profiles->m_current = nullptr;
    EXPECT_FALSE(window.RenameProfile(u"Dora")) << "no current profile, nothing to rename";
}

} // namespace
