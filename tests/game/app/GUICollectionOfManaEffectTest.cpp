// The mana flights on the generated in-game models: a flight runs one second along its curve onto the mana bar
// and frees itself once its particles have died.
#include "game/app/GUICollectionOfManaEffect.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ShaderUser.h"
#include "game/app/GUIGameLogicProgress.h"
#include "platform/testing.h"
#include "tests/game/app/MenuFixture.h"

#include <cmath>
#include <limits>

using Wispfold::GUICollectionOfManaEffect;
using Wispfold::GUIGameLogicProgress;

namespace {

using namespace AppTesting;

constexpr const char* kManaBar = "game_logic\\mana";

class GUICollectionOfManaEffectTest : public MenuFixture
{
protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        bar = std::make_unique<GUIGameLogicProgress>(engine.get(), *data, 0.1f, kManaBar, data->GetChildWindow());
    }
    void TearDown() override
    {
        bar.reset();
        MenuFixture::TearDown();
    }
    std::unique_ptr<GUIGameLogicProgress> bar;
};

TEST_F(GUICollectionOfManaEffectTest, FlightFollowsItsCurveOntoTheBarAndFreesAfterItsParticles)
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
