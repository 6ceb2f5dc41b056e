#include "engine/foundation/Controls.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"

#include <gtest/gtest.h>

using KeystrelEngine::Controls;

namespace {

struct FakeSystem
{
    FakeSystem()
    {
        PlatformTesting::ResetInput();
        PlatformTesting::UseFakeClock();
        SetCursorPos(100, 100);
    }
    ~FakeSystem() { PlatformTesting::UseRealClock(); }
};

// The base class fed by hand, as a back end would feed it.
class ControlsTest : public ::testing::Test
{
protected:
    // One frame of 0.1 s.
    void Frame()
    {
        controls.EndFrame();
        PlatformTesting::AdvanceFakeClock(0.1);
        timers.Update();
        controls.Update();
    }

    FakeSystem system;
    TestSupport::EngineServices services;
    KeystrelEngine::Window window{
        &services.log, &services.config, "Quellhaven", nullptr, 0, false, 640, 480, false, false, 10, 20};
    KeystrelEngine::TimerManager timers{true};
    Controls controls{&services.log, &timers, &services.config, &window};
};

TEST_F(ControlsTest, PressAndReleaseInOneFrameCountForThatFrame)
{
    controls.SetKeyState("SPACE", true);
    controls.SetKeyState("SPACE", false);
    EXPECT_TRUE(controls.IsKeyPressed("SPACE"));
    EXPECT_TRUE(controls.IsKeyDown("SPACE"));
    Frame();
    EXPECT_FALSE(controls.IsKeyPressed("SPACE"));
    EXPECT_FALSE(controls.IsKeyDown("SPACE"));
}

TEST_F(ControlsTest, HeldKeyIsPressedInItsFirstFrameOnly)
{
    controls.SetKeyState("MOUSE1", true);
    EXPECT_TRUE(controls.IsKeyPressed("MOUSE1"));
    EXPECT_TRUE(controls.IsAnyMouseButtonDown());
    for (int frame = 0; frame < 3; ++frame) {
        Frame();
        controls.SetKeyState("MOUSE1", true); // reported again while held
        EXPECT_FALSE(controls.IsKeyPressed("MOUSE1"));
        EXPECT_TRUE(controls.IsKeyDown("MOUSE1"));
    }
    controls.SetKeyState("MOUSE1", false);
    EXPECT_FALSE(controls.IsKeyDown("MOUSE1"));
    EXPECT_FALSE(controls.IsAnyMouseButtonDown());
}

TEST_F(ControlsTest, NamesMatchInAnyCase)
{
    controls.SetKeyState("ESCAPE", true);
    controls.SetKeyState("", true); // the right bracket
    controls.SetKeyState("escape2", true);
    EXPECT_TRUE(controls.IsKeyDown("escape"));
    EXPECT_TRUE(controls.IsKeyDown(""));
    EXPECT_FALSE(controls.IsKeyDown("F13"));
    EXPECT_FALSE(controls.IsKeyPressed("escape2"));
    EXPECT_FALSE(controls.IsAnyMouseButtonDown());

    Frame();
    EXPECT_FALSE(controls.IsAnyKeyPressed());
    controls.SetKeyState("Q", true);
    EXPECT_TRUE(controls.IsAnyKeyPressed());
    controls.SetKeyState("q", true); // the back end's names are exact
    controls.SetKeyState("Q", false);
    controls.SetKeyState("ESCAPE", false);
    controls.SetKeyState("", false);
    Frame();
    EXPECT_FALSE(controls.IsAnyKeyDown());
}

TEST_F(ControlsTest, WheelShowsForOneFrameOnly)
{
    controls.m_wheel = 120;
    controls.Update();
    EXPECT_EQ(controls.m_wheel, 120);
    controls.m_wheel = 240; // reported again by the back end
    controls.Update();
    EXPECT_EQ(controls.m_wheel, 0);
    controls.m_wheel = -120;
    controls.Update();
    EXPECT_EQ(controls.m_wheel, -120);
}

TEST_F(ControlsTest, MovingAwayFromTheUserIsPositiveUnlessInverted)
{
    SetCursorPos(100, 97);       // up on the screen
    controls.m_mouseDeltaY = -4; // up on the desk
    controls.Update();
    EXPECT_FLOAT_EQ(controls.m_cursorDeltaY, 3.0f);
    EXPECT_FLOAT_EQ(controls.m_mouseDeltaY, 4.0f);

    services.config.c_invert_mouse = true;
    SetCursorPos(102, 100);
    controls.m_mouseDeltaY = 5;
    controls.Update();
    EXPECT_FLOAT_EQ(controls.m_cursorDeltaX, 2.0f);
    EXPECT_FLOAT_EQ(controls.m_cursorDeltaY, 3.0f);
    EXPECT_FLOAT_EQ(controls.m_mouseDeltaY, 5.0f);
    EXPECT_EQ(controls.m_cursorY, 100);
}

TEST_F(ControlsTest, CursorSpeedScalesOnlyBeyondTheTolerance)
{
    controls.m_cursorSpeedX = 1.00005f;
    SetCursorPos(103, 100);
    controls.Update();
    EXPECT_EQ(controls.m_cursorX, 103);

    controls.m_cursorSpeedX = 2.0f;
    controls.m_cursorSpeedY = 2.0f;
    SetCursorPos(106, 99);
    controls.Update();
    EXPECT_FLOAT_EQ(controls.m_cursorDeltaX, 3.0f); // the measured movement stays unscaled
    EXPECT_EQ(controls.m_cursorX, 109);
    EXPECT_EQ(controls.m_cursorY, 98);
}

TEST_F(ControlsTest, CentringPutsTheCursorInTheMiddleOfTheWindow)
{
    controls.m_centreCursor = true;
    SetCursorPos(5, 5);
    controls.Update();
    EXPECT_EQ(controls.m_cursorX, 10 + 320);
    EXPECT_EQ(controls.m_cursorY, 20 + 240);
    SetCursorPos(10 + 330, 20 + 240);
    controls.Update();
    EXPECT_FLOAT_EQ(controls.m_cursorDeltaX, 10.0f);
    EXPECT_EQ(controls.m_cursorX, 330);
}

TEST_F(ControlsTest, InputLockLastsWhileKeysAreHeld)
{
    controls.m_inputLock = true;
    Frame();
    EXPECT_FALSE(controls.m_inputLock);

    controls.SetKeyState("ENTER", true);
    controls.m_inputLock = true;
    EXPECT_FALSE(controls.IsKeyDown("ENTER"));
    EXPECT_FALSE(controls.IsAnyKeyDown());
    Frame();
    EXPECT_TRUE(controls.m_inputLock);
    controls.SetKeyState("ENTER", false);
    Frame();
    EXPECT_FALSE(controls.m_inputLock);

    // A key message of this frame keeps the lock too.
    controls.m_inputLock = true;
    controls.EndFrame();
    window.AddKeyEvent('A', false);
    controls.Update();
    EXPECT_TRUE(controls.m_inputLock);
    Frame();
    EXPECT_FALSE(controls.m_inputLock);
}

TEST_F(ControlsTest, InputLockOfAKeyWhoseReleaseWasLostEndsAfterTwoSeconds)
{
    controls.SetKeyState("A", true); // its release never comes
    PlatformTesting::SetAsyncKeyState('A', true);
    controls.m_inputLock = true;
    for (int frame = 0; frame < 30; ++frame)
        Frame();
    EXPECT_TRUE(controls.m_inputLock); // the system still reports the key down

    PlatformTesting::SetAsyncKeyState('A', false);
    Frame();
    EXPECT_FALSE(controls.m_inputLock);
    EXPECT_TRUE(controls.IsKeyDown("A"));

    controls.m_inputLock = true;
    for (int frame = 0; frame < 19; ++frame)
        Frame();
    EXPECT_TRUE(controls.m_inputLock);
    Frame();
    Frame();
    EXPECT_FALSE(controls.m_inputLock);
}

TEST_F(ControlsTest, CursorDisplayCounterSettlesAtTenEitherWay)
{
    for (int frame = 0; frame < 15; ++frame)
        controls.Update();
    EXPECT_EQ(PlatformTesting::GetDisplayCount(), 10);

    controls.m_cursorVisible = false;
    controls.Update();
    EXPECT_EQ(PlatformTesting::GetDisplayCount(), -1);
    for (int frame = 0; frame < 15; ++frame)
        controls.Update();
    EXPECT_EQ(PlatformTesting::GetDisplayCount(), -10);
}

TEST(ControlsLifetime, DestructionShowsTheCursor)
{
    FakeSystem system;
    TestSupport::EngineServices services;
    KeystrelEngine::Window window{
        &services.log, &services.config, "Quellhaven", nullptr, 0, false, 640, 480, false, true, 0, 0};
    KeystrelEngine::TimerManager timers{true};
    {
        Controls controls{&services.log, &timers, &services.config, &window};
        controls.m_cursorVisible = false;
        controls.Update();
        EXPECT_LT(PlatformTesting::GetDisplayCount(), 0);
    }
    EXPECT_GE(PlatformTesting::GetDisplayCount(), 0);
}

} // namespace
