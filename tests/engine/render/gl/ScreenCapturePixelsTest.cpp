// The screen capture reads what the GL back end presented last: a frame drawn and presented, then a screenshot
// command, gives a picture file that holds that frame.
#include "engine/foundation/Config.h"
#include "engine/render/ScreenCapture.h"
#include "tests/engine/render/gl/PixelFixture.h"

using namespace RenderTesting;
using KeystrelEngine::Config;
using KeystrelEngine::Image;

namespace {

class ScreenCapturePixels : public PixelFixture
{
protected:
    void PresentFrame()
    {
        render->BeginScene();
        Draw(Rectangle(-1.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0xFFFF0000), RectangleIndices(), true); // left half red
        render->EndScene();
        render->SwapBuffers();
    }
};

} // namespace

TEST_F(ScreenCapturePixels, AScreenshotHoldsThePresentedFrame)
{
    render->m_clearColor = {0.0f, 0.0f, 1.0f, 1.0f};
    KeystrelEngine::ScreenCapture capture(&services.log, &services.files, &services.config, window.get());
    PresentFrame();
    services.config.SetCommandState("sc_take_screenshot", Config::kCommandRaised);
    capture.Update();

    Image picture;
    ASSERT_TRUE(Image::Load(&services.files, TestSupport::BaseFolder() + "/ScreenCaptures/picture000.bmp", picture,
                            &services.log));
    ASSERT_EQ(picture.GetWidth(), kPixelWidth);
    ASSERT_EQ(picture.GetHeight(), kPixelHeight);
    ExpectNear(At(picture, kPixelWidth / 4, kPixelHeight / 2), {255, 0, 0});
    ExpectNear(At(picture, 3 * kPixelWidth / 4, kPixelHeight / 2), {0, 0, 255});
}
