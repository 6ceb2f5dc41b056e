// The platform's hooks that an engine of the tests runs on, for the life of the object: the recording device
// and the sound mixed for a manual output, set before an engine is made and put back after it is gone.
#pragma once

#include "platform/testing.h"

namespace FrameworkTesting {

struct EnginePlatform
{
    EnginePlatform()
    {
        PlatformTesting::UseRecordingDevice(true);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::ResetInput();
        PlatformTesting::UseManualSoundOutput(22050);
    }

    ~EnginePlatform()
    {
        PlatformTesting::UseManualSoundOutput(0);
        PlatformTesting::ForgetPresentedFrames();
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(0, 0);
        PlatformTesting::UseRecordingDevice(false);
    }

    EnginePlatform(const EnginePlatform&) = delete;
    EnginePlatform& operator=(const EnginePlatform&) = delete;
};

} // namespace FrameworkTesting
