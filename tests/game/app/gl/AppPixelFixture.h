// What the game's GL picture tests share: a fixture of the game's tests run on the GL back end instead of the
// recording device, skipped without a GL device, over a dark purple clear colour; screen grabs saved for people to
// look at, and the difference of two pictures at one pixel.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/render/RenderSystem.h"
#include "platform/testing.h"
#include "tests/engine/render/gl/PixelFixture.h"

#include <cstdlib>
#include <string>

namespace AppTesting {

// The summed red, green and blue difference of the pixel in column x, row y from the bottom.
inline int PixelDifference(const KeystrelEngine::Image& a, const KeystrelEngine::Image& b, std::uint32_t x,
                           std::uint32_t y)
{
    const auto p = RenderTesting::PixelFromBottom(a, x, y);
    const auto q = RenderTesting::PixelFromBottom(b, x, y);
    return std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
}

template <class Fixture> class AppPixelFixture : public Fixture
{
protected:
    AppPixelFixture() { PlatformTesting::UseRecordingDevice(false); }

    void SetUp() override
    {
        try {
            Fixture::SetUp();
        } catch (const KeystrelEngine::Error& error) {
            GTEST_SKIP() << "no GL device: " << error.GetText();
        }
        this->engine->m_renderSystem->m_clearColor = {0.25f, 0.0f, 0.25f, 1.0f};
    }

    // The screen as drawn, saved under the file name.
    KeystrelEngine::Image Grab(const std::string& fileName)
    {
        KeystrelEngine::Image image;
        this->engine->m_renderSystem->GrabScreen(image);
        RenderTesting::SaveTestPicture(image, fileName, *this->engine->m_files);
        return image;
    }
};

} // namespace AppTesting
