// The "hardware" behind the DirectDraw stand-in: the drivers, devices and modes it reports, the desktop display
// mode, the failures tests inject, the lost-surface flag and the recording of calls. Shared by every object of the
// family; guarded by one mutex, with a lock-free test for the common case of nothing injected.
#pragma once

#include "platform/testing.h"

#include <optional>

namespace DDrawHost {

using PlatformTesting::DDrawCall;
using PlatformTesting::ScriptedDevice;
using PlatformTesting::ScriptedDriver;

std::vector<ScriptedDriver> Drivers();
// The driver of a GUID (null for the primary driver); nothing when no such driver is listed.
std::optional<ScriptedDriver> FindDriver(const GUID* guid);
// The desktop's display mode (EnumDisplaySettingsA); 640x480x32 when no display can be had.
PlatformTesting::ScriptedDisplayMode DesktopMode();

bool RecordingChosen();

// S_OK, or the code of an injected failure for this call (and scope); counts the failure down.
HRESULT InjectedResult(DDrawCall call, const GUID* scope = nullptr);

bool SurfacesLost();
void RestoreSurfaces();

void Record(DDrawCall call, DWORD a = 0, DWORD b = 0, DWORD c = 0);
void RecordDraw(PlatformTesting::RecordedDraw draw);

// The device whose state tests may read.
void SetLiveDevice(const DeviceState* state);
void ForgetLiveDevice(const DeviceState* state);

} // namespace DDrawHost
