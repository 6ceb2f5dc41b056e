// The window on a real X server (Xvfb, 1920x1080, no window manager).
#include "engine/foundation/Window.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"

#include <SDL.h>
#include <functional>
#include <cstdlib>
#include <gtest/gtest.h>

using KeystrelEngine::Window;

namespace {

// The X server answers in its own time: pump its events until the condition holds or two seconds have passed.
bool Eventually(const std::function<bool()>& condition)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (condition())
            return true;
        SDL_Delay(10);
    }
    return false;
}

class WindowOnX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // `make test` runs these against its Xvfb; a bare ctest without a display has nothing to test against.
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        window = std::make_unique<Window>(&services.log, &services.config, "Quellhaven", nullptr, 0, false, 640, 480,
                                          false, true, 0, 0);
        ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    }

    PlatformTesting::WindowState State() const { return PlatformTesting::GetWindowState(window->m_handle); }

    TestSupport::EngineServices services;
    std::unique_ptr<Window> window;
};

TEST_F(WindowOnX11, SwitchesToTheWholeScreenAndBack)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(desktop.right, 1920);
    EXPECT_EQ(desktop.bottom, 1080);
    EXPECT_TRUE(Eventually([&] { return State().visible && State().width == 640; }));

    window->SetWindowedMode(1024, 768, true, 1920, 1080);
    EXPECT_TRUE(Eventually([&] { return State().width == 1920 && State().height == 1080; }));
    EXPECT_TRUE(State().fullScreen);

    window->SetWindowedMode(800, 600, false, 1920, 1080);
    EXPECT_TRUE(Eventually([&] { return State().width == 800 && State().height == 600; }));
    EXPECT_FALSE(State().fullScreen);
    EXPECT_TRUE(State().bordered);
}

TEST_F(WindowOnX11, CursorCallsMoveTheRealPointer)
{
    RECT rect;
    GetWindowRect(window->m_handle, &rect);
    ASSERT_TRUE(Eventually([&] { return State().visible; }));
    SetCursorPos(rect.left + 100, rect.top + 50);
    int x = 0, y = 0;
    EXPECT_TRUE(Eventually([&] {
        SDL_GetGlobalMouseState(&x, &y);
        return x == rect.left + 100 && y == rect.top + 50;
    })) << x
        << "," << y;
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, rect.left + 100);
}

} // namespace
