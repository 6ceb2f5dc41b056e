// What the bases of the game's windows and the game cursor work with: the engine on the recording device with
// its sound mixed for a manual output, the sound and music player, and a profile manager over the user folder
// (its profiles are the shell's own, without fields of a game).
#pragma once

#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/gui/Engine.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileManagerBase.h"
#include "tests/engine/gui/EnginePlatform.h"
#include "tests/support/TestEnvironment.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace FrameworkTesting {

class PlainProfileManager : public GameFramework::ProfileManagerBase
{
public:
    using ProfileManagerBase::ProfileManagerBase;

    std::unique_ptr<GameFramework::ProfileBase> CreateProfileFromFile(const std::string& fileName) override
    {
        auto profile = NewProfile(GameFramework::ProfileBase::FromFile);
        profile->Load(fileName);
        return profile;
    }

    std::unique_ptr<GameFramework::ProfileBase> CreateProfile(const std::u16string& name) override
    {
        auto profile = NewProfile(GameFramework::ProfileBase::NewProfile);
        profile->AssignFileName(name);
        return profile;
    }

    std::unique_ptr<GameFramework::ProfileBase> NewProfile(GameFramework::ProfileBase::Origin origin) const
    {
        return std::make_unique<GameFramework::ProfileBase>(m_log, m_files, m_baseFolder, origin);
    }
};

class WindowBaseFixture : public ::testing::Test
{
protected:
    static constexpr float kDefaultMusicVolume = 0.8f;
    static constexpr float kDefaultSoundVolume = 0.6f;

    WindowBaseFixture()
    {
        KeystrelEngine::EngineSettings settings;
        settings.applicationName = "Quellhaven";
        settings.version = 100;
        settings.configName = "Quellhaven";
        settings.dataFolder = "Data";
        settings.videoMode = "800x600x32";
        engine = std::make_unique<KeystrelEngine::Engine>(settings);
        config = engine->m_config.get();
        player = std::make_unique<GameFramework::AudioPlayer>(
            config, engine->m_soundManager.get(), engine->m_timers.get(), kDefaultMusicVolume, kDefaultSoundVolume);
        profiles =
            std::make_unique<PlainProfileManager>(engine->m_log.get(), engine->m_files.get(), player.get(), userFolder);
        profiles->LoadAll();
    }

    ~WindowBaseFixture() override
    {
        profiles.reset();
        player.reset();
        engine.reset();
    }

    // The volumes the profile's file holds now.
    GameFramework::ProfileVolumes SavedVolumes(const GameFramework::ProfileBase& profile) const
    {
        const auto copy = profiles->NewProfile(GameFramework::ProfileBase::FromFile);
        copy->Load(profile.GetFileName());
        return copy->m_volumes;
    }

    // The configuration file's text; empty when there is none.
    std::string ConfigFile() const
    {
        const std::string path = ConfigPath();
        if (!TestSupport::FileExists(path))
            return {};
        const TestSupport::Bytes bytes = TestSupport::ReadFile(path);
        return std::string(bytes.begin(), bytes.end());
    }

    void ForgetConfigFile() const { std::remove(ConfigPath().c_str()); }

    static std::string ConfigPath() { return TestSupport::BaseFolder() + "/Quellhaven.ini"; }

    GUITesting::EnginePlatform platform; // before the engine, which goes first
    std::string userFolder = KeystrelEngine::FileManager::GetUserFolder() + "/Quellhaven";
    std::unique_ptr<KeystrelEngine::Engine> engine;
    KeystrelEngine::Config* config = nullptr;
    std::unique_ptr<GameFramework::AudioPlayer> player;
    std::unique_ptr<PlainProfileManager> profiles;
};

} // namespace FrameworkTesting
