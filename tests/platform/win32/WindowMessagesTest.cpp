#include "platform/testing.h"
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

std::vector<MSG> g_received;

LRESULT Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_received.push_back({window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowMessagesTest : public ::testing::Test
{
protected:
    WindowMessagesTest()
    {
        PlatformTesting::ResetInput();
        g_received.clear();
        WNDCLASSA windowClass;
        windowClass.lpfnWndProc = Record;
        windowClass.lpszClassName = "Recorder";
        RegisterClassA(&windowClass);
        window = Create(WS_CAPTION, nullptr);
        SetFocus(window);
    }

    ~WindowMessagesTest() override
    {
        DestroyWindow(window);
        UnregisterClassA("Recorder", nullptr);
    }

    static HWND Create(DWORD style, HWND parent)
    {
        return CreateWindowExA(0, "recorder", "Test", style, 50, 60, 320, 240, parent, nullptr, nullptr, nullptr);
    }

    // Every waiting message, in order.
    static std::vector<MSG> Messages()
    {
        std::vector<MSG> messages;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            messages.push_back(message);
        return messages;
    }

    HWND window = nullptr;
};

TEST_F(WindowMessagesTest, KeysBecomeKeyMessagesForTheFocusedWindow)
{
    PlatformTesting::InjectKey(SDL_SCANCODE_RSHIFT, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_Q, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_Q, true, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_Q, false); // plain releases are not reported
    PlatformTesting::InjectKey(SDL_SCANCODE_F10, true);
    std::vector<MSG> messages = Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].hwnd, window);
    EXPECT_EQ(messages[0].message, WM_KEYDOWN);
    EXPECT_EQ(messages[0].wParam, 0x10u); // either Shift
    EXPECT_EQ(messages[1].wParam, WPARAM('Q'));
    EXPECT_EQ(messages[1].lParam & (1 << 30), 0);
    EXPECT_NE(messages[2].lParam & (1 << 30), 0); // a repeat: the key was down before
    EXPECT_EQ(messages[3].message, WM_SYSKEYDOWN);
    EXPECT_TRUE(GetAsyncKeyState(0xA1) & 0x8000); // right Shift
    EXPECT_TRUE(GetAsyncKeyState(0x10) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState('Q') & 0x8000);

    // Alt makes system keys; without the focus nobody gets key messages.
    PlatformTesting::InjectKey(SDL_SCANCODE_RALT, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_X, true);
    PlatformTesting::InjectKey(SDL_SCANCODE_RALT, false);
    messages = Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(messages[1].message, WM_SYSKEYDOWN);
    EXPECT_NE(messages[1].lParam & (1 << 29), 0);
    EXPECT_EQ(messages[2].message, WM_SYSKEYUP);
    SetFocus(nullptr);
    PlatformTesting::InjectKey(SDL_SCANCODE_X, true);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(GetAsyncKeyState('X') & 0x8000);
}

TEST_F(WindowMessagesTest, TextBecomesOneCharacterMessagePerCharacter)
{
    PlatformTesting::InjectText("a€ж😀");
    const std::vector<MSG> messages = Messages();
    ASSERT_EQ(messages.size(), 2u); // Cyrillic and the emoji have no byte in code page 1252
    EXPECT_EQ(messages[0].message, WM_CHAR);
    EXPECT_EQ(messages[0].wParam, WPARAM('a'));
    EXPECT_EQ(messages[1].wParam, 0x80u);
}

TEST_F(WindowMessagesTest, WindowManagerEventsBecomeSystemCommands)
{
    using PlatformTesting::WindowEvent;
    PlatformTesting::InjectWindowEvent(window, WindowEvent::Maximised);
    PlatformTesting::InjectWindowEvent(window, WindowEvent::Minimised);
    PlatformTesting::InjectWindowEvent(window, WindowEvent::Minimised);
    PlatformTesting::InjectWindowEvent(window, WindowEvent::Restored);
    PlatformTesting::InjectWindowEvent(window, WindowEvent::PointerEntered);
    PlatformTesting::InjectWindowEvent(window, WindowEvent::Close);
    const std::vector<MSG> messages = Messages();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].wParam, SC_MAXIMIZE);
    EXPECT_EQ(messages[1].wParam, SC_MINIMIZE);
    EXPECT_EQ(messages[2].wParam, SC_RESTORE);
    EXPECT_EQ(messages[3].message, WM_SETCURSOR);
    EXPECT_EQ(messages[4].message, WM_CLOSE);
    EXPECT_FALSE(PlatformTesting::GetWindowState(window).maximised); // until the default processing

    DispatchMessageA(&messages[0]);
    EXPECT_TRUE(PlatformTesting::GetWindowState(window).maximised);
    DispatchMessageA(&messages[4]); // the default processing of WM_CLOSE destroys the window
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowMessagesTest, DefaultProcessingHandlesAltF4AndPlacement)
{
    PostMessageA(window, WM_SYSKEYDOWN, 0x73, 1 | (1 << 29));
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)); // filtered
    DispatchMessageA(&message);
    EXPECT_TRUE(PlatformTesting::GetWindowState(window).minimised);
    EXPECT_EQ(GetFocus(), nullptr);

    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&message);
    ASSERT_EQ(g_received.size(), 4u); // SC_MINIMIZE, Alt+F4, its SC_CLOSE, that's WM_CLOSE
    EXPECT_EQ(g_received[2].wParam, SC_CLOSE);
    EXPECT_EQ(g_received[3].message, WM_CLOSE);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowMessagesTest, WindowsAndClassesFollowTheWindowsRules)
{
    WNDCLASSA twin;
    twin.lpfnWndProc = Record;
    twin.lpszClassName = "RECORDER";
    EXPECT_FALSE(RegisterClassA(&twin));
    EXPECT_FALSE(UnregisterClassA("Recorder", nullptr)); // a window of the class exists

    const HWND child = Create(WS_CHILD, window);
    ASSERT_TRUE(child);
    EXPECT_EQ(GetParent(child), window);
    EXPECT_TRUE(PlatformTesting::GetWindowState(child).exists);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(PostMessageA(window, WM_CLOSE, 0, 0));

    window = Create(WS_CAPTION, nullptr);
    EXPECT_NE(window, child); // handles are never reused
    EXPECT_EQ(CreateWindowExA(0, "Unknown", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);

    RECT desktop;
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
    EXPECT_EQ(desktop.right, 1920);
    EXPECT_EQ(desktop.bottom, 1080);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.bottom, 60 + 240);
}

TEST_F(WindowMessagesTest, FullScreenCursorMapsThroughTheLetterbox)
{
    // A 640x360 screen shown on the driver's 1024x768 display: scaled by 1.6, 96 pixels of border above.
    const HWND screen =
        CreateWindowExA(0, "Recorder", "", WS_POPUP, 0, 0, 640, 360, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(screen, SW_SHOW);
    SetFocus(screen);
    const PlatformTesting::WindowState state = PlatformTesting::GetWindowState(screen);
    ASSERT_TRUE(state.fullScreen);
    ASSERT_EQ(state.width, 1024);
    ASSERT_EQ(state.height, 768);

    PlatformTesting::InjectMouseMotion(screen, 512, 96 + 288, 1, 1);
    Messages();
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 320);
    EXPECT_EQ(cursor.y, 180);
    PlatformTesting::InjectMouseMotion(screen, 10, 10, 1, 1); // in the border: held at the edge
    Messages();
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.y, 0);

    // The screen is the mode's own: client and screen coordinates agree, both ways.
    for (POINT point : {POINT{320, 180}, POINT{0, 359}}) {
        const POINT screenPoint = point;
        ASSERT_TRUE(ScreenToClient(screen, &point));
        EXPECT_EQ(point.x, screenPoint.x);
        EXPECT_EQ(point.y, screenPoint.y);
    }
    DestroyWindow(screen);
}

TEST_F(WindowMessagesTest, ScreenToClientUndoesClientToScreen)
{
    POINT point{7, 9};
    ASSERT_TRUE(ClientToScreen(window, &point));
    EXPECT_NE(point.x, 7);
    ASSERT_TRUE(ScreenToClient(window, &point));
    EXPECT_EQ(point.x, 7);
    EXPECT_EQ(point.y, 9);
    PlatformTesting::InjectMouseMotion(window, 30, 40, 1, 1);
    Messages();
    GetCursorPos(&point);
    ASSERT_TRUE(ScreenToClient(window, &point));
    EXPECT_EQ(point.x, 30);
    EXPECT_EQ(point.y, 40);

    DestroyWindow(window);
    EXPECT_FALSE(ScreenToClient(window, &point)) << "a window that is gone";
    EXPECT_FALSE(ScreenToClient(nullptr, &point));
    window = Create(WS_CAPTION, nullptr);
}

TEST(Clock, CountersFollowTheFakeClock)
{
    PlatformTesting::UseFakeClock(5'000'000'000);
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    EXPECT_EQ(count.QuadPart, 5 * frequency.QuadPart);
    EXPECT_EQ(timeGetTime(), 5000u);
    PlatformTesting::AdvanceFakeClock(0.0125);
    EXPECT_EQ(timeGetTime(), 5012u);
    EXPECT_EQ(GetTickCount(), 5012u);
    PlatformTesting::UseRealClock();

    TIMECAPS caps;
    ASSERT_EQ(timeGetDevCaps(&caps, sizeof(caps)), TIMERR_NOERROR);
    EXPECT_EQ(caps.wPeriodMin, 1u);
    LARGE_INTEGER later;
    QueryPerformanceCounter(&count);
    QueryPerformanceCounter(&later);
    EXPECT_LE(count.QuadPart, later.QuadPart);
}

TEST(Com, EachThreadCountsItsOwnStarts)
{
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    HRESULT otherThread = E_FAIL;
    std::thread([&] {
        otherThread = CoInitialize(nullptr);
        CoUninitialize();
    }).join();
    EXPECT_EQ(otherThread, S_OK);
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "one start is left";
    CoUninitialize();
    CoUninitialize();
    CoUninitialize(); // more ends than starts change nothing
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST(Resources, TheProgramsCursorIsTheArrowUnderAHandleOfItsOwn)
{
    PlatformTesting::ResetInput();
    const HMODULE program = GetModuleHandleA(nullptr);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR own = LoadCursorA(program, MAKEINTRESOURCEA(1000));
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, arrow);
    EXPECT_EQ(LoadCursorA(program, MAKEINTRESOURCEA(1001)), nullptr) << "the program has no other cursor";
    EXPECT_EQ(LoadCursorA(program, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1000)), nullptr) << "the system has no such cursor";

    EXPECT_EQ(SetCursor(own), nullptr);
    EXPECT_EQ(PlatformTesting::GetCurrentCursor(), own);
    EXPECT_EQ(SetCursor(arrow), own);
}

} // namespace
