// The multimedia timer and the performance counter on the fake clock for the life of the object. Made before the
// timers, so that the master timer starts at 0 on it.
#pragma once

#include "platform/testing.h"

namespace FrameworkTesting {

struct FakeClock
{
    FakeClock() { PlatformTesting::UseFakeClock(); }
    ~FakeClock() { PlatformTesting::UseRealClock(); }
};

} // namespace FrameworkTesting
