#include "platform/ddraw/Hardware.h"

#include "platform/ddraw/GLBackend.h"
#include "platform/ddraw/PixelFormat.h"

#include <algorithm>
#include <atomic>
#include <mutex>

using PlatformTesting::DDrawCall;
using PlatformTesting::ScriptedDevice;
using PlatformTesting::ScriptedDisplayMode;
using PlatformTesting::ScriptedDriver;

// Our own identifiers: the values only need to differ from each other.
const GUID IID_IDirectDraw7 = {0x4B534444, 0x0007, 0x0001, {'d', 'd', 'r', 'a', 'w', '7', 0, 0}};
const GUID IID_IDirect3D7 = {0x4B534444, 0x0007, 0x0002, {'d', '3', 'd', '7', 0, 0, 0, 0}};
const GUID IID_IDirect3DTnLHalDevice = {0x4B534444, 0x0007, 0x0003, {'t', 'n', 'l', 'h', 'a', 'l', 0, 0}};
const GUID IID_IDirect3DHALDevice = {0x4B534444, 0x0007, 0x0004, {'h', 'a', 'l', 0, 0, 0, 0, 0}};
const GUID IID_IDirect3DRGBDevice = {0x4B534444, 0x0007, 0x0005, {'r', 'g', 'b', 0, 0, 0, 0, 0}};
const GUID IID_IDirect3DRefDevice = {0x4B534444, 0x0007, 0x0006, {'r', 'e', 'f', 0, 0, 0, 0, 0}};

namespace {

struct Failure
{
    DDrawCall call;
    HRESULT code;
    int remaining; // -1: every call
    bool scoped;
    GUID scope;
};

struct Hardware
{
    std::mutex mutex;
    std::vector<ScriptedDriver> drivers;
    std::vector<Failure> failures;
    std::atomic<bool> anyFailure{false};
    std::atomic<bool> recording{false};
    std::atomic<bool> surfacesLost{false};
    std::vector<PlatformTesting::RecordedCall> calls;
    std::vector<PlatformTesting::RecordedDraw> draws;
    const DDrawHost::DeviceState* liveDevice = nullptr;
};

Hardware& TheHardware()
{
    static Hardware hardware;
    return hardware;
}

ScriptedDevice MakeDevice(const GUID& guid, const char* name, const char* description, bool hardware)
{
    ScriptedDevice device;
    device.guid = guid;
    device.name = name;
    device.description = description;
    device.hardware = hardware;
    return device;
}

// The desktop mode and the usual sizes that fit in it, each at 16 and 32 bits.
std::vector<ScriptedDisplayMode> DefaultModes(const ScriptedDisplayMode& desktop)
{
    static const DWORD sizes[][2] = {{640, 480},   {800, 600},   {1024, 768}, {1152, 864},  {1280, 720},
                                     {1280, 960},  {1280, 1024}, {1600, 900}, {1600, 1200}, {1920, 1080},
                                     {1920, 1200}, {2560, 1440}, {3840, 2160}};
    std::vector<ScriptedDisplayMode> modes;
    for (const auto& size : sizes) {
        if (size[0] <= desktop.width && size[1] <= desktop.height &&
            (size[0] != desktop.width || size[1] != desktop.height)) {
            modes.push_back({size[0], size[1], 16, 60});
            modes.push_back({size[0], size[1], 32, 60});
        }
    }
    modes.push_back({desktop.width, desktop.height, 16, desktop.refreshRate});
    modes.push_back({desktop.width, desktop.height, 32, desktop.refreshRate});
    return modes;
}

} // namespace

DDPIXELFORMAT PlatformTesting::RgbTextureFormat(DWORD bitsPerPixel, DWORD red, DWORD green, DWORD blue, DWORD alpha)
{
    return DDrawHost::TextureFormat(bitsPerPixel, red, green, blue, alpha);
}

std::vector<DDPIXELFORMAT> PlatformTesting::DefaultTextureFormats()
{
    using DDrawHost::TextureFormat;
    return {TextureFormat(32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000),
            TextureFormat(32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0), TextureFormat(16, 0xF800, 0x07E0, 0x001F, 0),
            TextureFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000), TextureFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000)};
}

std::vector<ScriptedDriver> PlatformTesting::DefaultDisplayDrivers()
{
    ScriptedDriver driver;
    driver.description = "Primary Display Driver";
    driver.name = "display";
    driver.modes = DefaultModes(DDrawHost::DesktopMode());
    driver.devices = {MakeDevice(IID_IDirect3DTnLHalDevice, "Direct3D T&L HAL", "Direct3D T&L HAL", true),
                      MakeDevice(IID_IDirect3DHALDevice, "Direct3D HAL", "Direct3D HAL", true),
                      MakeDevice(IID_IDirect3DRGBDevice, "RGB Emulation", "Software rasterizer", false),
                      MakeDevice(IID_IDirect3DRefDevice, "Reference Rasterizer", "Reference rasterizer", false)};
    if (!DDrawHost::RecordingChosen()) {
        for (ScriptedDevice& device : driver.devices)
            DDrawHost::ReadGLLimits(device);
    }
    return {driver};
}

void PlatformTesting::SetDisplayDrivers(const std::vector<ScriptedDriver>& drivers)
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.drivers = drivers;
}

void PlatformTesting::UseRecordingDevice(bool on)
{
    TheHardware().recording = on;
}

void PlatformTesting::FailCall(DDrawCall call, HRESULT code, int times, const GUID* scope)
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.failures.push_back({call, code, times, scope != nullptr, scope ? *scope : GUID{}});
    hardware.anyFailure = true;
}

void PlatformTesting::ClearFailures()
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.failures.clear();
    hardware.anyFailure = false;
}

void PlatformTesting::LoseSurfaces()
{
    TheHardware().surfacesLost = true;
}

const std::vector<PlatformTesting::RecordedCall>& PlatformTesting::RecordedCalls()
{
    return TheHardware().calls;
}

const std::vector<PlatformTesting::RecordedDraw>& PlatformTesting::RecordedDraws()
{
    return TheHardware().draws;
}

void PlatformTesting::ClearRecording()
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.calls.clear();
    hardware.draws.clear();
}

std::size_t PlatformTesting::CountCalls(DDrawCall call)
{
    const auto& calls = TheHardware().calls;
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [call](const RecordedCall& c) { return c.call == call; }));
}

std::size_t PlatformTesting::CountCalls(DDrawCall call, DWORD a)
{
    const auto& calls = TheHardware().calls;
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [call, a](const RecordedCall& c) { return c.call == call && c.a == a; }));
}

const DDrawHost::DeviceState* PlatformTesting::LiveDeviceState()
{
    return TheHardware().liveDevice;
}

namespace DDrawHost {

std::vector<ScriptedDriver> Drivers()
{
    {
        Hardware& hardware = TheHardware();
        std::lock_guard lock(hardware.mutex);
        if (!hardware.drivers.empty())
            return hardware.drivers;
    }
    return PlatformTesting::DefaultDisplayDrivers();
}

std::optional<ScriptedDriver> FindDriver(const GUID* guid)
{
    for (ScriptedDriver& driver : Drivers()) {
        if (guid ? driver.hasGuid && driver.guid == *guid : !driver.hasGuid)
            return driver;
    }
    return std::nullopt;
}

PlatformTesting::ScriptedDisplayMode DesktopMode()
{
    DEVMODEA settings;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &settings))
        return {640, 480, 32, 60};
    return {settings.dmPelsWidth, settings.dmPelsHeight, settings.dmBitsPerPel, settings.dmDisplayFrequency};
}

bool RecordingChosen()
{
    return TheHardware().recording;
}

HRESULT InjectedResult(DDrawCall call, const GUID* scope)
{
    Hardware& hardware = TheHardware();
    if (!hardware.anyFailure.load(std::memory_order_relaxed))
        return S_OK;
    std::lock_guard lock(hardware.mutex);
    for (Failure& failure : hardware.failures) {
        if (failure.call != call || failure.remaining == 0)
            continue;
        if (failure.scoped && !(scope && *scope == failure.scope))
            continue;
        if (failure.remaining > 0)
            --failure.remaining;
        return failure.code;
    }
    return S_OK;
}

bool SurfacesLost()
{
    return TheHardware().surfacesLost.load(std::memory_order_relaxed);
}

void RestoreSurfaces()
{
    TheHardware().surfacesLost = false;
}

void Record(DDrawCall call, DWORD a, DWORD b, DWORD c)
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.calls.push_back({call, a, b, c});
}

void RecordDraw(PlatformTesting::RecordedDraw draw)
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.draws.push_back(std::move(draw));
}

void SetLiveDevice(const DeviceState* state)
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    hardware.liveDevice = state;
}

void ForgetLiveDevice(const DeviceState* state)
{
    Hardware& hardware = TheHardware();
    std::lock_guard lock(hardware.mutex);
    if (hardware.liveDevice == state)
        hardware.liveDevice = nullptr;
}

} // namespace DDrawHost
