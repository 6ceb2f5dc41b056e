// A whole engine on the GL back end (SDL's offscreen driver, llvmpipe) at 800 x 600 over a purple clear colour,
// with the GUI camera at 800 x 600 so that one GUI unit is one pixel; on a fake clock when asked. The platform's
// hooks are set before the engine is made and put back after it is gone. A test without a GL device is skipped.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderSystem.h"
#include "platform/testing.h"
#include "tests/engine/gui/gl/GUIPixelFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace GUITesting {

class EnginePixelFixture : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = 800;
    static constexpr std::uint32_t kHeight = 600;
    static constexpr Rgb kBackground{64, 0, 64};

    explicit EnginePixelFixture(bool fakeClock = false) : m_fakeClock(fakeClock)
    {
        PlatformTesting::UseRecordingDevice(false);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::ResetInput();
        PlatformTesting::UseManualSoundOutput(22050);
        if (m_fakeClock)
            PlatformTesting::UseFakeClock();
    }

    ~EnginePixelFixture() override
    {
        engine.reset();
        PlatformTesting::UseManualSoundOutput(0);
        PlatformTesting::SetDesktopSize(0, 0);
        if (m_fakeClock)
            PlatformTesting::UseRealClock();
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

    std::unique_ptr<KeystrelEngine::Engine> engine;

private:
    bool m_fakeClock;
};

} // namespace GUITesting
