// GUI windows and texts drawn on the GL back end (llvmpipe) at 800 x 600, where one GUI unit is one pixel: a
// blue window with a grey child at layer 1, a centred text in the child and a text at a position in the parent,
// from a font whose glyphs are cells of two colours ('A' red over yellow, 'B' green over cyan). The child covers
// its parent, every glyph pixel lies where the alignment put the text, upright, and no glyph colour shows anywhere
// else. Saved as a picture for people to look at.
#include "tests/engine/gui/gl/GUIPixelFixture.h"

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using namespace GUITesting;

namespace {

class GUIPixels : public GUITesting::GUIPixelFixture
{
protected:
    // The colour font at size 16 under id 1.
    void LoadColourFont()
    {
        fonts->LoadFont(1, "ui\\fonts\\colours.fnt", WriteColourFont())->m_size = static_cast<float>(kColourFontHeight);
    }

    std::unique_ptr<GUIWindow> ColouredWindow(KeystrelEngine::GUIPoint position, KeystrelEngine::GUISize size,
                                              const KeystrelEngine::Color& colour, GUIWindow* parent)
    {
        auto window = std::make_unique<GUIWindow>(gui, GUIWindow::kShown | GUIWindow::kColouredQuad, position, size,
                                                  KeystrelEngine::ShaderDescriptor(), parent, 1.0f, 1.0f);
        window->SetColour(colour);
        return window;
    }
};

TEST_F(GUIPixels, AChildCoversItsParentAndGlyphsLandWhereTheAlignmentPutThem)
{
    LoadColourFont();
    const auto parent = ColouredWindow({100, 100}, {400, 300}, {0, 0, 1, 1}, nullptr);
    const auto child = ColouredWindow({50, 50}, {200, 100}, {0.5f, 0.5f, 0.5f, 1}, parent.get());
    // "AB" is 20 x 16: centred in the child at (150, 150) it starts at (240, 192). "BA" at (10, 10) in the parent.
    child->AddText(0x01 | 0x02, 1, u"AB", 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
    parent->AddText(0, 1, u"BA", 0.0f, 0.0f, {10, 10}, {1, 1, 1, 1});
    parent->Draw();
    child->Draw();
    fonts->EndFrame();
    const Image image = Frame();
    ASSERT_EQ(image.GetWidth(), kWidth);
    ASSERT_EQ(image.GetHeight(), kHeight);
    RenderTesting::SaveTestPicture(image, "gui.bmp", services.files);

    const std::vector<GlyphBox> glyphs = {{240, 192, 248, 208, kRed, kYellow},
                                          {248, 192, 260, 208, kGreen, kCyan},
                                          {110, 110, 122, 126, kGreen, kCyan},
                                          {122, 110, 130, 126, kRed, kYellow}};
    const auto expected = [&](std::uint32_t x, std::uint32_t y) { return WindowSceneColour(glyphs, kBlack, x, y); };
    EXPECT_EQ(WrongPixels(image, expected), 0u);
}

} // namespace
