#include "engine/foundation/Window.h"
#include "engine/foundation/Error.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

using KeystrelEngine::Config;
using KeystrelEngine::Window;
using PlatformTesting::WindowEvent;

namespace {

struct Options
{
    bool fullScreen = false;
    bool minimiseWhenInactive = false;
    bool centre = true;
    std::int32_t width = 640;
    std::int32_t height = 480;
    HWND parent = nullptr;
};

// A key event as code and whether it is a character.
using Event = std::pair<std::uint16_t, bool>;

std::vector<Event> Events(const Window& window)
{
    std::vector<Event> events;
    for (const Window::KeyEvent& event : window.GetKeyEvents())
        events.emplace_back(event.code, event.character);
    return events;
}

class WindowTest : public ::testing::Test
{
protected:
    WindowTest() { PlatformTesting::ResetInput(); }

    std::unique_ptr<Window> Open(const Options& options = {})
    {
        return std::make_unique<Window>(&services.log, &services.config, "Quellhaven 1.00", options.parent, 0,
                                        options.minimiseWhenInactive, options.width, options.height, options.fullScreen,
                                        options.centre, 40, 30);
    }

    // The message loop of the game: every waiting message goes to its window.
    static void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    bool Raised(const char* command) const
    {
        return services.config.GetCommandState(command) == Config::kCommandRaised;
    }

    void Handle(const char* command) { services.config.SetCommandState(command, Config::kCommandIdle); }

    TestSupport::EngineServices services;
};

TEST_F(WindowTest, ClosingRaisesExitAndKeepsTheWindow)
{
    auto window = Open();
    EXPECT_TRUE(services.Logged("Window creation:"));

    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::Close);
    Pump();
    EXPECT_TRUE(Raised("exit"));
    EXPECT_TRUE(IsWindow(window->m_handle));

    Handle("exit");
    PlatformTesting::InjectKey(SDL_SCANCODE_LALT, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_F4, true);
    Pump();
    EXPECT_TRUE(Raised("exit"));

    Handle("exit");
    PostMessageA(window->m_handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(Raised("exit"));
    EXPECT_TRUE(IsWindow(window->m_handle));

    const HWND handle = window->m_handle;
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(services.Logged("\nWindow destroying:"));
}

TEST_F(WindowTest, TypedCharactersArriveInTheAnsiCodePage)
{
    auto window = Open();
    PlatformTesting::InjectText("é");
    Pump();
    EXPECT_EQ(Events(*window), (std::vector<Event>{{0x00E9, true}}));

    // Cyrillic exists only in the Russian code page.
    window->ClearKeyEvents();
    PlatformTesting::InjectText("ж");
    Pump();
    EXPECT_FALSE(window->HasKeyEvents());
    PlatformTesting::SetAnsiCodePage(1251);
    PlatformTesting::InjectText("ж");
    Pump();
    PlatformTesting::SetAnsiCodePage(1252);
    EXPECT_EQ(Events(*window), (std::vector<Event>{{0x0436, true}}));
}

TEST_F(WindowTest, KeysGiveVirtualKeyCodesAndControlCharactersNoEvent)
{
    auto window = Open();
    PlatformTesting::InjectKey(SDL_SCANCODE_A, true);
    Pump();
    EXPECT_EQ(Events(*window), (std::vector<Event>{{'A', false}}));

    window->ClearKeyEvents();
    PlatformTesting::InjectText("\b");
    Pump();
    EXPECT_FALSE(window->HasKeyEvents());

    PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, true, true); // held: the repeat counts too
    Pump();
    EXPECT_EQ(Events(*window), (std::vector<Event>{{0x08, false}, {0x08, false}}));
}

TEST_F(WindowTest, MaximiseSwitchesToFullScreenInsteadOfMaximising)
{
    auto window = Open();
    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::Maximised);
    Pump();
    EXPECT_TRUE(services.config.v_fullscreen);
    EXPECT_TRUE(Raised("v_window_change_mode"));
    EXPECT_NE(services.ConfigFile().find("v_fullscreen 1"), std::string::npos);
    EXPECT_FALSE(PlatformTesting::GetWindowState(window->m_handle).maximised);

    Handle("v_window_change_mode");
    PostMessageA(window->m_handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0); // already full screen: nothing to do
    Pump();
    EXPECT_TRUE(services.config.v_fullscreen);
    EXPECT_FALSE(Raised("v_window_change_mode"));
}

TEST_F(WindowTest, AltEnterSwitchesOncePerPressOfEnter)
{
    auto window = Open();
    PlatformTesting::SetAsyncKeyState(VK_LMENU, true);
    PlatformTesting::SetAsyncKeyState(VK_RETURN, true);
    for (int frame = 0; frame < 4; ++frame)
        window->Update();
    EXPECT_TRUE(services.config.v_fullscreen);
    EXPECT_TRUE(Raised("v_window_change_mode"));
    EXPECT_NE(services.ConfigFile().find("v_fullscreen 1"), std::string::npos);

    PlatformTesting::SetAsyncKeyState(VK_RETURN, false);
    window->Update();
    PlatformTesting::SetAsyncKeyState(VK_RETURN, true);
    window->Update();
    window->Update();
    EXPECT_FALSE(services.config.v_fullscreen);

    // Without the focus the keys belong to someone else.
    PlatformTesting::SetAsyncKeyState(VK_RETURN, false);
    window->Update();
    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::FocusLost);
    Pump();
    PlatformTesting::SetAsyncKeyState(VK_RETURN, true);
    window->Update();
    EXPECT_FALSE(services.config.v_fullscreen);
}

TEST_F(WindowTest, FullScreenClampsTheColourSettings)
{
    services.config.v_brightness = 3.5f;
    services.config.v_contrast = 1.5f;
    services.config.v_gamma = -1.0f;
    auto window = Open();
    EXPECT_FLOAT_EQ(services.config.v_brightness, 3.5f); // windowed: left alone

    window->SetWindowedMode(800, 600, true, 1920, 1080);
    EXPECT_FLOAT_EQ(services.config.v_brightness, 2.0f);
    EXPECT_FLOAT_EQ(services.config.v_contrast, 1.5f);
    EXPECT_FLOAT_EQ(services.config.v_gamma, 0.0f);
    window.reset();

    services.config.v_gamma = 2.5f;
    window = Open({.fullScreen = true});
    EXPECT_FLOAT_EQ(services.config.v_gamma, 2.0f);

    services.config.v_fullscreen = true;
    services.config.v_contrast = 4.0f;
    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::Minimised);
    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::Restored);
    Pump();
    EXPECT_FLOAT_EQ(services.config.v_contrast, 2.0f);
}

TEST_F(WindowTest, SwitchesBetweenWindowedAndFullScreen)
{
    auto window = Open();
    PlatformTesting::WindowState state = PlatformTesting::GetWindowState(window->m_handle);
    EXPECT_TRUE(state.visible);
    EXPECT_TRUE(state.bordered);
    EXPECT_FALSE(state.fullScreen);
    EXPECT_EQ(state.title, "Quellhaven 1.00");
    EXPECT_EQ(GetFocus(), window->m_handle);

    window->SetWindowedMode(1024, 768, true, 1920, 1080);
    state = PlatformTesting::GetWindowState(window->m_handle);
    EXPECT_TRUE(state.fullScreen);
    EXPECT_TRUE(state.topmost);
    RECT rect;
    GetWindowRect(window->m_handle, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 1024);
    EXPECT_EQ(rect.bottom, 768);

    window->SetWindowedMode(800, 600, false, 1600, 1200);
    state = PlatformTesting::GetWindowState(window->m_handle);
    EXPECT_FALSE(state.fullScreen);
    EXPECT_FALSE(state.topmost);
    GetWindowRect(window->m_handle, &rect);
    EXPECT_EQ(rect.left, 400);
    EXPECT_EQ(rect.top, 300);
    EXPECT_EQ(rect.right - rect.left, 800);
}

TEST_F(WindowTest, WindowsAreCentredOnTheDesktopEvenWhenLarger)
{
    auto window = Open();
    RECT rect;
    GetWindowRect(window->m_handle, &rect);
    EXPECT_EQ(rect.left, (1920 - 640) / 2);
    EXPECT_EQ(rect.top, (1080 - 480) / 2);
    window.reset();

    PlatformTesting::SetDesktopSize(800, 600);
    window = Open({.width = 1024, .height = 768});
    GetWindowRect(window->m_handle, &rect);
    PlatformTesting::SetDesktopSize(0, 0);
    EXPECT_EQ(rect.left, -112);
    EXPECT_EQ(rect.top, -84);
    window.reset();

    window = Open({.centre = false});
    GetWindowRect(window->m_handle, &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
}

TEST_F(WindowTest, LosingTheFocusMinimisesOnceInFullScreen)
{
    MSG message;
    auto windowed = Open({.minimiseWhenInactive = true});
    PlatformTesting::InjectWindowEvent(windowed->m_handle, WindowEvent::FocusLost);
    Pump();
    windowed->Update();
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    windowed.reset();
    auto window = Open({.fullScreen = true, .minimiseWhenInactive = true});
    window->Update();
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::FocusLost);
    Pump();
    EXPECT_FALSE(window->HasFocus());
    window->Update();
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_SYSCOMMAND);
    EXPECT_EQ(message.wParam, SC_MINIMIZE);
    DispatchMessageA(&message);
    EXPECT_TRUE(PlatformTesting::GetWindowState(window->m_handle).minimised);
    window->Update();
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

    PlatformTesting::InjectWindowEvent(window->m_handle, WindowEvent::Restored);
    Pump();
    EXPECT_TRUE(window->HasFocus());
    EXPECT_FALSE(PlatformTesting::GetWindowState(window->m_handle).minimised);
}

TEST_F(WindowTest, WindowInAHostTakesItsSizeAndEndsTheProgramWhenTheHostCloses)
{
    WNDCLASSA hostClass;
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.lpszClassName = "Host";
    ASSERT_TRUE(RegisterClassA(&hostClass));
    const HWND host =
        CreateWindowExA(0, "Host", "Host", WS_CAPTION, 0, 0, 320, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host);

    auto window = Open({.fullScreen = true, .parent = host});
    const std::string warning = "\nWarning: Child windows do not exist on Linux: the window is shown top-level!\n\n";
    EXPECT_EQ(std::count_if(services.log.m_history.begin(), services.log.m_history.end(),
                            [&](const auto& record) { return record.text == warning; }),
              1);
    EXPECT_FALSE(window->m_fullScreen);
    EXPECT_EQ(window->m_width, 320);
    EXPECT_EQ(window->m_height, 200);
    SetFocus(host);
    EXPECT_TRUE(window->HasFocus());

    window->Update();
    EXPECT_FALSE(Raised("exit"));
    PostMessageA(host, WM_CLOSE, 0, 0);
    Pump();
    window->Update();
    EXPECT_TRUE(Raised("exit"));
    window.reset();
    EXPECT_TRUE(UnregisterClassA("Host", nullptr));
}

TEST_F(WindowTest, AClassThatCannotBeRegisteredIsFatal)
{
    WNDCLASSA taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.lpszClassName = "KEYSTREL ENGINE WINDOW CLASS";
    ASSERT_TRUE(RegisterClassA(&taken));
    EXPECT_THROW(Open(), KeystrelEngine::FatalError);
    EXPECT_TRUE(services.Logged("PROGRAM ABORTING: Failed to register the window class"));
    EXPECT_TRUE(UnregisterClassA(taken.lpszClassName, nullptr));
    EXPECT_NO_THROW(Open());
}

TEST_F(WindowTest, AWindowThatCannotBeCreatedIsFatalAndLeavesNothingBehind)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        GTEST_SKIP() << "needs a process whose video has not started yet";
    ::setenv("SDL_VIDEODRIVER", "missing", 1);
    EXPECT_THROW(Open(), KeystrelEngine::FatalError);
    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_TRUE(services.Logged("PROGRAM ABORTING: Failed to create window"));
    EXPECT_NO_THROW(Open()); // the class was unregistered again
}

} // namespace
