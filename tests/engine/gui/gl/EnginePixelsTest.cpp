// A whole engine on the GL back end (SDL's offscreen driver, llvmpipe) at 800 x 600 in a window, with the GUI
// camera at 800 x 600 so that one GUI unit is one pixel: a blue window made from a shader description, a grey
// button inside it, and a text centred in the button through the font manager ('A' red over yellow, 'B' green
// over cyan). After one engine frame the picture grabbed from the device shows the background, the window, the
// button over it and every glyph pixel where the alignment put it. The GUI lies over the world: a world model
// of the draw-last group that fills the screen just past the near plane, nearer than the GUI's own depth, is
// drawn before the windows and texts and does not hide them. Saved for people to look at.
#include "engine/render/Image.h"
#include "engine/render/Model.h"
#include "engine/render/ModelManager.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/gui/gl/EnginePixelFixture.h"

#include <gtest/gtest.h>

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using KeystrelEngine::Model;
using namespace GUITesting;

namespace {

class EnginePixels : public EnginePixelFixture
{
protected:
    // One engine frame of the window, its button and the button's text; the picture is saved under the name.
    Image DrawWindowScene(const std::string& pictureName)
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
        button->AddText(0x01 | 0x02, 1, u"AB", 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
        engine->EndFrame();
        Image image;
        engine->m_renderSystem->GrabScreen(image);
        EXPECT_EQ(image.GetWidth(), kWidth);
        EXPECT_EQ(image.GetHeight(), kHeight);
        RenderTesting::SaveTestPicture(image, pictureName, *engine->m_files);
        return image;
    }

    // Every pixel of the window scene over the given background.
    static std::uint32_t WrongWindowScenePixels(const Image& image, const Rgb& background)
    {
        // "AB" is 20 x 16: centred in the button at (150, 150) it starts at (240, 192).
        const std::vector<GlyphBox> glyphs = {{240, 192, 248, 208, kRed, kYellow}, {248, 192, 260, 208, kGreen, kCyan}};
        return WrongPixels(
            image, [&](std::uint32_t x, std::uint32_t y) { return WindowSceneColour(glyphs, background, x, y); });
    }
};

TEST_F(EnginePixels, OneEngineFrameShowsTheWindowItsButtonAndTheButtonsText)
{
    const Image image = DrawWindowScene("engine.bmp");
    EXPECT_EQ(WrongWindowScenePixels(image, kBackground), 0u);
}

TEST_F(EnginePixels, WindowsAndTextsLieOverAWorldModelRightInFrontOfTheCamera)
{
    // An orange wall across the default camera's view (near plane 1) in the draw-last group, with the Z test and
    // Z write on, as the board's butterflies are: the Z buffer holds about 0.17 there, nearer than the GUI's 0.5.
    Model* wall = engine->m_models->CreateBoxModel({-5, -5, -1.3f}, {5, 5, -1.2f}, nullptr, Model::kColours);
    engine->m_models->GetRegistry().Add(wall);
    wall->SetFlags(Model::kDrawLast);
    wall->m_flags &= ~Model::kLit;
    ASSERT_NE(wall->m_flags & Model::kZTest, 0u);
    wall->GetVertexBuffer()->SetColor({1.0f, 0.5f, 0.0f, 1.0f});

    const Image image = DrawWindowScene("engine_over_world.bmp");
    EXPECT_EQ(WrongWindowScenePixels(image, {255, 128, 0}), 0u);
}

} // namespace
