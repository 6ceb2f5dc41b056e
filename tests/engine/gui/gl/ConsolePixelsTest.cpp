// The open console of a whole engine on the GL back end at 800 x 600, one GUI unit a pixel, over a purple clear
// colour, with the two-colour font at its own size (16: rows 19.2 apart, the first 3.2 above the window's lower
// edge) and three output rows: "AB" in white, "AB" in green, and "A" in red followed by "B" in white. The window
// covers the top 308 rows in one colour, the text tints each glyph's halves by its piece's colour, and below the
// window the clear colour stays. Saved for people to look at.
#include "engine/gui/Console.h"
#include "engine/render/Image.h"
#include "tests/engine/gui/gl/EnginePixelFixture.h"

#include <gtest/gtest.h>

using KeystrelEngine::Console;
using KeystrelEngine::Image;
using namespace GUITesting;

namespace {

constexpr float kFrame = 0.04f;

class ConsolePixels : public EnginePixelFixture
{
protected:
    ConsolePixels() : EnginePixelFixture(true) {}

    void SetUp() override
    {
        EnginePixelFixture::SetUp();
        if (!engine)
            return;
        engine->m_gui->m_fonts->LoadFont(1, "ui\\fonts\\colours.fnt", WriteColourFont())->m_size =
            static_cast<float>(kColourFontHeight);
        Frame(); // the start-up's log lines stay out of the console
        engine->CreateConsole(engine->GetTitle(), KeystrelEngine::ShaderDescriptor(), 1, "~", 0.95f, 308.0f, 1000.0f);
    }

    void Frame()
    {
        PlatformTesting::AdvanceFakeClock(kFrame);
        engine->Update();
        engine->EndFrame();
    }
};

TEST_F(ConsolePixels, TheOpenConsoleCoversTheTopOfTheScreenWithRowsInTheirColours)
{
    Console& console = *engine->m_console;
    console.AddLine(u"AB\n", {1, 1, 1, 1});
    console.AddLine(u"AB\n", {0, 1, 0, 1});
    console.AddLine(u"A", {1, 0, 0, 1});
    console.AddLine(u"B\n", {1, 1, 1, 1});
    PlatformTesting::InjectKey(SDL_SCANCODE_GRAVE, true);
    Frame();
    PlatformTesting::InjectKey(SDL_SCANCODE_GRAVE, false);
    for (int i = 0; i < 10; ++i)
        Frame();
    ASSERT_EQ(console.GetState(), Console::StateOpen);

    Image image;
    engine->m_renderSystem->GrabScreen(image);
    RenderTesting::SaveTestPicture(image, "console.bmp", *engine->m_files);

    // The window from y = 292 up in one bright colour, the text in the lower left corner of it.
    const Rgb window = RenderTesting::PixelFromBottom(image, 700, 500);
    for (int c = 0; c < 3; ++c)
        EXPECT_GT(window[c], 200) << c;
    const auto expected = [&](std::uint32_t x, std::uint32_t y) {
        if (y < 292)
            return kBackground;
        if (x < 24 && y < 395)
            return RenderTesting::PixelFromBottom(image, x, y); // the glyphs, sampled below
        return window;
    };
    EXPECT_EQ(WrongPixels(image, expected), 0u);

    // Rows from the newest up at 333.6, 352.8 and 372: 'A' covers x 0 to 8, 'B' 8 to 20; each glyph's upper half
    // and lower half sampled at their middles.
    struct Sample
    {
        std::uint32_t x, y;
        Rgb colour;
    };
    const std::vector<Sample> samples = {
        {4, 345, kRed},   {4, 337, kRed},    {14, 345, kGreen}, {14, 337, kCyan},  // red "A", white "B"
        {4, 364, kBlack}, {4, 356, kGreen},  {14, 364, kGreen}, {14, 356, kGreen}, // green "AB"
        {4, 384, kRed},   {4, 376, kYellow}, {14, 384, kGreen}, {14, 376, kCyan},  // white "AB"
    };
    for (const Sample& sample : samples)
        EXPECT_EQ(RenderTesting::PixelFromBottom(image, sample.x, sample.y), sample.colour)
            << sample.x << ", " << sample.y;
}

} // namespace
