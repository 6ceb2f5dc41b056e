// The main menu over the generated models: the greeting typed as its title, each button's request with START's
// two, the captions' fonts by button state, and the buttons held back while the menu unfolds.
#include "game/app/GUIMainMenuWindow.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "framework/GUITextPrinter.h"
#include "framework/WindowRequest.h"
#include "game/app/Profile.h"
#include "tests/game/app/MenuWindowFixture.h"

#include "platform/testing.h"

#include <SDL_mouse.h>

using Wispfold::GUIMainMenuWindow;
using Wispfold::Profile;

namespace {

using namespace AppTesting;

class GUIMainMenuWindowTest : public MenuWindowFixture
{
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        profiles->m_current = profiles->AddProfile(u"Ann");
        menu = std::make_unique<GUIMainMenuWindow>(engine.get(), player.get(), profiles.get(), data.get(),
                                                   manager.get(), data->GetChildWindow());
    }

    void TearDown() override
    {
        menu.reset();
        MenuWindowFixture::TearDown();
    }

    Profile& Current() const { return *static_cast<Profile*>(profiles->m_current); }
    KeystrelEngine::GUIButton& Button(GUIMainMenuWindow::Button button) const
    {
        return *menu->GetButton(button)->GetButton();
    }

    std::unique_ptr<GUIMainMenuWindow> menu;
};

TEST_F(GUIMainMenuWindowTest, TheTitleGreetsTheCurrentPlayerAndIsTypedOnceTheMenuAppears)
{
    menu->Open();
    const std::u16string greeting = engine->m_gui->m_texts->GetText("MAIN_MENU_WELCOME", -1) + u", Ann!";
    EXPECT_EQ(menu->GetTitle(), greeting);
    OpenFully(*menu);
    for (int frame = 0; frame < 80 && !background->printer->IsFinished(); ++frame)
        Step(*menu);
    EXPECT_EQ(background->printer->GetShownText(), greeting);
}

TEST_F(GUIMainMenuWindowTest, EachButtonAsksForItsWindowAndStartForTheIntroductionWhileItIsPending)
{
    menu->Open();
    OpenFully(*menu);
    ASSERT_TRUE(Current().GetFlag(Profile::IntroductionPending)); // a new player's
    EXPECT_EQ(Click(*menu, Button(GUIMainMenuWindow::Start)), GUIMainMenuWindow::kRequestIntroduction);
    Current().SetFlag(Profile::IntroductionPending, false);
    EXPECT_EQ(Click(*menu, Button(GUIMainMenuWindow::Start)), GameFramework::RequestStart);

    const std::pair<GUIMainMenuWindow::Button, std::uint32_t> cases[] = {
        {GUIMainMenuWindow::HighScores, GameFramework::RequestHighScores},
        {GUIMainMenuWindow::Options, GameFramework::RequestOptions},
        {GUIMainMenuWindow::ChangeProfile, GameFramework::RequestProfiles},
        {GUIMainMenuWindow::ShowPlace, GUIMainMenuWindow::kRequestShowPlace},
        {GUIMainMenuWindow::Credits, GameFramework::RequestHelp},
        {GUIMainMenuWindow::Exit, GameFramework::RequestQuit},
    };
    for (const auto& [button, request] : cases) {
        SCOPED_TRACE(button);
        EXPECT_EQ(Click(*menu, Button(button)), request);
        Step(*menu);
        EXPECT_EQ(menu->m_result, 0u); // one frame only
    }
}

TEST_F(GUIMainMenuWindowTest, CaptionsAreOpaqueWhiteInTheFontOfTheButtonState)
{
    menu->Open();
    OpenFully(*menu);
    const KeystrelEngine::GUIButton& options = Button(GUIMainMenuWindow::Options);
    const auto captionFont = [&](const KeystrelEngine::GUIButton& button) {
        const auto& records = Texts(&button);
        EXPECT_EQ(records.size(), 1u);
        if (records.empty())
            return 0u;
        EXPECT_TRUE(records[0].isKey);
        EXPECT_EQ(records[0].flags, 3u);
        EXPECT_EQ(records[0].colour.r, 1.0f);
        EXPECT_EQ(records[0].colour.a, 1.0f);
        return records[0].fontId;
    };
    Point(options);
    Step(*menu);
    EXPECT_EQ(captionFont(options), 8u);
    EXPECT_EQ(captionFont(Button(GUIMainMenuWindow::Start)), 7u);
    EXPECT_EQ(Texts(&Button(GUIMainMenuWindow::Exit))[0].key, "MAIN_MENU_EXIT");
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    Step(*menu);
    Step(*menu);
    EXPECT_EQ(captionFont(options), 9u);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
    Step(*menu);
}

TEST_F(GUIMainMenuWindowTest, ButtonsStayDisabledWhileAnyControlUnfolds)
{
    menu->Open();
    for (int i = 0; i < GUIMainMenuWindow::ButtonCount; ++i)
        EXPECT_EQ(Button(static_cast<GUIMainMenuWindow::Button>(i)).IsEnabled(),
                  i == GUIMainMenuWindow::ShowPlace || i == GUIMainMenuWindow::Credits)
            << i;
    int unfolding = 0;
    for (int frame = 0; frame < 40 && menu->m_colour.a < 1.0f; ++frame) {
        Step(*menu);
        if (menu->IsAnyControlAnimating() && menu->GetFrameWidget()->IsVisible()) {
            ++unfolding;
            EXPECT_FALSE(Button(GUIMainMenuWindow::Start).IsEnabled()) << frame;
            EXPECT_EQ(Texts(&Button(GUIMainMenuWindow::Start))[0].fontId, 7u);
        }
    }
    EXPECT_GT(unfolding, 0);
    EXPECT_TRUE(Button(GUIMainMenuWindow::Start).IsEnabled());
    Point(Button(GUIMainMenuWindow::Start));
    menu->Close();
    Step(*menu);
    EXPECT_FALSE(Button(GUIMainMenuWindow::Start).IsEnabled());
}

} // namespace
