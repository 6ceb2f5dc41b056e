// What the tests of the sound and music player and of its users share: the fake clock, and the player over a real
// sound manager that mixes for the manual output (so that volumes and states are kept as in the game).
#pragma once

#include "engine/foundation/TimerManager.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "framework/AudioPlayer.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tests/framework/FakeClock.h"

#include <gtest/gtest.h>
#include <memory>

namespace FrameworkTesting {

class PlayerFixture : public ::testing::Test
{
protected:
    PlayerFixture()
    {
        PlatformTesting::UseManualSoundOutput(22050);
        system = std::make_unique<KeystrelEngine::SoundSystem_DS7>(&services.log, &services.files, nullptr,
                                                                   reinterpret_cast<HWND>(0x1), false);
        sounds = std::make_unique<KeystrelEngine::SoundManager>(&services.log, &services.files, system.get());
    }

    ~PlayerFixture() override
    {
        player.reset();
        sounds.reset();
        system.reset();
        PlatformTesting::UseManualSoundOutput(0);
    }

    FakeClock clock;
    TestSupport::EngineServices services;
    KeystrelEngine::TimerManager timers{true};
    std::unique_ptr<KeystrelEngine::SoundSystem_DS7> system;
    std::unique_ptr<KeystrelEngine::SoundManager> sounds;
    std::unique_ptr<GameFramework::AudioPlayer> player;
};

} // namespace FrameworkTesting
