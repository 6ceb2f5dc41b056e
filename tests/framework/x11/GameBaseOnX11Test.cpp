// The game base's window-mode change on a real X server (Xvfb, 1920x1080, no window manager): the request that
// the window raises reaches the render system in the third frame, which then runs full screen on the desktop.
#include "engine/foundation/Config.h"
#include "engine/foundation/Window.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "tests/framework/ShellGame.h"

#include <SDL.h>

using KeystrelEngine::Config;

namespace {

class GameBaseOnX11 : public FrameworkTesting::ShellFixture
{
protected:
    void SetUp() override
    {
        // The fixture's game was made on `make test`'s Xvfb.
        ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
        PlatformTesting::SetDesktopSize(0, 0); // the X server's own desktop
    }

    PlatformTesting::WindowState State() const { return PlatformTesting::GetWindowState(game->m_window->m_handle); }

    // Without a window manager the focus comes and goes as the X server pleases; with the focus pause off every
    // frame runs in full.
    void Frame()
    {
        game->m_window->m_minimiseWhenInactive = false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        game->Frame();
    }
};

TEST_F(GameBaseOnX11, WindowedToFullScreenAfterTheThirdFrame)
{
    auto& render = static_cast<KeystrelEngine::RenderSystem_D3D7&>(*game->m_renderSystem);
    ASSERT_FALSE(render.GetCurrentDevice()->fullScreen);
    const int windowedWidth = State().width;
    EXPECT_LT(windowedWidth, 1920);

    // What the window's Alt+Enter does: the setting flips and the change is requested.
    game->m_config->SetValue("v_fullscreen", "1");
    game->m_config->SetCommandState("v_window_change_mode", Config::kCommandRaised);
    Frame();
    Frame();
    EXPECT_FALSE(render.GetCurrentDevice()->fullScreen) << "two frames keep the mode";
    EXPECT_EQ(State().width, windowedWidth);
    Frame();
    EXPECT_TRUE(render.GetCurrentDevice()->fullScreen);
    EXPECT_FALSE(render.IsModeChangePending());
    EXPECT_TRUE(game->m_window->m_fullScreen);
    bool desktopSized = false;
    for (int attempt = 0; attempt < 200 && !desktopSized; ++attempt) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        desktopSized = State().width == 1920 && State().height == 1080;
        SDL_Delay(10);
    }
    EXPECT_TRUE(desktopSized) << State().width << "x" << State().height;
    EXPECT_TRUE(State().fullScreen);
}

} // namespace
