// Butterflies over the recording device with the engine's passes every frame: arrival, departure and recycling,
// wiggle, the swap's lift, flight and landing, idle flaps, the effects and the token they carry, and the random
// draws each motion makes.
#include "PoolFixture.h"

#include "engine/render/ShaderUser.h"
#include "game/play/ModelColour.h"

#include <cmath>
#include <numbers>

using KeystrelEngine::Model;
using KeystrelEngine::ParticleSystem;
using KeystrelEngine::Vector3;
using Wispfold::Item;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kHover = 1.1f * 2.0f; // above the target: 1.1 x the half height of the test butterfly
constexpr float kColourStep = 1.0f / 255;

class ItemTest : public TestSupport::PoolFixture
{
protected:
    static float Alpha(const Item& item) { return Wispfold::GetModelColour(*item.GetModel()).a; }
    static bool Emitting(const Item& item, Item::Effect effect) { return item.GetEffect(effect)->m_emitting; }
};

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST_F(ItemTest, AnArrivalFliesInFadingAndLandsUnmarkedAtTheHoverPoint)
{
    Item& item = *m_pool->GetFreeItem(1);
    EXPECT_EQ(item.GetModel(), nullptr) << "made at the first appearance";
    const Vector3 target{50, 20, 10};
    const Vector3 hover{50, 20, 10 + kHover};
    item.m_targetPosition = target;
    const std::vector<std::uint32_t> outputs = NextOutputs(2);
    const std::uint32_t seed = KeystrelEngine::RandomSeed;
    item.Appear();
    EXPECT_EQ(DrawsSince(seed), 2u) << "the animation point, then the heading";
    const float heading = 2.0f * kPi * static_cast<float>(outputs[1]) / 32768.0f;
    EXPECT_FLOAT_EQ(item.GetHeading(), heading);
    const Vector3 start = target + Vector3{100 * std::cos(heading), 100 * std::sin(heading), 100};
    ExpectNear(item.GetPosition(), start);

    const Model& model = *item.GetModel();
    EXPECT_TRUE(IsRegistered(&model));
    EXPECT_TRUE(Shown(model));
    EXPECT_EQ(model.m_flags & (Model::kDrawFirst | Model::kDrawLast), Model::kDrawLast);
    EXPECT_EQ(model.GetShaderUser()->m_flags, m_textures[1].m_flags) << "the colour's texture set";
    EXPECT_EQ(Alpha(item), 0.0f);
    EXPECT_EQ(AnimationOf(item).m_currentAnimation, 0u);
    EXPECT_TRUE(AnimationOf(item).m_looping && AnimationOf(item).m_playing);
    EXPECT_EQ(AnimationOf(item).m_speed, 60.0f);
    EXPECT_EQ(item.GetState(), Wispfold::kItemArriving);
    EXPECT_TRUE(item.IsBusy() && item.WantsShadow() && item.m_markedForDestruction);
    EXPECT_TRUE(Emitting(item, Item::kEffectArrival));
    EXPECT_FALSE(Emitting(item, Item::kEffectDeparture) || Emitting(item, Item::kEffectSwap));

    const float distance = (start - hover).Length();
    const int landingFrame = static_cast<int>(std::ceil(distance / (105 * 0.05f)));
    for (int frame = 1; frame < landingFrame; ++frame) {
        const float before = (item.GetPosition() - hover).Length();
        item.Wiggle(); // refused: the arrival ends unmarked all the same
        Frame(0.05f);
        ASSERT_EQ(item.GetState(), Wispfold::kItemArriving) << frame;
        EXPECT_NEAR(before - (item.GetPosition() - hover).Length(), 105 * 0.05f, 1e-3f);
        EXPECT_NEAR(Alpha(item), std::min(1.0f, 0.1f * static_cast<float>(frame)), kColourStep);
        EXPECT_TRUE(item.m_markedForDestruction);
        ExpectNear(item.GetEffect(Item::kEffectSwap)->m_position, model.m_boundingBox.m_centre);
        const float alpha = Alpha(item);
        EXPECT_NEAR(item.GetEffect(Item::kEffectArrival)->GetParameters().colour[0].a, 0.5f * alpha, 1e-6f);
        EXPECT_NEAR(item.GetEffect(Item::kEffectDeparture)->GetParameters().colour[5].a, 0.25f * alpha, 1e-6f);
    }
    const float countdown = 10.0f * static_cast<float>(NextOutputs(1)[0]) / 32768.0f;
    Frame(0.05f);
    EXPECT_EQ(m_draws, 1u) << "the idle countdown";
    EXPECT_NEAR(item.GetIdleCountdown(), countdown - 0.05f, 1e-4f);
    EXPECT_EQ(item.GetState(), Wispfold::kItemResting);
    ExpectNear(item.GetPosition(), hover, 0.0f);
    ExpectNear(model.m_boundingBox.m_centre, hover); // the model is centred on its position
    EXPECT_FALSE(item.m_markedForDestruction);
    EXPECT_TRUE(item.IsAtRest());
    EXPECT_EQ(AnimationOf(item).m_currentAnimation, 3u);
    EXPECT_FALSE(AnimationOf(item).m_playing);
    EXPECT_FALSE(Emitting(item, Item::kEffectArrival));
    EXPECT_TRUE(item.IsBusy()) << "busy until recycled";
}

// The departure fades out over 2.2 s while the butterfly flies off (the flight would last 400 / 105 s), its
// token fading with it; the same pool update recycles it into the first empty slot of the free list, without
// its token.
TEST_F(ItemTest, ADepartureEndsWhenFadedAndThePoolRecyclesTheButterflyIntoTheFirstEmptySlot)
{
    m_pool->FillPool(30);
    Landed(1, {0, 0, 0});
    Item& item = Landed(1, {40, 0, 0});
    ASSERT_EQ(m_pool->GetFreeItems()[15], nullptr);
    ASSERT_EQ(m_pool->GetFreeItems()[16], nullptr);
    const Wispfold::Bonus* token = item.m_bonus = m_bonuses->Create(Wispfold::BonusKind::ColorDestruction);

    const std::uint32_t seed = KeystrelEngine::RandomSeed;
    item.Release();
    EXPECT_EQ(DrawsSince(seed), 1u) << "the animation point";
    const float away = item.GetHeading() + kPi;
    const Vector3 direction = Vector3{100 * std::cos(away), 100 * std::sin(away), 50}.Normalized();
    ExpectNear(item.m_targetPosition, Vector3{40, 0, kHover} + direction * 400);
    EXPECT_EQ(item.GetState(), Wispfold::kItemLeaving);
    EXPECT_TRUE(Emitting(item, Item::kEffectDeparture));
    EXPECT_EQ(AnimationOf(item).m_speed, 60.0f);

    for (int frame = 1; frame <= 21; ++frame) {
        const Vector3 before = item.GetPosition();
        Frame(0.1f);
        ASSERT_EQ(item.GetState(), Wispfold::kItemLeaving) << frame;
        EXPECT_NEAR((item.GetPosition() - before).Length(), 10.5f, 1e-3f);
        const float alpha = std::clamp(2.2f - 0.1f * static_cast<float>(frame), 0.0f, 1.0f);
        EXPECT_NEAR(Alpha(item), alpha, kColourStep);
        EXPECT_NEAR(token->GetModel()->GetOwnWorldMatrix().m[3], item.GetPosition().x, 1e-3f);
    }
    EXPECT_NEAR(token->m_colour.a, 0.1f, kColourStep);
    Frame(0.1f);
    EXPECT_FALSE(item.IsBusy());
    EXPECT_TRUE(item.IsInUse());
    EXPECT_TRUE(item.m_markedForDestruction);
    EXPECT_EQ(item.m_bonus, nullptr);
    EXPECT_TRUE(m_bonuses->GetBonuses().empty());
    EXPECT_FALSE(Shown(*item.GetModel()));
    EXPECT_EQ(m_pool->GetFreeItems()[15], &item);
    EXPECT_EQ(m_pool->GetFreeItems()[16], nullptr);
    ExpectNear(item.GetPosition(), {}, 0.0f);
    for (const Item::Effect effect : {Item::kEffectArrival, Item::kEffectDeparture, Item::kEffectSwap}) {
        const ParticleSystem& system = *item.GetEffect(effect);
        EXPECT_FALSE(system.m_emitting);
        EXPECT_EQ(system.m_time, 0.0f);
        EXPECT_EQ(system.GetLastKey(), -1);
        EXPECT_EQ(system.GetAccumulator(), 0.0f);
    }
}

TEST_F(ItemTest, AButterflyReleasedBeforeItAppearedIsRecycledWithoutAFlight)
{
    m_pool->FillPool(30);
    Item& item = *m_pool->GetFreeItem(3);
    ASSERT_EQ(m_pool->GetFreeItems()[45], nullptr);
    const std::uint32_t seed = KeystrelEngine::RandomSeed;
    item.Release();
    EXPECT_EQ(DrawsSince(seed), 0u);
    EXPECT_TRUE(item.IsBusy());
    EXPECT_FALSE(item.IsInUse());
    EXPECT_TRUE(m_pool->AnyItemBusy());
    Frame(0.05f);
    EXPECT_EQ(m_pool->GetFreeItems()[45], &item);
    EXPECT_EQ(item.GetModel(), nullptr);
    EXPECT_FALSE(m_pool->AnyItemBusy());
    EXPECT_TRUE(m_pool->GetShadowManager().GetShadows().empty());
}

// Up while the lift plays, then down while it settles, then resting on the hover point itself: the settling
// takes one step fewer than the lift, as the lift's last step is taken in the frame that sees it end.
TEST_F(ItemTest, AWiggleLiftsAndSettles)
{
    Item& item = Landed(0, {0, 0, 0});
    const std::uint32_t seed = KeystrelEngine::RandomSeed;
    item.Wiggle();
    EXPECT_EQ(DrawsSince(seed), 0u);
    EXPECT_EQ(item.GetState(), Wispfold::kItemWiggling);
    EXPECT_EQ(AnimationOf(item).m_currentAnimation, 4u);
    EXPECT_TRUE(AnimationOf(item).m_playing && !AnimationOf(item).m_looping);
    std::vector<std::uint32_t> ranges{4};
    float peak = 0.0f;
    for (int frame = 0; frame < 100 && item.GetState() == Wispfold::kItemWiggling; ++frame) {
        Frame(0.05f);
        peak = std::max(peak, item.GetPosition().z);
        if (AnimationOf(item).m_currentAnimation != ranges.back())
            ranges.push_back(AnimationOf(item).m_currentAnimation);
    }
    EXPECT_EQ(ranges, (std::vector<std::uint32_t>{4, 2, 3}));
    EXPECT_EQ(item.GetState(), Wispfold::kItemResting);
    EXPECT_NEAR(peak, kHover + 8 * 65 * 0.05f, 1e-3f);
    ExpectNear(item.GetPosition(), {0, 0, kHover}, 0.0f);
}

// From a heading just above 0, the eight directions: along an axis when the move is mostly along it, else a
// diagonal; a target more than half a circle ahead is taken a whole circle back.
TEST_F(ItemTest, MoveToHeadsForOneOfEightDirectionsTakingTheShorterWay)
{
    for (KeystrelEngine::RandomSeed = 1; NextOutputs(2)[1] >= 2000; ++KeystrelEngine::RandomSeed) {
    }
    Item& item = Landed(0, {0, 0, 0});
    ASSERT_LT(item.GetHeading(), 0.4f);
    const Vector3 p = item.GetPosition();
    const struct
    {
        float dx, dy, heading;
    } cases[] = {
        {10, 0, kPi},        {-10, 0, 0},         {0, 10, -kPi / 2},      {0, -10, kPi / 2},
        {10, 4, kPi},        {4, 10, -kPi / 2},   {10, 10, -3 * kPi / 4}, {10, -10, 3 * kPi / 4},
        {-10, 10, -kPi / 4}, {-10, -10, kPi / 4}, {-10, -6, kPi / 4},     {6, -10, 3 * kPi / 4},
    };
    for (const auto& c : cases) {
        item.MoveTo(p + Vector3{c.dx, c.dy, 0});
        EXPECT_FLOAT_EQ(item.GetTargetHeading(), c.heading) << c.dx << ", " << c.dy;
    }
}

// Lift and turn (4), level flight (6), landing turn (5), rest (0); the landing turn draws twice.
TEST_F(ItemTest, ASwapLiftsFliesLevelAndLandsTurning)
{
    Item& item = Landed(2, {0, 0, 0});
    const Vector3 destination{40, 30, 0};
    std::uint32_t seed = KeystrelEngine::RandomSeed;
    item.MoveTo(destination);
    EXPECT_EQ(DrawsSince(seed), 0u);
    const float lifted = item.GetTargetHeading();
    std::vector<std::uint32_t> states{item.GetState()};
    float flightHeight = 0.0f;
    for (int frame = 0; frame < 500 && item.GetState() != Wispfold::kItemResting; ++frame) {
        const std::vector<std::uint32_t> outputs = NextOutputs(2);
        const float heading = item.GetHeading();
        item.Wiggle(); // refused: the swap ends on its destination all the same
        Frame(0.02f);
        const std::uint32_t state = item.GetState();
        if (state == states.back()) {
            if (state == Wispfold::kItemSwapFlight) {
                EXPECT_FLOAT_EQ(item.GetPosition().z, flightHeight) << "level";
                EXPECT_TRUE(Emitting(item, Item::kEffectSwap));
            }
            continue;
        }
        states.push_back(state);
        if (state == Wispfold::kItemSwapFlight) {
            EXPECT_EQ(item.GetHeading(), lifted);
            EXPECT_EQ(AnimationOf(item).m_currentAnimation, 0u);
            EXPECT_EQ(AnimationOf(item).m_speed, 30.0f);
            ExpectNear(item.m_targetPosition, destination, 0.0f);
            flightHeight = item.GetPosition().z;
            EXPECT_GT(flightHeight, kHover + 15);
        }
        if (state == Wispfold::kItemLanding) {
            EXPECT_EQ(m_draws, 2u);
            EXPECT_FLOAT_EQ(item.GetTargetHeading(), heading + static_cast<float>(outputs[1]) / 32768.0f * kPi / 2);
            EXPECT_FALSE(Emitting(item, Item::kEffectSwap));
            EXPECT_EQ(item.GetPosition().x, destination.x);
            EXPECT_EQ(item.GetPosition().y, destination.y);
        }
    }
    EXPECT_EQ(states, (std::vector<std::uint32_t>{4, 6, 5, 0}));
    EXPECT_EQ(item.GetHeading(), item.GetTargetHeading());
    EXPECT_TRUE(item.IsAtRest());
    EXPECT_FALSE(AnimationOf(item).m_playing);
    ExpectNear(item.GetPosition(), destination + Vector3{0, 0, kHover}, 0.0f);
}

// Resting butterflies flap again when their countdown runs out (one draw for the next wait, 2 to 10 s); a held
// one never does.
TEST_F(ItemTest, RestingButterfliesFlapNowAndThenButAHeldOneNever)
{
    Item& held = Landed(0, {0, 0, 0});
    Item& free = Landed(1, {40, 0, 0});
    held.m_held = true;
    const float heldCountdown = held.GetIdleCountdown();
    int flaps = 0;
    bool wasPlaying = false;
    for (int frame = 0; frame < 400; ++frame) {
        const float before = free.GetIdleCountdown();
        Frame(0.05f);
        EXPECT_FALSE(AnimationOf(held).m_playing);
        if (free.GetIdleCountdown() > before) {
            EXPECT_EQ(m_draws, 1u);
            EXPECT_GE(free.GetIdleCountdown(), 2.0f);
            EXPECT_LT(free.GetIdleCountdown(), 10.0f);
        }
        const bool playing = AnimationOf(free).m_playing;
        flaps += playing && !wasPlaying;
        wasPlaying = playing;
    }
    EXPECT_EQ(held.GetIdleCountdown(), heldCountdown);
    EXPECT_GE(flaps, 2);
    EXPECT_TRUE(held.IsAtRest() && free.IsAtRest());
}

// A token follows its butterfly in the butterfly's colour; once it has expired the butterfly drops it at the
// next pool update.
TEST_F(ItemTest, AButterflyCarriesItsTokenAndDropsItOnceExpired)
{
    Item& item = Landed(0, {10, 20, 0});
    Wispfold::Bonus* token = item.m_bonus = m_bonuses->Create(Wispfold::BonusKind::ItemDestruction);
    Frame(0.05f);
    const KeystrelEngine::Matrix4& world = token->GetModel()->GetOwnWorldMatrix();
    EXPECT_FLOAT_EQ(world.m[3], 10.0f);
    EXPECT_FLOAT_EQ(world.m[7], 20.0f);
    EXPECT_FLOAT_EQ(world.m[11], kHover);
    EXPECT_EQ(token->m_colour.a, 1.0f);
    token->m_age = 24.96f;
    Frame(0.05f);
    EXPECT_EQ(item.m_bonus, nullptr);
    EXPECT_TRUE(m_bonuses->GetBonuses().empty());
    EXPECT_TRUE(item.IsBusy());
}

} // namespace
