// What the GUI's GL pixel tests share: the GUI on the GL back end (llvmpipe) at 800 x 600 with a black
// background, where one GUI unit is one pixel, and the frame drawn and grabbed. A test without a GL device is
// skipped.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/render/Image.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/render/gl/PixelFixture.h"

namespace GUITesting {

using Rgb = std::array<int, 3>;

class GUIPixelFixture : public GUIFixture
{
protected:
    static constexpr std::uint32_t kWidth = 800;
    static constexpr std::uint32_t kHeight = 600;

    GUIPixelFixture() : GUIFixture(false) {}

    void SetUp() override
    {
        services.config.v_mode = "800x600x32";
        try {
            CreateServices();
        } catch (const KeystrelEngine::Error& error) {
            GTEST_SKIP() << "no GL device: " << error.GetText();
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

    // Counts the pixels that differ from expected(x, y) by more than 2 in a channel (x, y from the bottom left)
    // and reports the first five.
    static std::uint32_t WrongPixels(const KeystrelEngine::Image& image,
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
};

} // namespace GUITesting
