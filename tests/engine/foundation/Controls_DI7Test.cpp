#include "engine/foundation/Controls_DI7.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"

#include <gtest/gtest.h>
#include <memory>

using KeystrelEngine::Controls_DI7;
using PlatformTesting::InputCall;
using PlatformTesting::InputDevice;

namespace {

struct CleanInput
{
    CleanInput() { PlatformTesting::ResetInput(); }
    ~CleanInput() { PlatformTesting::ClearInputFailures(); }
};

class Controls_DI7Test : public ::testing::Test
{
protected:
    std::unique_ptr<Controls_DI7> Open()
    {
        return std::make_unique<Controls_DI7>(&services.log, &timers, &services.config, &window);
    }

    static void Frame(Controls_DI7& controls)
    {
        controls.EndFrame();
        controls.Update();
    }

    // A key pressed and released between two frames.
    static void Tap(SDL_Scancode key)
    {
        PlatformTesting::InjectKey(key, true);
        PlatformTesting::InjectKey(key, false);
    }

    static void MoveMouse(int times, int dx)
    {
        for (int i = 0; i < times; ++i)
            PlatformTesting::InjectMouseMotion(nullptr, 0, 0, dx, 0);
    }

    CleanInput clean;
    TestSupport::EngineServices services;
    KeystrelEngine::Window window{
        &services.log, &services.config, "Quellhaven", nullptr, 0, false, 640, 480, false, true, 0, 0};
    KeystrelEngine::TimerManager timers{true};
};

TEST_F(Controls_DI7Test, TwelveMouseEventsArriveAsEightThenFour)
{
    auto controls = Open();
    MoveMouse(12, 1);
    Frame(*controls);
    EXPECT_FLOAT_EQ(controls->m_mouseDeltaX, 8.0f);
    Frame(*controls);
    EXPECT_FLOAT_EQ(controls->m_mouseDeltaX, 4.0f);
    Frame(*controls);
    EXPECT_FLOAT_EQ(controls->m_mouseDeltaX, 0.0f);
}

TEST_F(Controls_DI7Test, BufferedKeysAndButtonsReportEveryChange)
{
    auto controls = Open();
    Tap(SDL_SCANCODE_P);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_RIGHT, true);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_RIGHT, false);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_MIDDLE, true);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_X1, true);
    Frame(*controls);
    EXPECT_TRUE(controls->IsKeyPressed("P"));
    EXPECT_TRUE(controls->IsKeyDown("P"));
    EXPECT_TRUE(controls->IsKeyPressed("MOUSE2"));
    EXPECT_TRUE(controls->IsKeyDown("MOUSE3"));
    EXPECT_TRUE(controls->IsKeyDown("MOUSE4"));
    EXPECT_FALSE(controls->IsKeyDown("MOUSE1"));

    Frame(*controls);
    EXPECT_FALSE(controls->IsKeyDown("P"));
    EXPECT_FALSE(controls->IsKeyDown("MOUSE2"));
    EXPECT_TRUE(controls->IsKeyDown("MOUSE3"));
}

TEST_F(Controls_DI7Test, KeysReportUnderTheirNames)
{
    auto controls = Open();
    PlatformTesting::InjectKey(SDL_SCANCODE_RIGHTBRACKET, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_SEMICOLON, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_KP_PERIOD, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_RCTRL, true);
    Frame(*controls);
    EXPECT_TRUE(controls->IsKeyDown(""));
    EXPECT_TRUE(controls->IsKeyDown(";"));
    EXPECT_TRUE(controls->IsKeyDown("NUMPAD_DELETE"));
    EXPECT_TRUE(controls->IsKeyDown("RCTRL"));
    EXPECT_FALSE(controls->IsKeyDown("LCTRL"));
    EXPECT_FALSE(controls->IsAnyMouseButtonDown());

    for (SDL_Scancode key :
         {SDL_SCANCODE_RIGHTBRACKET, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_RCTRL})
        PlatformTesting::InjectKey(key, false);
    Frame(*controls);
    EXPECT_FALSE(controls->IsAnyKeyDown());

    // Keys without a name: the Windows keys, the application key and the keypad's Enter.
    PlatformTesting::InjectKey(SDL_SCANCODE_LGUI, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_APPLICATION, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_KP_ENTER, true);
    Frame(*controls);
    EXPECT_FALSE(controls->IsAnyKeyDown());
}

TEST_F(Controls_DI7Test, KeyboardOverflowFallsBackToTheImmediateState)
{
    auto controls = Open();
    PlatformTesting::InjectKey(SDL_SCANCODE_A, true);
    Frame(*controls);
    ASSERT_TRUE(controls->IsKeyDown("A"));

    // Nine changes overflow the keyboard's eight: A's release is among the lost ones.
    PlatformTesting::InjectKey(SDL_SCANCODE_A, false);
    for (int i = 0; i < 3; ++i)
        Tap(SDL_SCANCODE_B);
    Tap(SDL_SCANCODE_C);
    PlatformTesting::InjectKey(SDL_SCANCODE_D, true);
    Frame(*controls);
    EXPECT_FALSE(controls->IsKeyDown("A"));
    EXPECT_FALSE(controls->IsKeyDown("B"));
    EXPECT_TRUE(controls->IsKeyPressed("D"));

    PlatformTesting::InjectKey(SDL_SCANCODE_D, false);
    Frame(*controls); // buffered again
    EXPECT_FALSE(controls->IsKeyDown("D"));
}

TEST_F(Controls_DI7Test, LostInputIsAcquiredAgainAndReadImmediately)
{
    auto controls = Open();
    PlatformTesting::InjectKey(SDL_SCANCODE_SPACE, true);
    PlatformTesting::FailInputCall(InputDevice::Keyboard, InputCall::GetDeviceData, DIERR_INPUTLOST);
    PlatformTesting::FailInputCall(InputDevice::Keyboard, InputCall::Acquire, DIERR_INPUTLOST, 2);
    PlatformTesting::FailInputCall(InputDevice::Mouse, InputCall::GetDeviceData, DIERR_INPUTLOST);
    PlatformTesting::FailInputCall(InputDevice::Mouse, InputCall::GetDeviceState, DIERR_INPUTLOST);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    MoveMouse(1, 5);
    Frame(*controls);
    EXPECT_TRUE(controls->IsKeyDown("SPACE"));
    EXPECT_FLOAT_EQ(controls->m_mouseDeltaX, 0.0f); // a failed buffered read moves nothing
    EXPECT_FALSE(controls->IsKeyDown("MOUSE1"));    // the state read failed too

    Frame(*controls);
    EXPECT_TRUE(controls->IsKeyDown("MOUSE1"));
}

TEST_F(Controls_DI7Test, ImmediateMouseAxesReplaceWhileBufferedOnesSum)
{
    {
        auto buffered = Open();
        MoveMouse(1, 3);
        MoveMouse(1, 4);
        PlatformTesting::InjectMouseWheel(1);
        Frame(*buffered);
        EXPECT_FLOAT_EQ(buffered->m_mouseDeltaX, 7.0f);
        EXPECT_EQ(buffered->m_wheel, 120);
        Frame(*buffered);
        EXPECT_EQ(buffered->m_wheel, 0);
    }
    PlatformTesting::FailInputCall(InputDevice::Mouse, InputCall::SetProperty, E_FAIL);
    auto immediate = Open();
    EXPECT_TRUE(services.Logged("Error: Failed to set the buffered mode, switching to the immediate mode"));
    MoveMouse(1, 3);
    MoveMouse(1, 4);
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    Frame(*immediate);
    EXPECT_FLOAT_EQ(immediate->m_mouseDeltaX, 7.0f);
    EXPECT_TRUE(immediate->IsKeyDown("MOUSE1"));
    MoveMouse(1, 2);
    Frame(*immediate);
    EXPECT_FLOAT_EQ(immediate->m_mouseDeltaX, 2.0f);

    // The keyboard stayed buffered: a tap between two frames is seen.
    Tap(SDL_SCANCODE_K);
    Frame(*immediate);
    EXPECT_TRUE(immediate->IsKeyPressed("K"));
}

TEST_F(Controls_DI7Test, KeyboardBufferFailureLeavesTheMouseBuffered)
{
    PlatformTesting::FailInputCall(InputDevice::Keyboard, InputCall::SetProperty, E_FAIL);
    auto controls = Open();
    Tap(SDL_SCANCODE_K);
    PlatformTesting::InjectKey(SDL_SCANCODE_L, true);
    MoveMouse(12, 1);
    Frame(*controls);
    EXPECT_FALSE(controls->IsKeyPressed("K")); // the immediate state does not see a tap
    EXPECT_TRUE(controls->IsKeyDown("L"));
    EXPECT_FLOAT_EQ(controls->m_mouseDeltaX, 8.0f);
}

TEST_F(Controls_DI7Test, DevicesThatCannotStartAreFatal)
{
    struct Case
    {
        InputDevice device;
        InputCall call;
        const char* message;
    };
    const Case cases[] = {
        {InputDevice::Keyboard, InputCall::DirectInputCreate, "Failed to create a DirectInput object"},
        {InputDevice::Keyboard, InputCall::CreateDevice, "Failed to obtain an interface to the system keyboard device"},
        {InputDevice::Mouse, InputCall::CreateDevice, "Failed to obtain an interface to the system mouse device"},
        {InputDevice::Mouse, InputCall::SetDataFormat, "Failed to set the data format"},
        {InputDevice::Keyboard, InputCall::SetCooperativeLevel, "Failed to set the cooperativity level"},
    };
    for (const Case& failure : cases) {
        PlatformTesting::FailInputCall(failure.device, failure.call, E_FAIL);
        try {
            Open();
            ADD_FAILURE() << failure.message;
        } catch (const KeystrelEngine::FatalError& error) {
            EXPECT_EQ(error.GetText(), failure.message);
        }
    }
    EXPECT_TRUE(services.Logged("PROGRAM ABORTING: Failed to set the cooperativity level"));
    EXPECT_NO_THROW(Open());
}

} // namespace
