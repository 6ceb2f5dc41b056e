// What the GUI's GL pixel tests share: a font whose glyphs are cells of two colours ('A' 8 pixels wide, red over
// yellow; 'B' 12 pixels wide, green over cyan; both 16 high) and the screen boxes of its glyphs, the comparison of a
// grabbed picture with the colour every pixel should have, and the GUI on the GL back end (llvmpipe) at 800 x 600
// (or another video mode) with a black background, where one GUI unit is one pixel at 800 x 600, with the frame
// drawn and grabbed. A test without a GL device is skipped.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/render/Image.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/render/ModelFixture.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tests/support/TestEnvironment.h"
#include "tools/formats/FontFileWriter.h"
#include "tools/formats/FontTextureWriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace GUITesting {

using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBlack{0, 0, 0};

constexpr std::uint32_t kColourFontHeight = 16;

// Writes "ui\fonts\colours.fnt" and its texture "ui\fonts\colours.tga"; returns the font's description.
inline KeystrelEngine::ShaderDescriptor WriteColourFont()
{
    const auto twoTone = [](char16_t code, std::uint32_t width, std::uint32_t upper, std::uint32_t lower) {
        std::vector<std::uint32_t> pixels(width * kColourFontHeight, lower);
        std::fill_n(pixels.begin(), width * kColourFontHeight / 2, upper); // the top rows come first
        return Formats::GlyphPicture{code, width, pixels};
    };
    const Formats::FontTexture texture = Formats::BuildFontTexture(
        {kColourFontHeight, 64, {twoTone(u'A', 8, 0xFFFF0000, 0xFFFFFF00), twoTone(u'B', 12, 0xFF00FF00, 0xFF00FFFF)}});
    RenderTesting::WriteDataFile("ui\\fonts\\colours.tga", texture.tga);
    RenderTesting::WriteDataFile("ui\\fonts\\colours.fnt", Formats::BuildFontFile(texture.glyphs));
    return KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame("ui\\fonts\\colours.tga", "32bit");
}

// A glyph rectangle on the screen in GUI units (y up), and the colours of its upper and lower half.
struct GlyphBox
{
    std::uint32_t left, bottom, right, top;
    Rgb upper, lower;
};

// The colour of the glyph box that holds the pixel, if one does.
inline std::optional<Rgb> GlyphColour(const std::vector<GlyphBox>& glyphs, std::uint32_t x, std::uint32_t y)
{
    for (const GlyphBox& glyph : glyphs) {
        if (x >= glyph.left && x < glyph.right && y >= glyph.bottom && y < glyph.top)
            return y >= (glyph.bottom + glyph.top) / 2 ? glyph.upper : glyph.lower;
    }
    return std::nullopt;
}

// The colour of a pixel of the scene the window tests draw: the glyphs over a grey box at (150, 150)-(350, 250)
// inside a blue one at (100, 100)-(500, 400), over the background.
inline Rgb WindowSceneColour(const std::vector<GlyphBox>& glyphs, const Rgb& background, std::uint32_t x,
                             std::uint32_t y)
{
    if (const auto glyph = GlyphColour(glyphs, x, y))
        return *glyph;
    if (x >= 150 && x < 350 && y >= 150 && y < 250)
        return kGrey;
    if (x >= 100 && x < 500 && y >= 100 && y < 400)
        return kBlue;
    return background;
}

// Counts the pixels that differ from expected(x, y) by more than 2 in a channel (x, y from the bottom left)
// and reports the first five.
inline std::uint32_t WrongPixels(const KeystrelEngine::Image& image,
                                 const std::function<Rgb(std::uint32_t, std::uint32_t)>& expected)
{
    std::uint32_t wrong = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (std::uint32_t x = 0; x < image.GetWidth(); ++x) {
            const Rgb pixel = RenderTesting::PixelFromBottom(image, x, y);
            const Rgb want = expected(x, y);
            bool near = true;
            for (int c = 0; c < 3; ++c)
                near = near && std::abs(pixel[c] - want[c]) <= 2;
            if (!near && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << pixel[0] << ", " << pixel[1] << ", "
                              << pixel[2] << "; expected " << want[0] << ", " << want[1] << ", " << want[2];
        }
    }
    return wrong;
}

class GUIPixelFixture : public GUIFixture
{
protected:
    // The size of the default video mode.
    static constexpr std::uint32_t kWidth = 800;
    static constexpr std::uint32_t kHeight = 600;

    explicit GUIPixelFixture(const char* videoMode = "800x600x32") : GUIFixture(false), m_videoMode(videoMode) {}

    void SetUp() override
    {
        services.config.v_mode = m_videoMode;
        try {
            CreateServices();
        } catch (const KeystrelEngine::Error& error) {
            if (TestSupport::IsNoRenderDevice(error.GetText()))
                GTEST_SKIP() << "no GL device: " << error.GetText();
            FAIL() << error.GetText();
        }
        render->m_clearColor = {0.0f, 0.0f, 0.0f, 1.0f};
        CreateGUI();
    }

    KeystrelEngine::Image Frame()
    {
        cameras->Update();
        lights->Apply();
        models->RenderAll();
        KeystrelEngine::Image image;
        render->GrabScreen(image);
        return image;
    }

private:
    const char* m_videoMode;
};

} // namespace GUITesting
