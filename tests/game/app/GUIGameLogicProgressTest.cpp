// The in-game bars and the mana flights on the generated in-game models: a bar shows its value as one frame of
// the fill's grid (first full, last empty) and moves toward its target at its speed without passing it; a flight
// runs one second along its curve onto the mana bar and frees itself once its particles have died.
#include "game/app/GUIGameLogicProgress.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ShaderUser.h"
#include "game/app/GUICollectionOfManaEffect.h"
#include "platform/testing.h"
#include "tests/game/app/MenuFixture.h"

#include <cmath>
#include <limits>

using Wispfold::GUICollectionOfManaEffect;
using Wispfold::GUIGameLogicProgress;

namespace {

using namespace AppTesting;

constexpr const char* kManaBar = "ui\\menus\\models\\game_logic\\mana";

class GUIGameLogicProgressTest : public MenuFixture
{
protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        bar = std::make_unique<GUIGameLogicProgress>(engine.get(), data.get(), 0.1f, kManaBar, data->GetChildWindow());
    }
    void TearDown() override
    {
        bar.reset();
        MenuFixture::TearDown();
    }
    // Frames of 0.1 s in which the bar moves toward the target.
    void Run(int frames, float target)
    {
        for (int i = 0; i < frames; ++i)
            AppFixture::Frame(kFrameTime, [&] { bar->Update(target); });
    }
    float ShownFrame() const { return bar->GetFill()->GetQuad()->GetShaderUser()->GetPosition(0); }
    std::uint32_t FrameCount() const { return bar->GetFill()->GetQuad()->GetShaderUser()->m_stages[0].m_frameCount; }

    std::unique_ptr<GUIGameLogicProgress> bar;
};

TEST_F(GUIGameLogicProgressTest, FillFrameRunsFromFullToEmptyAndNeverTakesABadValue)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float value;
        std::uint32_t frames;
        std::uint32_t expected;
    } cases[] = {{1.0f, 16, 0}, {0.0f, 16, 15}, {0.5f, 11, 5}, {0.9f, 11, 1}, {-0.5f, 16, 15},
                 {3.0f, 16, 0}, {kNaN, 16, 15}, {0.5f, 1, 0},  {0.5f, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GUIGameLogicProgress::FillFrame(c.value, c.frames), c.expected) << c.value << " of " << c.frames;
}

TEST_F(GUIGameLogicProgressTest, BarMovesAtItsSpeedStopsAtItsTargetAndShowsItsFrame)
{
    ASSERT_GT(FrameCount(), 1u) << "the fill's material is a grid";
    bar->Set(1.0f);
    EXPECT_TRUE(bar->GetFill()->IsVisible());
    EXPECT_TRUE(bar->GetCaption()->IsVisible());
    Run(1, 0.0f);
    EXPECT_NEAR(bar->GetValue(), 0.99f, 1e-5f);
    Run(3, 0.97f); // two frames reach it, the third holds there
    EXPECT_FLOAT_EQ(bar->GetValue(), 0.97f);
    bar->Set(0.0f);
    Run(1, 0.0f);
    EXPECT_FLOAT_EQ(bar->GetValue(), 0.0f);
    EXPECT_FLOAT_EQ(ShownFrame(), static_cast<float>(FrameCount() - 1)) << "empty bar, last frame";
    Run(2, 1.0f);
    EXPECT_NEAR(bar->GetValue(), 0.02f, 1e-5f);
    bar->Set(1.0f);
    Run(1, 1.0f);
    EXPECT_FLOAT_EQ(ShownFrame(), 0.0f) << "full bar, first frame";

    data->GetChildWindow()->SetVisible(false);
    Run(2, 0.0f);
    EXPECT_FLOAT_EQ(bar->GetValue(), 1.0f) << "a hidden bar stands";
    data->GetChildWindow()->SetVisible(true);
    bar->HideFill();
    EXPECT_FALSE(bar->GetFill()->IsVisible());
    EXPECT_FALSE(bar->GetCaption()->IsVisible());
}

TEST_F(GUIGameLogicProgressTest, FlightFollowsItsCurveOntoTheBarAndFreesAfterItsParticles)
{
    GUICollectionOfManaEffect flight(engine.get(), data->GetChildWindow(), bar.get(), data.get());
    EXPECT_TRUE(flight.IsDone());
    flight.Update();
    EXPECT_EQ(flight.GetTime(), 0.0f) << "a done flight stands";

    flight.Start({100.0f, 500.0f});
    EXPECT_TRUE(flight.GetParticles()->m_emitting);
    EXPECT_FALSE(flight.IsFree());
    const KeystrelEngine::GUIRect fill = bar->GetFillRect();
    const KeystrelEngine::GUIPoint end{fill.x, fill.y + fill.height * 0.5f};
    const auto step = [&] { AppFixture::Frame(kFrameTime, [&] { flight.Update(); }); };
    for (int i = 0; i < 5; ++i)
        step();
    // Half way: a quarter of the start, half of the bend, a quarter of the end.
    const KeystrelEngine::Vector3 middle = flight.GetParticles()->m_position;
    EXPECT_NEAR(middle.x, 0.25f * 100.0f + 0.5f * (end.x - 100.0f) + 0.25f * end.x, 0.01f);
    EXPECT_NEAR(middle.y, 0.25f * 500.0f + 0.5f * (end.y + 100.0f) + 0.25f * end.y, 0.01f);
    EXPECT_FALSE(flight.IsDone());
    for (int i = 0; i < 6; ++i)
        step();
    EXPECT_TRUE(flight.IsDone());
    EXPECT_FALSE(flight.GetParticles()->m_emitting);
    EXPECT_FLOAT_EQ(flight.GetTime(), 1.0f);
    EXPECT_NEAR(flight.GetParticles()->m_position.x, end.x, 0.01f);
    EXPECT_NEAR(flight.GetParticles()->m_position.y, end.y, 0.01f);
    EXPECT_TRUE(AppFixture::FramesUntil([&] { return flight.IsFree(); }, 400, kFrameTime))
        << "the last particles die out";
}

} // namespace
