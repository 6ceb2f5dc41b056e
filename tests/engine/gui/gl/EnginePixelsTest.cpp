// A whole engine on the GL back end (SDL's offscreen driver, llvmpipe) at 800 x 600 in a window, with the GUI
// camera at 800 x 600 so that one GUI unit is one pixel: a blue window made from a shader description, a grey
// button inside it, and a text centred in the button through the font manager ('A' red over yellow, 'B' green
// over cyan). After one engine frame the picture grabbed from the device shows the background, the window, the
// button over it and every glyph pixel where the alignment put it. Saved for people to look at.
#include "engine/render/Image.h"
#include "tests/engine/gui/gl/EnginePixelFixture.h"

#include <gtest/gtest.h>

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using namespace GUITesting;

namespace {

using EnginePixels = EnginePixelFixture;

TEST_F(EnginePixels, OneEngineFrameShowsTheWindowItsButtonAndTheButtonsText)
{
    KeystrelEngine::GUIManager& gui = *engine->m_gui;
    gui.m_fonts->LoadFont(1, "ui\\fonts\\colours.fnt", WriteColourFont())->m_size =
        static_cast<float>(kColourFontHeight);
    const std::uint32_t flags = GUIWindow::kShown | GUIWindow::kColouredQuad;
    GUIWindow* window =
        gui.CreateWindow(flags, {100, 100}, {400, 300}, KeystrelEngine::ShaderDescriptor(), nullptr, 1.0f, 1.0f);
    window->SetColour({0, 0, 1, 1});
    KeystrelEngine::GUIButton* button =
        gui.CreateButton(flags, {50, 50}, {200, 100}, KeystrelEngine::ShaderDescriptor(), window, 1.0f, 1.0f);
    button->SetColour({0.5f, 0.5f, 0.5f, 1});

    engine->Update();
    // "AB" is 20 x 16: centred in the button at (150, 150) it starts at (240, 192).
    button->AddText(0x01 | 0x02, 1, u"AB", 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
    engine->EndFrame();
    Image image;
    engine->m_renderSystem->GrabScreen(image);
    ASSERT_EQ(image.GetWidth(), kWidth);
    ASSERT_EQ(image.GetHeight(), kHeight);
    RenderTesting::SaveTestPicture(image, "engine.bmp", *engine->m_files);

    const std::vector<GlyphBox> glyphs = {{240, 192, 248, 208, kRed, kYellow}, {248, 192, 260, 208, kGreen, kCyan}};
    const auto expected = [&](std::uint32_t x, std::uint32_t y) {
        return WindowSceneColour(glyphs, kBackground, x, y);
    };
    EXPECT_EQ(WrongPixels(image, expected), 0u);
}

} // namespace
