#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Timer.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

using KeystrelEngine::Timer;
using KeystrelEngine::TimerManager;

namespace {

class TimerManagerTest : public ::testing::TestWithParam<bool>
{
protected:
    TimerManagerTest() { PlatformTesting::UseFakeClock(); }
    ~TimerManagerTest() override { PlatformTesting::UseRealClock(); }

    // One frame of the given length.
    void Frame(TimerManager& timers, double seconds)
    {
        PlatformTesting::AdvanceFakeClock(seconds);
        timers.Update();
    }
};

TEST_P(TimerManagerTest, FirstFrameIsClampedHoweverLongStartUpTook)
{
    TimerManager timers(GetParam());
    Frame(timers, 7.5);
    EXPECT_FLOAT_EQ(timers.m_frameTime, 0.1f);
}

TEST_P(TimerManagerTest, FramesAreClampedWhileFramesPerSecondCountRealTime)
{
    TimerManager timers(GetParam());
    Frame(timers, 0.5);
    EXPECT_FLOAT_EQ(timers.m_frameTime, 0.1f);
    Frame(timers, 0.0001);
    EXPECT_FLOAT_EQ(timers.m_frameTime, 0.001f);
    EXPECT_EQ(timers.m_framesPerSecond, 0u); // 0.5001 s so far
    Frame(timers, 0.6);
    EXPECT_EQ(timers.m_framesPerSecond, 3u);
}

TEST_P(TimerManagerTest, QuarterSecondFramesCountFourAtTheFourthFrame)
{
    TimerManager timers(GetParam());
    for (int frame = 1; frame <= 3; ++frame) {
        Frame(timers, 0.25);
        EXPECT_EQ(timers.m_framesPerSecond, 0u);
        EXPECT_FLOAT_EQ(timers.m_frameTime, 0.1f);
    }
    Frame(timers, 0.25); // the counted seconds reach exactly 1.0
    EXPECT_EQ(timers.m_framesPerSecond, 4u);
}

TEST_P(TimerManagerTest, FrameTimeKeepsItsMillisecondsAfterHoursOfPlay)
{
    TimerManager timers(GetParam());
    Frame(timers, 10 * 3600.0);
    Frame(timers, 0.017);
    EXPECT_NEAR(timers.m_frameTime, 0.017f, 0.0001f);
    Frame(timers, 0.033);
    EXPECT_NEAR(timers.m_frameTime, 0.033f, 0.0001f);
}

TEST_P(TimerManagerTest, SmoothedFrameTimeFollowsSlowlyButNeverFarAboveTheFrame)
{
    TimerManager timers(GetParam());
    timers.m_smoothFrameTime = true;
    Frame(timers, 0.05);
    EXPECT_NEAR(timers.m_frameTime, 0.05f, 1e-6f);
    Frame(timers, 0.01); // the average is 0.046, capped at 1.25 x 0.01
    EXPECT_NEAR(timers.m_frameTime, 0.0125f, 1e-6f);
    Frame(timers, 0.05); // the average goes on from 0.046, uncapped
    EXPECT_NEAR(timers.m_frameTime, (0.046f * 9 + 0.05f) * 0.1f, 1e-6f);
}

TEST_P(TimerManagerTest, StopwatchSkipsPausesAndStartsWhereItIsReset)
{
    Timer running(GetParam(), 0.0f);
    Timer paused(GetParam(), 0.0f);
    PlatformTesting::AdvanceFakeClock(1.0);
    paused.Pause(true);
    paused.Pause(true); // no change: the pause still began at 1 s
    PlatformTesting::AdvanceFakeClock(2.0);
    EXPECT_FLOAT_EQ(paused.GetTime(), 1.0f);
    paused.Pause(false);
    PlatformTesting::AdvanceFakeClock(0.5);
    EXPECT_FLOAT_EQ(running.GetTime(), 3.5f);
    EXPECT_FLOAT_EQ(paused.GetTime(), 1.5f);

    paused.Reset(5.0f);
    EXPECT_FLOAT_EQ(paused.GetTime(), 5.0f);
    PlatformTesting::AdvanceFakeClock(0.25);
    EXPECT_FLOAT_EQ(paused.GetTime(), 5.25f);
}

INSTANTIATE_TEST_SUITE_P(BothResolutions, TimerManagerTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "PerformanceCounter" : "Milliseconds"; });

TEST(Timer, MillisecondTimerReadsRightAcrossTheCounterWrap)
{
    constexpr std::int64_t kWrap = std::int64_t{1} << 32; // milliseconds
    PlatformTesting::UseFakeClock((kWrap - 400) * 1000000);
    Timer timer(false, 0.0f);
    PlatformTesting::AdvanceFakeClock(1.0);
    EXPECT_NEAR(timer.GetTime(), 1.0f, 1e-6f);
    PlatformTesting::UseRealClock();
}

TEST(TimerManager, FreedSlotsAreReusedLastFreedFirst)
{
    TimerManager timers(true);
    auto* first = new Timer(true, 0.0f);
    auto* second = new Timer(true, 0.0f);
    auto* third = new Timer(true, 0.0f);
    timers.AddTimer(first);
    timers.AddTimer(second);
    timers.AddTimer(third);
    ASSERT_EQ(timers.GetSlots().size(), 4u); // the master timer holds slot 0

    timers.DeleteTimer(first);
    timers.DeleteTimer(third);
    timers.DeleteTimer(third); // no longer in the pool: ignored
    timers.DeleteTimer(nullptr);
    EXPECT_EQ(timers.GetSlots()[1], nullptr);

    auto* fourth = new Timer(true, 0.0f);
    auto* fifth = new Timer(true, 0.0f);
    auto* sixth = new Timer(true, 0.0f);
    timers.AddTimer(fourth);
    timers.AddTimer(fifth);
    timers.AddTimer(sixth);
    const std::vector<Timer*> expected{timers.m_masterTimer, fifth, second, fourth, sixth};
    EXPECT_EQ(timers.GetSlots(), expected);
    // The manager deletes the timers still in its pool.
}

} // namespace
