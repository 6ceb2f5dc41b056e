// The window on a real X server (Xvfb, 1920x1080, no window manager).
#include "engine/foundation/Window.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tests/engine/foundation/x11/ServerTypist.h"

#include <SDL.h>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

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

// Letters typed through the X server on a key bound to nothing by the time SDL reads it (see ServerTypist.h): every
// letter of each language reaches the window's typed characters as that letter, through the language's code page.
TEST_F(WindowOnX11, EveryLanguagesLettersTypedThroughTheServerReachTheWindow)
{
    RECT rect;
    GetWindowRect(window->m_handle, &rect);
    ASSERT_TRUE(Eventually([&] { return State().visible; }));
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); // the keys go where the pointer is
    TestSupport::ServerTypist typist;
    ASSERT_TRUE(typist.Ready()) << "no X test extension or no spare key";
    Eventually([] { return true; });
    // The X server's focus follows the pointer, which SDL does not take for the window's own focus.
    PlatformTesting::InjectWindowEvent(window->m_handle, PlatformTesting::WindowEvent::FocusGained);
    const struct
    {
        const char* language;
        UINT codePage;
        std::u32string letters;
    } languages[] = {
        {"en", 1252, U"Ann Lee"},
        {"ru", 1251, U"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
        {"ge", 1252, U"Großeß ÄÖÜäöü"},
        {"fr", 1252, U"ÀÂÆÇÈÉÊËÎÏÔŒÙÛÜŸàâæçèéêëîïôœùûüÿ"},
        {"it", 1252, U"ÀÈÉÌÍÎÒÓÙÚàèéìíîòóùú"},
        {"sp", 1252, U"¡¿ÁÉÍÑÓÚÜáéíñóúü"},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        PlatformTesting::SetAnsiCodePage(language.codePage);
        Eventually([] { return true; }); // whatever is still queued arrives before the letters
        window->ClearKeyEvents();
        for (const char32_t letter : language.letters)
            ASSERT_TRUE(typist.Type(letter))
                << "the stand-in did not read the press of U+" << std::hex << static_cast<unsigned>(letter);
        std::u16string typed;
        Eventually([&] {
            typed.clear();
            for (const Window::KeyEvent& key : window->GetKeyEvents()) {
                if (key.character)
                    typed += static_cast<char16_t>(key.code);
            }
            return typed.size() >= language.letters.size();
        });
        EXPECT_EQ(typed, std::u16string(language.letters.begin(), language.letters.end()));
    }
    PlatformTesting::SetAnsiCodePage(1252);
}

} // namespace
