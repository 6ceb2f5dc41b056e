// A whole engine on the GL back end (SDL's offscreen driver, llvmpipe) at 800 x 600 over a purple clear colour,
// with the GUI camera at 800 x 600 so that one GUI unit is one pixel; on a fake clock when asked. A test without a
// GL device is skipped.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderSystem.h"
#include "platform/testing.h"
#include "tests/engine/gui/EnginePlatform.h"
#include "tests/engine/gui/gl/GUIPixelFixture.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace GUITesting {

class EnginePixelFixture : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = 800;
    static constexpr std::uint32_t kHeight = 600;
    static constexpr Rgb kBackground{64, 0, 64};

    explicit EnginePixelFixture(bool fakeClock = false) : platform(false, fakeClock) {}

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
            if (TestSupport::IsNoRenderDevice(error.GetText()))
                GTEST_SKIP() << "no GL device: " << error.GetText();
            FAIL() << error.GetText();
        }
        engine->m_renderSystem->m_clearColor = {0.25f, 0.0f, 0.25f, 1.0f};
        engine->m_gui->m_camera->m_width = static_cast<float>(kWidth);
        engine->m_gui->m_camera->m_height = static_cast<float>(kHeight);
    }

    EnginePlatform platform;
    std::unique_ptr<KeystrelEngine::Engine> engine;
};

} // namespace GUITesting
