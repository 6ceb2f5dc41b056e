// What the render-system tests share: the log, configuration and window the render system needs, the scripted
// display hardware (reset before every test), and a render system made on demand.
#pragma once

#include "engine/foundation/Window.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace RenderTesting {

// A device of the default primary driver, by its identifier.
inline PlatformTesting::ScriptedDevice DeviceWithGuid(const GUID& guid)
{
    const std::vector<PlatformTesting::ScriptedDriver> drivers = PlatformTesting::DefaultDisplayDrivers();
    for (const PlatformTesting::ScriptedDevice& device : drivers[0].devices) {
        if (device.guid == guid)
            return device;
    }
    return {};
}

// The default drivers with devices that offer other texture formats.
inline std::vector<PlatformTesting::ScriptedDriver> DriversWithFormats(const std::vector<DDPIXELFORMAT>& formats)
{
    std::vector<PlatformTesting::ScriptedDriver> drivers = PlatformTesting::DefaultDisplayDrivers();
    for (PlatformTesting::ScriptedDevice& device : drivers[0].devices)
        device.textureFormats = formats;
    return drivers;
}

class RenderFixture : public ::testing::Test
{
protected:
    explicit RenderFixture(bool recording = true)
    {
        PlatformTesting::UseRecordingDevice(recording);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::ClearRecording();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::SetDesktopBitsPerPixel(0);
        services.config.v_mode = "1024x768x32";
        services.config.v_fullscreen = false;
    }

    ~RenderFixture() override
    {
        render.reset();
        window.reset();
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(0, 0);
        PlatformTesting::UseRecordingDevice(false);
    }

    KeystrelEngine::RenderSystem_D3D7& Create(bool keepWindowSize = false)
    {
        if (!window) {
            window = std::make_unique<KeystrelEngine::Window>(&services.log, &services.config, "Quellhaven 1.00",
                                                              nullptr, 0, false, 640, 480, false, true, 0, 0);
        }
        render = std::make_unique<KeystrelEngine::RenderSystem_D3D7>(&services.log, &services.config, window.get(),
                                                                     keepWindowSize);
        return *render;
    }

    std::vector<std::string> Lines(unsigned kind) const
    {
        std::vector<std::string> texts;
        for (const auto& record : services.log.m_history) {
            if (record.kind == kind)
                texts.push_back(record.text);
        }
        return texts;
    }
    std::vector<std::string> Errors() const { return Lines(KeystrelEngine::MessageManager::KindError); }
    std::vector<std::string> Warnings() const { return Lines(KeystrelEngine::MessageManager::KindWarning); }

    const DDrawHost::DeviceState& Device() const { return *PlatformTesting::LiveDeviceState(); }

    TestSupport::EngineServices services;
    std::unique_ptr<KeystrelEngine::Window> window;
    std::unique_ptr<KeystrelEngine::RenderSystem_D3D7> render;
};

} // namespace RenderTesting
