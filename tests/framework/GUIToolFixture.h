// What the tests of the shell's GUI tools share: the GUI test bed on the fake clock, the input state fed by hand
// and frames of 0.1 s.
#pragma once

#include "engine/foundation/Controls.h"
#include "platform/testing.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/framework/FakeClock.h"

namespace FrameworkTesting {

class GUIToolFixture : public GUITesting::GUIFixture
{
protected:
    void SetUp() override
    {
        PlatformTesting::ResetInput();
        GUIFixture::SetUp();
        controls =
            std::make_unique<KeystrelEngine::Controls>(&services.log, timers.get(), &services.config, window.get());
    }

    void TearDown() override
    {
        controls.reset();
        GUIFixture::TearDown();
    }

    // Ends the frame, lets the seconds pass and starts the next frame with the timers and the input.
    void Frame(double seconds = 0.1)
    {
        controls->EndFrame();
        PlatformTesting::AdvanceFakeClock(seconds);
        timers->Update();
        controls->Update();
    }

    FakeClock clock;
    std::unique_ptr<KeystrelEngine::Controls> controls;
};

} // namespace FrameworkTesting
