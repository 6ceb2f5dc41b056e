#include "engine/render/AnimationControl.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace KeystrelEngine;

namespace {

class AnimationControlTest : public ::testing::Test
{
protected:
    AnimationControl Make(std::uint32_t frameCount) { return AnimationControl(frameCount, nullptr, &m_timers); }

    // Plays the range of id from the given position without advancing it.
    static void PlaceAt(AnimationControl& control, std::uint32_t id, float position, bool looping)
    {
        control.m_currentAnimation = id;
        control.m_position = position;
        control.m_looping = looping;
        control.m_playing = false;
        control.Update();
    }

    static void ExpectFrames(const AnimationControl& control, std::uint32_t current, std::uint32_t next, float fraction)
    {
        EXPECT_EQ(control.m_currentFrame, current);
        EXPECT_EQ(control.m_nextFrame, next);
        EXPECT_NEAR(control.m_blendFraction, fraction, 1e-5);
    }

    TimerManager m_timers{true};
};

} // namespace

TEST_F(AnimationControlTest, ResolvesFramesOfForwardBackwardLoopingAndOnceRanges)
{
    AnimationControl fresh = Make(30);
    fresh.Update();
    ExpectFrames(fresh, 0, 1, 0.0f);
    AnimationControl single = Make(1);
    single.Update();
    ExpectFrames(single, 0, 0, 0.0f);

    // Once through frames 10 to 20 at 10 frames per second: the last frame after one second, then stopped.
    AnimationControl once = Make(30);
    once.AddAnimation(1, 10, 20);
    once.m_currentAnimation = 1;
    once.m_speed = 10.0f;
    once.m_playing = true;
    m_timers.m_frameTime = 0.1f;
    for (int frame = 0; frame < 9; ++frame) {
        once.Update();
        EXPECT_TRUE(once.m_playing);
    }
    EXPECT_EQ(once.m_currentFrame, 19u);
    once.Update();
    ExpectFrames(once, 20, 10, 0.0f);
    EXPECT_FALSE(once.m_playing);
    EXPECT_FLOAT_EQ(once.m_position, 10.0f);

    AnimationControl looping = Make(30);
    looping.AddAnimation(2, 0, 4);
    PlaceAt(looping, 2, 3.5f, true);
    ExpectFrames(looping, 3, 4, 0.5f);
    PlaceAt(looping, 2, 4.25f, true);
    ExpectFrames(looping, 0, 1, 0.25f);
    EXPECT_FLOAT_EQ(looping.m_position, 0.25f);

    // Backwards from 20 to 10: 2.25 frames below frame 20 is frame 17.75.
    AnimationControl backwards = Make(30);
    backwards.AddAnimation(3, 20, 10);
    PlaceAt(backwards, 3, 2.25f, true);
    ExpectFrames(backwards, 17, 18, 0.75f);

    // An id never registered plays frame 0 alone, and is registered by the update.
    AnimationControl unknown = Make(30);
    PlaceAt(unknown, 9, 0.0f, true);
    ExpectFrames(unknown, 0, 0, 0.0f);
    ASSERT_NE(unknown.GetAnimation(9), nullptr);
    EXPECT_EQ(unknown.GetAnimation(9)->m_lastFrame, 0u);
}

TEST_F(AnimationControlTest, RangesAreNeverReplacedAndCopiesNeedTheSameFrameCount)
{
    AnimationControl source = Make(60);
    EXPECT_EQ(source.GetAnimation(AnimationControl::kWholeAnimation)->m_lastFrame, 59u);
    EXPECT_EQ(source.GetAnimation(4), nullptr);
    source.AddAnimation(4, 40, 50);
    source.AddAnimation(4, 0, 10);
    EXPECT_EQ(source.GetAnimation(4)->m_firstFrame, 40u);
    source.m_currentAnimation = 4;
    source.m_position = 2.5f;
    source.m_looping = true;
    source.Update();

    AnimationControl same = Make(60);
    same = source;
    EXPECT_EQ(same.m_currentAnimation, 4u);
    EXPECT_EQ(same.m_currentFrame, 42u);
    EXPECT_FLOAT_EQ(same.m_blendFraction, 0.5f);
    EXPECT_TRUE(same.m_looping);
    ASSERT_NE(same.GetAnimation(4), nullptr);

    AnimationControl other = Make(61);
    other = source;
    EXPECT_EQ(other.m_currentAnimation, AnimationControl::kWholeAnimation);
    EXPECT_FLOAT_EQ(other.m_position, 0.0f);
    EXPECT_EQ(other.GetAnimation(4), nullptr);
}

TEST_F(AnimationControlTest, ControlWithoutFramesAndFullWidthRangesResolveWithoutDividingByZero)
{
    // A control of 0 frames spans every frame number.
    AnimationControl empty = Make(0);
    empty.m_looping = true;
    empty.Update();
    ExpectFrames(empty, 0, 1, 0.0f);
    PlaceAt(empty, AnimationControl::kWholeAnimation, 5000000000.0f, true);
    EXPECT_LT(empty.m_position, 4294967295.0f);
    EXPECT_LT(empty.m_currentFrame, 0xFFFFFFFFu);
    PlaceAt(empty, AnimationControl::kWholeAnimation, 5000000000.0f, false);
    ExpectFrames(empty, 0xFFFFFFFFu, 0, 0.0f);

    AnimationControl control = Make(10);
    control.AddAnimation(1, 0xFFFFFFFFu, 0);
    PlaceAt(control, 1, 0.0f, true);
    ExpectFrames(control, 0xFFFFFFFFu - 1, 0xFFFFFFFFu, 1.0f);
    PlaceAt(control, 1, 1.0f, false);
    ExpectFrames(control, 0xFFFFFFFEu - 1, 0xFFFFFFFEu, 1.0f);

    // A range of one frame stays on it, looping or not.
    control.AddAnimation(2, 7, 7);
    PlaceAt(control, 2, 3.75f, true);
    ExpectFrames(control, 7, 7, 0.0f);
    PlaceAt(control, 2, 3.75f, false);
    ExpectFrames(control, 7, 7, 0.0f);
}

TEST_F(AnimationControlTest, NegativeNonFiniteAndHugePositionsWrapIntoTheRange)
{
    AnimationControl control = Make(30);
    control.AddAnimation(1, 0, 4);
    PlaceAt(control, 1, -0.5f, true);
    ExpectFrames(control, 3, 4, 0.5f);
    EXPECT_FLOAT_EQ(control.m_position, 3.5f);
    PlaceAt(control, 1, -9.0f, true);
    EXPECT_FLOAT_EQ(control.m_position, 3.0f);

    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        PlaceAt(control, 1, bad, true);
        ExpectFrames(control, 0, 1, 0.0f);
        EXPECT_EQ(control.m_position, 0.0f);
    }

    // Far beyond the range: one wrap, no loop of subtractions (1e30 - 4 is 1e30 in float).
    PlaceAt(control, 1, 1e30f, true);
    EXPECT_GE(control.m_position, 0.0f);
    EXPECT_LT(control.m_position, 4.0f);
    EXPECT_LE(control.m_currentFrame, 3u);

    // A speed that drives the position to infinity, or not-a-number, leaves the control usable.
    control.m_position = 0.0f;
    control.m_looping = true;
    control.m_playing = true;
    control.m_speed = std::numeric_limits<float>::max();
    m_timers.m_frameTime = 0.1f;
    for (int frame = 0; frame < 3; ++frame) {
        control.Update();
        EXPECT_TRUE(std::isfinite(control.m_position));
        EXPECT_LE(control.m_nextFrame, 4u);
    }
    control.m_speed = std::numeric_limits<float>::quiet_NaN();
    control.Update();
    EXPECT_EQ(control.m_position, 0.0f);
}

TEST_F(AnimationControlTest, RandomPositionTakesOneGeneratorStepOverTheSpan)
{
    AnimationControl control = Make(100);
    control.AddAnimation(1, 20, 60);
    control.AddAnimation(2, 60, 20);
    RandomSeed = 0;
    control.SetRandomPosition(1); // the first output from seed 0 is 0
    EXPECT_FLOAT_EQ(control.m_position, 0.0f);
    control.SetRandomPosition(1); // then 21468
    EXPECT_FLOAT_EQ(control.m_position, 21468.0f / 32768.0f * 40.0f);
    EXPECT_EQ(RandomSeed, 3554416254u);

    RandomSeed = 0;
    RandomNext();
    control.SetRandomPosition(2); // a backwards range: the same span
    EXPECT_FLOAT_EQ(control.m_position, 21468.0f / 32768.0f * 40.0f);
    EXPECT_EQ(control.m_currentAnimation, AnimationControl::kWholeAnimation);
    EXPECT_FALSE(control.m_playing);

    control.SetRandomPosition(7); // unknown: registered as frame 0 alone
    EXPECT_FLOAT_EQ(control.m_position, 0.0f);
    EXPECT_NE(control.GetAnimation(7), nullptr);
}
