// A whole engine on the GL back end (SDL's offscreen driver, llvmpipe) at 800 x 600 in a window, with the GUI
// camera at 800 x 600 so that one GUI unit is one pixel: a blue window made from a shader description, a grey
// button inside it, and a text centred in the button through the font manager ('A' red over yellow, 'B' green
// over cyan). After one engine frame the picture grabbed from the device shows the background, the window, the
// button over it and every glyph pixel where the alignment put it. Saved for people to look at.
#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Image.h"
#include "engine/render/RenderSystem.h"
#include "engine/render/ShaderDescriptor.h"
#include "tests/engine/render/ModelFixture.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tools/formats/FontFileWriter.h"
#include "tools/formats/FontTextureWriter.h"

#include <gtest/gtest.h>

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using RenderTesting::PixelFromBottom;

namespace {

constexpr std::uint32_t kWidth = 800;
constexpr std::uint32_t kHeight = 600;
constexpr std::uint32_t kCellHeight = 16;

using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBackground{64, 0, 64};

struct GlyphBox
{
    std::uint32_t left, bottom, right, top;
    Rgb upper, lower;
};

class EnginePixels : public ::testing::Test
{
protected:
    EnginePixels()
    {
        PlatformTesting::UseRecordingDevice(false);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::ResetInput();
        PlatformTesting::UseManualSoundOutput(22050);
    }

    ~EnginePixels() override
    {
        engine.reset();
        PlatformTesting::UseManualSoundOutput(0);
        PlatformTesting::SetDesktopSize(0, 0);
    }

    void SetUp() override
    {
        KeystrelEngine::EngineSettings settings;
        settings.applicationName = "Quellhaven";
        settings.version = 100;
        settings.dataFolder = "Data";
        settings.videoMode = "800x600x32";
        settings.forceVideoMode = true;
        settings.forceFullscreen = true;
        settings.centerWindow = true;
        try {
            engine = std::make_unique<KeystrelEngine::Engine>(settings);
        } catch (const KeystrelEngine::Error& error) {
            GTEST_SKIP() << "no GL device: " << error.GetText();
        }
        engine->m_renderSystem->m_clearColor = {0.25f, 0.0f, 0.25f, 1.0f};
        engine->m_gui->m_camera->m_width = static_cast<float>(kWidth);
        engine->m_gui->m_camera->m_height = static_cast<float>(kHeight);
    }

    // 'A' 8 pixels wide, 'B' 12 pixels wide, 16 high, at size 16, under id 1.
    void LoadColourFont()
    {
        const auto twoTone = [](char16_t code, std::uint32_t width, std::uint32_t upper, std::uint32_t lower) {
            std::vector<std::uint32_t> pixels(width * kCellHeight, lower);
            std::fill_n(pixels.begin(), width * kCellHeight / 2, upper); // the top rows come first
            return Formats::GlyphPicture{code, width, pixels};
        };
        const Formats::FontTexture texture = Formats::BuildFontTexture(
            {kCellHeight, 64, {twoTone(u'A', 8, 0xFFFF0000, 0xFFFFFF00), twoTone(u'B', 12, 0xFF00FF00, 0xFF00FFFF)}});
        RenderTesting::WriteDataFile("ui\\fonts\\colours.tga", texture.tga);
        RenderTesting::WriteDataFile("ui\\fonts\\colours.fnt", Formats::BuildFontFile(texture.glyphs));
        engine->m_gui->m_fonts
            ->LoadFont(1, "ui\\fonts\\colours.fnt",
                       KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame("ui\\fonts\\colours.tga", "32bit"))
            ->m_size = static_cast<float>(kCellHeight);
    }

    std::unique_ptr<KeystrelEngine::Engine> engine;
};

TEST_F(EnginePixels, OneEngineFrameShowsTheWindowItsButtonAndTheButtonsText)
{
    LoadColourFont();
    KeystrelEngine::GUIManager& gui = *engine->m_gui;
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
        for (const GlyphBox& glyph : glyphs) {
            if (x >= glyph.left && x < glyph.right && y >= glyph.bottom && y < glyph.top)
                return y >= (glyph.bottom + glyph.top) / 2 ? glyph.upper : glyph.lower;
        }
        if (x >= 150 && x < 350 && y >= 150 && y < 250)
            return kGrey;
        if (x >= 100 && x < 500 && y >= 100 && y < 400)
            return kBlue;
        return kBackground;
    };
    std::uint32_t wrong = 0;
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            const Rgb pixel = PixelFromBottom(image, x, y);
            const Rgb want = expected(x, y);
            bool near = true;
            for (int c = 0; c < 3; ++c)
                near = near && std::abs(pixel[c] - want[c]) <= 2;
            if (!near && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << pixel[0] << ", " << pixel[1] << ", "
                              << pixel[2] << "; expected " << want[0] << ", " << want[1] << ", " << want[2];
        }
    }
    EXPECT_EQ(wrong, 0u);
}

} // namespace
