// The first level of the generated catalogue on the GL back end at 800 x 600 with the in-game window over it: the
// board in the level's camera, the level and score panels, the mana and energy bars, the five buttons and a mana
// flight after the first swap that charged mana, with the guide greeting the player; the mana bar's glow over the
// bar, and the flight's end on it. Saved for people to look at.
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/SpriteGroup.h"
#include "game/app/GUICollectionOfManaEffect.h"
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
        if (IsSkipped() || HasFatalFailure())
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
    void Play(const Wispfold::Cell* at = nullptr, bool held = false, double seconds = kFrameTime)
    {
        PlatformTesting::AdvanceFakeClock(seconds);
        engine->Update();
        session->Drive(at, held);
        hud->Update();
        engine->EndFrame();
    }

    // The control's place, less a margin round its edge (GUI units are pixels here).
    KeystrelEngine::GUIRect Inside(GUIGameLogicWindow::ControlIndex index) const
    {
        const KeystrelEngine::Model& model = *hud->GetControl(index).GetWidget()->GetQuad();
        const KeystrelEngine::GUIPoint place = Wispfold::GUIControl::GetModelPosition(model);
        const KeystrelEngine::GUISize size = Wispfold::GUIControl::GetModelExtent(model);
        return {place.x + kMargin, place.y + kMargin, size.width - 2.0f * kMargin, size.height - 2.0f * kMargin};
    }

    // The pixels of the rectangle that differ between the two pictures.
    int Changed(const KeystrelEngine::Image& a, const KeystrelEngine::Image& b, KeystrelEngine::GUIRect rect) const
    {
        return ChangedPixels(a, b, OnScreen(*engine, rect), kSparkle);
    }

    // Its sparks are no longer drawn.
    static void PutOut(KeystrelEngine::ParticleSystem* sparks)
    {
        sparks->GetSpriteGroup()->GetModel()->m_flags &= ~KeystrelEngine::Model::kShown;
    }

    static constexpr float kMargin = 4.0f;
    static constexpr int kSparkle = 60;              // summed red, green and blue
    static constexpr double kStill = 0.001;          // seconds: the shortest frame, in which little else moves
    static constexpr double kGameFrame = 1.0 / 30.0; // seconds: a frame as the game runs them

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

    // The glow sparkles over the mana bar as it fills: put out, it leaves the bar plain.
    hud->GetManaBar().m_speed = 0.0f;
    PutOut(hud->GetGlow());
    Play(nullptr, false, kStill);
    EXPECT_GT(Changed(image, Grab("level_hud_without_glow.bmp"), Inside(GUIGameLogicWindow::kManaFrame)), 100);

    // The flights end on the mana bar: with the bar held still and its glow put out, the flights are all that
    // differs from the same screen with them put out too, at the game's own frame rate. They differ round the end
    // of their curve, inside the bar, and nowhere on the level panel and the menu button, the bar's mirror at the
    // top of the screen.
    for (int frame = 0; frame < 60 && !hud->GetFlights().front()->IsDone(); ++frame)
        Play(nullptr, false, kGameFrame);
    const KeystrelEngine::Image arrived = Grab("level_hud_flight_arrived.bmp");
    for (const auto& flight : hud->GetFlights())
        PutOut(flight->GetParticles());
    Play(nullptr, false, kStill);
    const KeystrelEngine::Image without = Grab("level_hud_without_flights.bmp");
    const KeystrelEngine::GUIRect fill = hud->GetManaBar().GetFillRect();
    // The square over the start of the bar's fill, where the curve ends, across the fill's height.
    const KeystrelEngine::GUIRect end{fill.x - fill.height / 2.0f, fill.y, fill.height, fill.height};
    EXPECT_GT(Changed(arrived, without, end), 100);
    EXPECT_EQ(Changed(arrived, without, Inside(GUIGameLogicWindow::kLevelPanel)), 0);
    EXPECT_EQ(Changed(arrived, without, Inside(GUIGameLogicWindow::kMenu)), 0);
}

} // namespace
