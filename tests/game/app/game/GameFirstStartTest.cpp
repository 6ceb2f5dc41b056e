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

bool WelcomeShown(TestedGame& game)
{
    return Welcome(game) && Welcome(game)->m_shown && Welcome(game)->m_colour.a >= 1.0f;
}

// Holds once the frames have passed since it was first asked.
std::function<bool(TestedGame&)> After(int frames)
{
    return [frames](TestedGame&) mutable { return --frames < 0; };
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
    std::u16string current;
    const int exitCode = Play({
        {"welcome", WelcomeShown, [](TestedGame&) { PlatformTesting::InjectText("A"); }},
        {"A typed", After(2), [&](TestedGame& game) { AppTesting::PointAt(game.Window(), ok(game)); }},
        {"on OK", After(1), mouse(true)},
        {"OK held", After(1), [](TestedGame&) { PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, true); }},
        {"A erased", After(1),
         [&](TestedGame& game) {
             EXPECT_FALSE(ok(game).IsEnabled());
             PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, false);
             PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
         }},
        {"released on the disabled OK", After(2), [](TestedGame&) { PlatformTesting::InjectText("B"); }},
        {"B typed", After(10),
         [&](TestedGame& game) {
             EXPECT_TRUE(ok(game).IsEnabled());
             EXPECT_TRUE(WelcomeShown(game)) << "the welcome stays";
             EXPECT_TRUE(game.m_profileManager->GetProfiles().empty());
             EXPECT_EQ(Welcome(game)->GetEntry().GetEditBox()->GetEditBox()->GetText(), u"B");
         }},
        {"pressed anew", Always, mouse(true)},
        {"released", After(1), mouse(false)},
        {"main menu", MainMenuShown, [&](TestedGame& game) { current = game.m_profileManager->m_current->GetName(); }},
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(current, u"B");
}

} // namespace
