// What the tests of the engine's users share: the recording device, the sound mixed for a manual output and the
// fake clock, set before an engine is made and put back afterwards, and the settings of a small windowed engine.
#pragma once

#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "platform/testing.h"
#include "tests/framework/FakeClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace FrameworkTesting {

// The platform's hooks for the life of the object.
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

    FakeClock clock;
};

// True when an entry of the log's history holds the text.
inline bool Logged(const KeystrelEngine::MessageManager& log, const std::string& text)
{
    return std::any_of(log.m_history.begin(), log.m_history.end(),
                       [&](const auto& record) { return record.text.find(text) != std::string::npos; });
}

class EngineFixture : public ::testing::Test
{
protected:
    EngineFixture()
    {
        KeystrelEngine::EngineSettings settings;
        settings.applicationName = "Quellhaven";
        settings.version = 100;
        settings.configName = "Quellhaven";
        settings.logEnabled = true;
        settings.dataFolder = "Data";
        settings.videoMode = "640x480x32";
        engine = std::make_unique<KeystrelEngine::Engine>(settings);
    }

    ~EngineFixture() override { engine.reset(); }

    EnginePlatform platform;
    std::unique_ptr<KeystrelEngine::Engine> engine;
};

} // namespace FrameworkTesting
