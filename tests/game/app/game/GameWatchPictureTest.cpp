// A game that waits for ever is caught by the watch, which says what stands on the screen and keeps its picture:
// here the help window waits behind a main menu that stays on screen with every button dead.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/GameWatch.h"

#include "engine/gui/GUIButton.h"
#include "framework/GUIHelpWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "platform/testing.h"

namespace {

using namespace GameTesting;

class GameWatchPicture : public GameFixture
{
protected:
    GameWatchPicture() { PlatformTesting::UseRecordingDevice(false); }
};

TEST_F(GameWatchPicture, AStuckScreenIsDescribedAndKept)
{
    GameWatch watch("dead_menu");
    const auto deadMenu = [&](TestedGame& game) {
        game.windowsUpdatedProbe = [&] {
            for (const auto& control : Menu(game.m_mainMenuWindow).GetControls())
                if (KeystrelEngine::GUIButton* button = control->GetButton())
                    button->SetEnabled(false);
            watch.AfterFrame(game, 0);
        };
        game.m_helpWindow->Open();
    };
    EXPECT_EQ(Play({NewPlayer(true),
                    {"main menu", MainMenuShown, deadMenu},
                    {"stuck", [&](TestedGame&) { return watch.IsStuck(); }, {}, GameWatch::kQuietBound + 10}}),
              0);
    const auto failures = watch.GetFailures();
    ASSERT_EQ(failures.size(), 1u);
    const std::string& stuck = failures.at("never stuck");
    EXPECT_NE(stuck.find("no window takes input"), std::string::npos) << stuck;
    EXPECT_NE(stuck.find("main menu: open requested 0, shown 1"), std::string::npos) << stuck;
    EXPECT_NE(stuck.find("help: open requested 1, shown 0"), std::string::npos) << stuck;
    EXPECT_NE(stuck.find("picture dead_menu_frame_"), std::string::npos) << stuck;
}

} // namespace
