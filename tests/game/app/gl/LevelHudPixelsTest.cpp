// The first level of the generated catalogue on the GL back end at 800 x 600 with the in-game window over it: the
// board in the level's camera, the level and score panels, the mana and energy bars, the five buttons and a mana
// flight after the first swap that charged mana, with the guide greeting the player. Saved for people to look at.
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIGameLogicProgress.h"
#include "game/app/GUIGameLogicWindow.h"
#include "tests/game/app/LevelSession.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

namespace {

using namespace AppTesting;
using Wispfold::GUIGameLogicWindow;

class LevelHudPixels : public AppPixelFixture<MenuWindowFixture>
{
protected:
    void SetUp() override
    {
        AppPixelFixture::SetUp();
        if (IsSkipped())
            return;
        for (const char* table : {"game_logic", "character"})
            engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
        MakeCurrentProfile({0, 0}, {0, 0}, false);
        profiles->m_current->m_score = 12340;
        session = std::make_unique<LevelSession>(*engine, KeeperServices(), *player, *data, *profiles,
                                                 GameFramework::LevelId{0, 0}, data->GetChildWindow());
        hud = std::make_unique<GUIGameLogicWindow>(engine.get(), profiles.get(), data.get(), manager.get());
    }

    void TearDown() override
    {
        hud.reset();
        session.reset();
        MenuWindowFixture::TearDown();
    }

    // The game's frame: the level, then the window over it.
    void Play(const Wispfold::Cell* at = nullptr, bool held = false)
    {
        PlatformTesting::AdvanceFakeClock(kFrameTime);
        engine->Update();
        session->Drive(at, held);
        hud->Update();
        engine->EndFrame();
    }

    std::unique_ptr<LevelSession> session;
    std::unique_ptr<GUIGameLogicWindow> hud;
};

TEST_F(LevelHudPixels, TheFirstLevelWithTheInGameWindowOverIt)
{
    hud->Open(&session->Logic());
    for (int frame = 0; frame < 60 && hud->GetAlpha() < 1.0f; ++frame)
        Play();
    // The first swap that charges mana, caught while its flights are under way.
    ASSERT_TRUE(session->PlayUntilManaCharged([&](const Wispfold::Cell* cell, bool held) { Play(cell, held); }, 600));
    for (int frame = 0; frame < 4; ++frame)
        Play();

    const KeystrelEngine::Image image = Grab("level_hud.bmp");
    const auto drawn = [&](float x, float y) {
        const auto pixel =
            RenderTesting::PixelFromBottom(image, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
        return !(pixel[0] == 64 && pixel[1] == 0 && pixel[2] == 64);
    };
    EXPECT_TRUE(drawn(400.0f, 300.0f)) << "the board fills the middle";
    for (const auto index : {GUIGameLogicWindow::kLevelPanel, GUIGameLogicWindow::kScorePanel,
                             GUIGameLogicWindow::kManaFrame, GUIGameLogicWindow::kEnergyFrame}) {
        const KeystrelEngine::GUIWindow& panel = *hud->GetControl(index).GetWidget();
        const KeystrelEngine::GUIPoint corner = panel.GetAbsolutePosition();
        EXPECT_TRUE(drawn(corner.x + panel.m_size.width / 2.0f, corner.y + panel.m_size.height / 2.0f))
            << "control " << index;
    }
}

} // namespace
