// The message loop of the loaders that run the real game for tests and benchmarks: frames one after the other,
// each after the waiting messages and, on the fake clock, a frame's time later.
#pragma once

#include "framework/GameBase.h"
#include "platform/testing.h"
#include "platform/win32/Win32.h"

namespace GameTesting {

// Runs frames until `afterFrame`, asked after each, returns false; a frame time of 0 leaves the clock alone.
template <class AfterFrame> void RunFrameLoop(GameFramework::GameBase& game, double frameTime, AfterFrame afterFrame)
{
    MSG message;
    do {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (frameTime > 0.0)
            PlatformTesting::AdvanceFakeClock(frameTime);
        game.Frame();
    } while (afterFrame());
}

} // namespace GameTesting
