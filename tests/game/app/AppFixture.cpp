#include "tests/game/app/AppFixture.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "platform/testing.h"
#include "tests/support/LinkedDataFolder.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace AppTesting {
namespace {

// Engine names of the data folder, with or without "data\\" in front (files the game opens itself name it).
fs::path DiskPath(const std::string& name)
{
    std::string path = name.starts_with("data\\") ? name.substr(5) : name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return fs::path(TestSupport::BaseFolder()) / "Data" / path;
}

} // namespace

void PointAt(const KeystrelEngine::Window& screen, const KeystrelEngine::GUIWindow& widget)
{
    PointAt(screen, ClickPoint(widget));
}

void PointAt(const KeystrelEngine::Window& screen, KeystrelEngine::GUIPoint gui)
{
    const auto [x, y] = gui;
    // GUI units to client pixels, y down.
    POINT point{static_cast<LONG>(x / 800.0f * static_cast<float>(screen.m_width)),
                static_cast<LONG>(static_cast<float>(screen.m_height) * (1.0f - y / 600.0f))};
    ClientToScreen(screen.m_handle, &point);
    SetCursorPos(point.x, point.y);
}

AppFixture::AppFixture()
{
    PlatformTesting::UseRecordingDevice(true);
    PlatformTesting::SetDisplayDrivers({});
    PlatformTesting::ClearFailures();
    PlatformTesting::SetDesktopSize(1920, 1080);
    PlatformTesting::ResetInput();
    PlatformTesting::UseManualSoundOutput(22050);
}

AppFixture::~AppFixture()
{
    PlatformTesting::UseManualSoundOutput(0);
    PlatformTesting::ClearFailures();
    PlatformTesting::SetDesktopSize(0, 0);
    PlatformTesting::UseRecordingDevice(false);
}

void AppFixture::SetUp()
{
    KeystrelEngine::EngineSettings settings;
    settings.applicationName = "Quellhaven";
    settings.version = 100;
    settings.dataFolder = "Data";
    settings.videoMode = "800x600x32";
    settings.forceVideoMode = true;
    settings.centerWindow = true;
    engine = std::make_unique<KeystrelEngine::Engine>(settings);
    ResetDataFolder();
    player = std::make_unique<GameFramework::AudioPlayer>(engine->m_config.get(), engine->m_soundManager.get(),
                                                          engine->m_timers.get(), 1.0f, 1.0f);
    userFolder = KeystrelEngine::FileManager::GetUserFolder() + "/Quellhaven";
    profiles = std::make_unique<Wispfold::ProfileManager>(engine->m_log.get(), engine->m_files.get(), player.get(),
                                                          userFolder);
}

void AppFixture::ResetDataFolder()
{
    LinkDataFolder();
}

// Every file of the build's data as a link in the same place below the test's data folder.
void LinkDataFolder()
{
    TestSupport::LinkDataFolder(fs::path(KEYSTREL_BUILD_FOLDER) / "Data", fs::path(TestSupport::BaseFolder()) / "Data");
}

void AppFixture::TearDown()
{
    background.reset();
    levels.reset();
    profiles.reset();
    player.reset();
    engine.reset();
}

void ReplaceDataFile(const std::string& name, const TestSupport::Bytes& bytes)
{
    RemoveDataFile(name);
    TestSupport::WriteFile(DiskPath(name).string(), bytes);
}

void ReplaceDataFile(const std::string& name, const std::string& text)
{
    ReplaceDataFile(name, TestSupport::ToBytes(text));
}

void RemoveDataFile(const std::string& name)
{
    fs::remove(DiskPath(name));
}

KeystrelEngine::GUIPoint ClickPoint(const KeystrelEngine::GUIWindow& widget)
{
    const KeystrelEngine::GUIPoint origin = widget.GetAbsolutePosition();
    const KeystrelEngine::GUIRect area = widget.m_hasHitArea
                                             ? widget.m_hitArea
                                             : KeystrelEngine::GUIRect{0, 0, widget.m_size.width, widget.m_size.height};
    return {origin.x + area.x + area.width * 0.5f, origin.y + area.y + area.height * 0.5f};
}

GameFramework::DataKeeperServices AppFixture::KeeperServices() const
{
    return {engine->m_log.get(),    engine->m_files.get(),        engine->m_shaders.get(),
            engine->m_models.get(), engine->m_spriteGroups.get(), engine->m_particleSystems.get()};
}

GameFramework::LoadingWindowServices AppFixture::LoadingServices() const
{
    return {engine->m_log.get(), engine->m_timers.get(), engine->m_window.get(), engine->m_renderSystem.get(),
            engine->m_soundManager.get()};
}

void AppFixture::LoadSharedData(Wispfold::GameData& data) const
{
    GameFramework::GUILoadingWindowBase loading(LoadingServices());
    loading.Open(&data);
    loading.RunLoading();
}

std::unique_ptr<Wispfold::GameData> AppFixture::MakeSharedData() const
{
    return std::make_unique<Wispfold::GameData>(KeeperServices(), engine->m_gui.get());
}

void AppFixture::MakeBackground()
{
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\loading.ini");
    levels = std::make_unique<Wispfold::LevelManager>(engine->m_log.get(), engine->m_files.get());
    background =
        std::make_unique<Wispfold::GUIBackgroundWindow>(engine.get(), player.get(), levels.get(), profiles.get());
}

void AppFixture::Frame(float seconds, const std::function<void()>& windows)
{
    PlatformTesting::AdvanceFakeClock(seconds);
    engine->Update();
    if (background)
        background->Update();
    if (windows)
        windows();
    engine->EndFrame();
}

bool AppFixture::FramesUntil(const std::function<bool()>& condition, int limit, float seconds)
{
    for (int i = 0; i < limit && !condition(); ++i)
        Frame(seconds);
    return condition();
}

void AppFixture::MakeCurrentProfile(GameFramework::LevelId current, GameFramework::LevelId best, bool finished)
{
    GameFramework::ProfileBase* profile = profiles->FindProfile(u"Tester");
    if (!profile)
        profile = profiles->AddProfile(u"Tester");
    profile->m_currentLevel = current;
    profile->m_bestLevel = best;
    profile->m_finished = finished ? 1 : 0;
    profiles->m_current = profile;
}

std::string AppFixture::ConfigurationPath() const
{
    std::string path = engine->m_files->MakeDiskPath(engine->m_config->GetPath());
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string AppFixture::SavedConfiguration() const
{
    const TestSupport::Bytes bytes = TestSupport::ReadFile(ConfigurationPath());
    return std::string(bytes.begin(), bytes.end());
}

} // namespace AppTesting
