// The platform's hooks that an engine of the tests runs on, for the life of the object: the recording device
// (or the GL back end), a 1920 x 1080 desktop, fresh input, the sound mixed for a manual output and, when asked,
// the fake clock; all put back afterwards. A fixture declares it before its engine, so that the engine is gone
// before the hooks are put back.
#pragma once

#include "platform/testing.h"

namespace GUITesting {

class EnginePlatform
{
public:
    explicit EnginePlatform(bool recordingDevice = true, bool fakeClock = false)
    {
        PlatformTesting::UseRecordingDevice(recordingDevice);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::ResetInput();
        PlatformTesting::UseManualSoundOutput(22050);
        if (fakeClock)
            PlatformTesting::UseFakeClock();
    }

    ~EnginePlatform()
    {
        PlatformTesting::UseManualSoundOutput(0);
        PlatformTesting::ForgetPresentedFrames();
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(0, 0);
        PlatformTesting::UseRecordingDevice(false);
        PlatformTesting::UseRealClock();
    }

    EnginePlatform(const EnginePlatform&) = delete;
    EnginePlatform& operator=(const EnginePlatform&) = delete;
};

} // namespace GUITesting
