// What the GL tests that draw whole scenes share: the model, sprite-group and particle-system managers on the GL
// back end (SDL's offscreen driver with a software GL; a test without a GL device is skipped), the model pass in
// the engine's order with the screen grabbed after it, and the pictures saved for people to look at.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/render/Image.h"
#include "tests/engine/render/ParticleFixture.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tests/support/TestEnvironment.h"

namespace RenderTesting {

class ScenePixelFixture : public ParticleFixture
{
protected:
    ScenePixelFixture() : ParticleFixture(false) {}

    void SetUp() override
    {
        services.config.v_mode = "640x480x32";
        try {
            CreateServices();
        } catch (const KeystrelEngine::Error& error) {
            if (TestSupport::IsNoRenderDevice(error.GetText()))
                GTEST_SKIP() << "no GL device: " << error.GetText();
            FAIL() << error.GetText();
        }
        CreateManagers();
        render->m_clearColor = {0.0f, 0.0f, 0.0f, 1.0f};
    }

    // Cameras, shader animations and lights brought up to date, every shown model drawn, and the screen grabbed.
    KeystrelEngine::Image DrawScene()
    {
        cameras->Update();
        shaders->Update();
        lights->Apply();
        models->RenderAll();
        KeystrelEngine::Image image;
        render->GrabScreen(image);
        return image;
    }

    void SavePicture(const KeystrelEngine::Image& image, const std::string& fileName)
    {
        SaveTestPicture(image, fileName, services.files);
    }
};

} // namespace RenderTesting
