// The upgrade pause over a running menu background: when it appears, the hint's delay measured in the
// character's silence, the click that only counts after the first second, and the report once the background's
// text area is back.
#include "game/app/GUIUpgradeWindow.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/GUITextPrinter.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"

#include <SDL_mouse.h>

using KeystrelEngine::GUIWindow;
using Wispfold::GUIUpgradeWindow;

namespace {

using namespace AppTesting;

class GUIUpgradeWindowTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\game_logic.ini");
        data = MakeSharedData();
        LoadSharedData(*data);
        MakeBackground();
        background->Start();
        ASSERT_TRUE(FramesUntil([&] {
            if (background->GetStartUpStep() == 3)
                background->SetSharedData(data.get());
            if (background->GetStartUpStep() == 4)
                background->SetMenusReady();
            return background->GetStartUpStep() >= 4 && background->IsFadeComplete();
        }));
        manager = std::make_unique<Wispfold::GUIMenuWindowManager>(background.get());
        character = engine->m_gui->CreateWindow(0, {}, {}, static_cast<const KeystrelEngine::Model*>(nullptr), nullptr);
        upgrade = std::make_unique<GUIUpgradeWindow>(engine.get(), manager.get(), background.get(), character);
    }

    void TearDown() override
    {
        upgrade.reset();
        manager.reset();
        background.reset();
        data.reset();
        AppFixture::TearDown();
    }

    // One frame of the window; the hint it added is kept.
    void Step()
    {
        Frame(kFrameTime, [&] {
            upgrade->Update();
            hints.clear();
            for (std::uint32_t i = 0; i < upgrade->GetWindow()->GetTextCount(); ++i)
                hints.push_back(upgrade->GetWindow()->GetTextRecord(i));
        });
    }
    void Mouse(bool down) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down); }
    // Frames until the window reports (at most 200); the report.
    std::uint32_t RunUntilReport()
    {
        for (int i = 0; i < 200 && upgrade->m_result == 0; ++i)
            Step();
        return upgrade->m_result;
    }
    bool Shown() const { return (upgrade->GetWindow()->GetFlags() & GUIWindow::kShown) != 0; }

    std::unique_ptr<Wispfold::GameData> data;
    std::unique_ptr<Wispfold::GUIMenuWindowManager> manager;
    GUIWindow* character = nullptr;
    std::unique_ptr<GUIUpgradeWindow> upgrade;
    std::vector<KeystrelEngine::GUITextRecord> hints;
};

TEST_F(GUIUpgradeWindowTest, AppearsOnceTheScreenIsFreeWithTheSceneAloneFromTheMainMenu)
{
    for (const std::int32_t mode : {GUIUpgradeWindow::kFromMainMenu, GUIUpgradeWindow::kFromLevelComplete}) {
        SCOPED_TRACE(mode);
        upgrade->Hide();
        background->ShowAll();
        ASSERT_TRUE(FramesUntil([&] { return background->IsFadeComplete(); }));
        manager->m_frameFree = false;
        upgrade->Open(mode);
        Step();
        EXPECT_FALSE(Shown()) << "a menu frame is still on screen";
        manager->m_frameFree = true;
        Step();
        EXPECT_TRUE(Shown());
        Step();
        // Mode 2 fades the text area out; mode 7 finds it as the level left it.
        EXPECT_EQ(background->GetTextAlpha() < 1.0f, mode == GUIUpgradeWindow::kFromMainMenu);
    }
}

TEST_F(GUIUpgradeWindowTest, TheHintWaitsForTwoAndAHalfSilentSecondsAndAnEarlyClickIsIgnored)
{
    manager->m_frameFree = true;
    upgrade->Open(GUIUpgradeWindow::kFromMainMenu);
    background->GetTextPrinter().SetText(u"A title"); // emptied once the text area has faded away
    character->SetVisible(true);                      // speaking: the clock stands
    for (int i = 0; i < 30; ++i)
        Step();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(upgrade->GetClock(), 0.0f);
    EXPECT_EQ(upgrade->GetHintAlpha(), 0.0f);
    character->SetVisible(false);

    Mouse(true); // held through the first second
    for (int i = 0; i < 19; ++i)
        Step();
    Mouse(false);
    EXPECT_TRUE(upgrade->IsActive());
    EXPECT_FLOAT_EQ(upgrade->GetClock(), 0.95f);
    while (upgrade->GetClock() < 2.5f - 0.01f) {
        Step();
        EXPECT_EQ(upgrade->GetHintAlpha(), 0.0f);
    }
    Step();
    Step();
    EXPECT_GT(upgrade->GetHintAlpha(), 0.0f);
    ASSERT_EQ(hints.size(), 1u);
    const KeystrelEngine::GUITextRecord& hint = hints[0];
    EXPECT_EQ(hint.key, "HIT_MOUSE_BUTTON_TO_CONTINUE");
    EXPECT_EQ(hint.flags, 1u);
    EXPECT_EQ(hint.fontId, 2u);
    EXPECT_EQ(hint.position.y, 12.0f);
    EXPECT_EQ(hint.colour.a, upgrade->GetHintAlpha());
    EXPECT_TRUE(background->GetTextPrinter().GetShownText().empty());
}

TEST_F(GUIUpgradeWindowTest, AClickBringsTheTextAreaBackAndTheWindowReportsByItsModeOnceItIs)
{
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {GUIUpgradeWindow::kFromMainMenu, GameFramework::RequestBack},
        {GUIUpgradeWindow::kFromLevelComplete, GUIUpgradeWindow::kRequestStageComplete},
    };
    manager->m_frameFree = true;
    for (const auto& [mode, request] : cases) {
        SCOPED_TRACE(mode);
        upgrade->Hide();
        upgrade->Open(mode);
        for (int i = 0; i < 25; ++i)
            Step();
        Mouse(true);
        Step();
        Mouse(false);
        EXPECT_FALSE(upgrade->IsActive());
        EXPECT_TRUE(background->IsTextAreaShown());
        EXPECT_EQ(upgrade->m_result, 0u) << "the text area is still fading in";
        EXPECT_EQ(RunUntilReport(), request);
        EXPECT_TRUE(background->IsFadeComplete());
    }
    upgrade->Hide();
    Step();
    EXPECT_FALSE(Shown());
    EXPECT_EQ(upgrade->m_result, 0u);
}

} // namespace
