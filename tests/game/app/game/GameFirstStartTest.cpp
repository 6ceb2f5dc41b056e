// The first start's welcome window as a player meets it: the mouse held on OK while the name is erased, so that
// OK turns disabled under it, and released there. That press has ended: the next letter typed makes OK usable
// again, but only a new click on it makes the profile.
#include "tests/game/app/AppFixture.h"
#include "tests/game/app/game/GameFixture.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIWelcomeWindow.h"
#include "platform/testing.h"

#include <SDL_mouse.h>

namespace {

using namespace GameTesting;

const Wispfold::GUIWelcomeWindow* Welcome(TestedGame& game)
{
    return static_cast<const Wispfold::GUIWelcomeWindow*>(game.m_welcomeWindow.get());
}

using GameFirstStart = GameFixture;

TEST_F(GameFirstStart, APressReleasedWhileOkIsDisabledNeverClicksIt)
{
    const auto ok = [](TestedGame & game) -> auto&
    {
        return *Welcome(game)->GetEntry().GetOkButton()->GetButton();
    };
    const auto mouse = [](bool down) {
        return [down](TestedGame&) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down); };
    };
    const auto welcomeShown = Shown(&TestedGame::m_welcomeWindow);
    std::u16string current;
    EXPECT_EQ(
        Play({
            {"welcome", welcomeShown, [](TestedGame&) { PlatformTesting::InjectText("A"); }},
            {"A typed", Frames(3), [&](TestedGame& game) { AppTesting::PointAt(game.Window(), ok(game)); }},
            {"on OK", NextFrame(), mouse(true)},
            {"OK held", NextFrame(), [](TestedGame&) { PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, true); }},
            {"A erased", NextFrame(),
             [&](TestedGame& game) {
                 EXPECT_FALSE(ok(game).IsEnabled());
                 PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, false);
                 PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
             }},
            {"released on the disabled OK", Frames(3), [](TestedGame&) { PlatformTesting::InjectText("B"); }},
            {"B typed", Frames(11),
             [&](TestedGame& game) {
                 EXPECT_TRUE(ok(game).IsEnabled());
                 EXPECT_TRUE(welcomeShown(game)) << "the welcome stays";
                 EXPECT_TRUE(game.m_profileManager->GetProfiles().empty());
                 EXPECT_EQ(Welcome(game)->GetEntry().GetEditBox()->GetEditBox()->GetText(), u"B");
             }},
            {"pressed anew", Always, mouse(true)},
            {"released", NextFrame(), mouse(false)},
            {"main menu", MainMenuShown,
             [&](TestedGame& game) { current = game.m_profileManager->m_current->GetName(); }},
        }),
        0);
    EXPECT_EQ(current, u"B");
}

} // namespace
