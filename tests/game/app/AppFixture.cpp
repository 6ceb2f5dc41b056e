#include "tests/game/app/AppFixture.h"

#include "engine/foundation/FileManager.h"
#include "engine/gui/Engine.h"
#include "game/app/BackgroundThemes.h"
#include "platform/testing.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ParticleFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace AppTesting {
namespace {

// A stage theme of every stage after two base themes, as the menu background's file lists them.
constexpr const char* kStandInThemes = "6\r\nsky\r\n1\r\n0\r\nhills\r\n1\r\n0\r\nmeadow\r\n0\r\n0\r\n"
                                       "grove\r\n0\r\n1\r\nspring\r\n0\r\n2\r\nbloom\r\n0\r\n3\r\n";

// Engine names of the data folder, with or without "data\\" in front (files the game opens itself name it).
fs::path DiskPath(const std::string& name)
{
    std::string path = name.starts_with("data\\") ? name.substr(5) : name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return fs::path(TestSupport::BaseFolder()) / "Data" / path;
}

// Every file of the build's data as a link in the same place below the test's data folder.
void LinkGeneratedData()
{
    const fs::path from = fs::path(KEYSTREL_BUILD_FOLDER) / "Data";
    const fs::path to = fs::path(TestSupport::BaseFolder()) / "Data";
    fs::remove_all(to);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
        const fs::path target = to / fs::relative(entry.path(), from);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::create_symlink(entry.path(), target);
    }
}

// A flat quad of the GUI's virtual screen, 100 x 50 at (10, 20).
Formats::ModelFile StandInQuad()
{
    Formats::ModelFile file;
    file.indices = {0, 1, 2, 0, 2, 3};
    file.vertices = {{0, 0, {0, 0, 1}, {10, 20, 0}},
                     {1, 0, {0, 0, 1}, {110, 20, 0}},
                     {1, 1, {0, 0, 1}, {110, 70, 0}},
                     {0, 1, {0, 0, 1}, {10, 70, 0}}};
    file.boxes = {{{10, 20, 0}, {110, 70, 0}}};
    return file;
}

void EnsureFile(const std::string& name, const TestSupport::Bytes& bytes)
{
    if (!HasDataFile(name))
        TestSupport::WriteFile(DiskPath(name).string(), bytes);
}

// The scene's files (background themes, the speaking character, the menus' particle systems) where the set has
// none yet.
void FillInSceneData(KeystrelEngine::FileManager& files)
{
    EnsureFile(Wispfold::BackgroundThemes::kPath, TestSupport::ToBytes(kStandInThemes));
    const Wispfold::BackgroundThemes themes(files);
    for (const Wispfold::BackgroundTheme& theme : themes.GetThemes())
        EnsureModel(theme.GetModelName());
    for (const char* model : {"character", "text_size1", "text_size2", "text_size3", "text_size4"})
        EnsureModel("ui\\menus\\character\\" + std::string(model) + ".mlf");
    const TestSupport::Bytes picture =
        TestSupport::ReadFile(DiskPath("game_objects\\butterfly\\textures\\butterfly_0.jpg").string());
    for (const char* texture : {"character_color.jpg", "character_alpha.jpg"})
        EnsureFile("ui\\menus\\textures\\" + std::string(texture), picture);
    for (const char* system : {"butterfly_appear", "butterfly_disappear", "butterfly_swap", "mana_cell", "upgrade",
                               "cursor_train", "cursor_click", "mana_to_progress", "mana_progress"}) {
        const std::string name = "ui\\menus\\particles\\" + std::string(system);
        EnsureFile(name + ".psf", Formats::BuildParticleFile({}));
        EnsureFile(name + ".srf", Formats::BuildShaderFile({}));
    }
}

} // namespace

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
    LinkGeneratedData();
    FillInSceneData(*engine->m_files);
}

void AppFixture::TearDown()
{
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

bool HasDataFile(const std::string& name)
{
    return fs::exists(DiskPath(name));
}

void EnsureModel(const std::string& name)
{
    std::string description = name;
    KeystrelEngine::ReplaceFileExtension(description, "srf");
    EnsureFile(name, Formats::BuildModelFile(StandInQuad()));
    EnsureFile(description, Formats::BuildShaderFile({}));
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

} // namespace AppTesting
