// Widgets drawn on the GL back end at 800 x 600: four buttons on one 2 x 2 grid texture (red, green / blue,
// white) show the frame of their state once the shader manager has run after the GUI's drawing, a slider's thumb
// lies on its position, and a cursor's quad hangs right and down from its hot spot. Saved as a picture for people
// to look at.
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICursor.h"
#include "engine/gui/GUISlider.h"
#include "tests/engine/gui/gl/GUIPixelFixture.h"
#include "tests/engine/render/TextureFixture.h"

using GUITesting::Rgb;
using GUITesting::WrongPixels;
using KeystrelEngine::GUIButton;
using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUISize;
using KeystrelEngine::ShaderDescriptor;
using RenderTesting::Rgba;

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kBlack{0, 0, 0};

struct Box
{
    std::uint32_t left, bottom, right, top;
    Rgb colour;
};

class GUIWidgetPixels : public GUITesting::GUIPixelFixture
{
protected:
    void WriteFlat(const std::string& name, Rgba colour)
    {
        RenderTesting::WritePicture(services, name, 8, 8, 24,
                                    [colour](std::uint32_t, std::uint32_t) { return colour; });
    }
};

TEST_F(GUIWidgetPixels, ButtonsShowTheirStatesFrameTheThumbItsPositionAndTheCursorHangsFromItsHotSpot)
{
    // Frames are numbered from the picture's top row; the picture's row 0 is its bottom row. Cells of 128 texels
    // keep the filter within the cell at the grid's inset of half a percent.
    RenderTesting::WritePicture(services, "ui\\button.tga", 256, 256, 24, [](std::uint32_t x, std::uint32_t y) {
        if (y >= 128)
            return x < 128 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 255};
        return x < 128 ? Rgba{0, 0, 255, 255} : Rgba{255, 255, 255, 255};
    });
    WriteFlat("ui\\thumb.tga", {255, 255, 0, 255});
    WriteFlat("ui\\cursor.tga", {255, 0, 255, 255});

    const ShaderDescriptor grid = ShaderDescriptor::FromTexture("ui\\button.tga", 2, 2, "");
    std::vector<std::unique_ptr<GUIButton>> buttons;
    for (float x : {50.0f, 200.0f, 350.0f, 500.0f})
        buttons.push_back(std::make_unique<GUIButton>(gui, nullptr, GUIButton::kShown, GUIPoint{x, 50},
                                                      GUISize{100, 100}, grid, nullptr, 1.0f, 1.0f));
    buttons[0]->Update(0, 0, false, false);
    buttons[1]->Update(250, 100, false, false);
    buttons[2]->Update(400, 100, true, true);
    buttons[3]->SetEnabled(false);

    KeystrelEngine::GUISlider slider(gui, nullptr, GUIPoint{50, 300}, GUISize{400, 40}, nullptr, nullptr, 0,
                                     GUIPoint{0, 0}, GUIPoint{360, 0});
    slider.SetVisible(true);
    slider.SetThumb(ShaderDescriptor::FromTextureSingleFrame("ui\\thumb.tga", ""), 1.0f, 1.0f, GUISize{40, 40});
    slider.m_positionCount = 5;
    slider.SetPosition(3);

    KeystrelEngine::GUICursor cursor(&services.log, window.get(), models.get(), nullptr, camera,
                                     ShaderDescriptor::FromTextureSingleFrame("ui\\cursor.tga", ""), 32.0f);
    cursor.m_x = 600.0f;
    cursor.m_y = 500.0f;
    cursor.m_visible = true;

    // The GUI draws, then the shaders advance, then the models are drawn.
    cursor.Draw();
    for (const auto& button : buttons)
        button->Draw();
    slider.Draw();
    shaders->Update();
    const KeystrelEngine::Image image = Frame();
    ASSERT_EQ(image.GetWidth(), kWidth);
    RenderTesting::SaveTestPicture(image, "widgets.bmp", services.files);

    const std::vector<Box> boxes = {{50, 50, 150, 150, kRed},      {200, 50, 300, 150, kGreen},
                                    {350, 50, 450, 150, kBlue},    {500, 50, 600, 150, kWhite},
                                    {320, 300, 360, 340, kYellow}, {600, 468, 632, 500, kMagenta}};
    EXPECT_EQ(WrongPixels(image,
                          [&](std::uint32_t x, std::uint32_t y) {
                              for (const Box& box : boxes) {
                                  if (x >= box.left && x < box.right && y >= box.bottom && y < box.top)
                                      return box.colour;
                              }
                              return kBlack;
                          }),
              0u);
}

} // namespace
