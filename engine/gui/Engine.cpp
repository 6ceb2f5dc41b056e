#include "Engine.h"

#include "Console.h"
#include "GUIManager.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls_DI7.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/ScreenCapture.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/SpriteGroupManager.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem_DS7.h"

namespace KeystrelEngine {
namespace {

constexpr const char* kDefaultName = "Keystrel Engine";
constexpr std::uint32_t kDefaultVersion = 67;

EngineSettings WithDefaultName(EngineSettings settings)
{
    if (settings.applicationName.empty()) {
        settings.applicationName = kDefaultName;
        settings.version = kDefaultVersion;
    }
    return settings;
}

} // namespace

Engine::Engine(const EngineSettings& settings) : m_settings(WithDefaultName(settings))
{
    m_comInitialised = CoInitialize(nullptr) == S_OK;
    try {
        CreateManagers();
    } catch (...) {
        DeleteManagers();
        if (m_comInitialised)
            CoUninitialize();
        throw;
    }
    RandomSeed = GetTickCount();
}

Engine::~Engine()
{
    if (m_settings.saveConfigOnExit)
        m_config->Save();
    DeleteManagers();
    if (m_comInitialised)
        CoUninitialize();
}

void Engine::CreateManagers()
{
    const EngineSettings& s = m_settings;
    m_log = std::make_unique<MessageManager>(s.logFolder, s.applicationName, s.logName, s.logEnabled,
                                             s.logReopenEachMessage);
    m_files = std::make_unique<FileManager>(m_log.get(), s.installPath, s.dataFolder);
    m_timers = std::make_unique<TimerManager>(true);
    m_config = std::make_unique<Config>(s.configName, s.configFolder, m_log.get(), m_files.get(), s.videoMode,
                                        s.forceVideoMode, s.forceFullscreen, s.fullscreen);
    m_config->Load();
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    Config::ParseVideoMode(m_config->v_mode, &width, &height, &bitsPerPixel);
    m_window = std::make_unique<Window>(m_log.get(), m_config.get(), GetTitle(), s.parentWindow,
                                        static_cast<int>(s.iconId & 0xFFFFu), s.minimizeOnFocusLoss,
                                        static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                                        m_config->v_fullscreen, s.centerWindow, s.windowLeft, s.windowTop);
    m_renderSystem =
        std::make_unique<RenderSystem_D3D7>(m_log.get(), m_config.get(), m_window.get(), s.renderSystemFlag);
    m_cameras = std::make_unique<CameraManager>(m_log.get(), m_window.get(), m_renderSystem.get());
    m_lights = std::make_unique<LightManager>(m_log.get(), m_renderSystem.get());
    m_shaders = std::make_unique<ShaderManager>(m_log.get(), m_files.get(), m_timers.get(), m_config.get(),
                                                m_renderSystem.get());
    m_models =
        std::make_unique<ModelManager>(ModelServices{m_log.get(), m_files.get(), m_timers.get(), m_renderSystem.get(),
                                                     m_cameras.get(), m_lights.get(), m_shaders.get()});
    m_spriteGroups = std::make_unique<SpriteGroupManager>(m_cameras.get(), m_models.get());
    m_particleSystems = std::make_unique<ParticleSystemManager>(
        ParticleServices{m_log.get(), m_files.get(), m_timers.get(), m_spriteGroups.get()});
    m_screenCapture = std::make_unique<ScreenCapture>(m_log.get(), m_files.get(), m_config.get(), m_window.get());
    m_controls = std::make_unique<Controls_DI7>(m_log.get(), m_timers.get(), m_config.get(), m_window.get());
    m_soundSystem =
        std::make_unique<SoundSystem_DS7>(m_log.get(), m_files.get(), m_config.get(), m_window->m_handle, s.use3DSound);
    m_soundManager = std::make_unique<SoundManager>(m_log.get(), m_files.get(), m_soundSystem.get());
    m_gui = std::make_unique<GUIManager>(m_log.get(), m_files.get(), m_window.get(), m_timers.get(), m_cameras.get(),
                                         m_shaders.get(), m_models.get(), m_controls.get(), m_soundManager.get());
}

// Each manager still uses the ones made before it, so they go in the reverse order.
void Engine::DeleteManagers()
{
    m_console.reset();
    m_gui.reset();
    m_soundManager.reset();
    m_soundSystem.reset();
    m_controls.reset();
    m_screenCapture.reset();
    m_particleSystems.reset();
    m_spriteGroups.reset();
    m_models.reset();
    m_shaders.reset();
    m_lights.reset();
    m_cameras.reset();
    m_renderSystem.reset();
    m_window.reset();
    m_config.reset();
    m_timers.reset();
    m_files.reset();
    m_log.reset();
}

void Engine::Update()
{
    m_config->Update();
    m_timers->Update();
    m_window->Update();
    m_controls->Update();
    m_gui->Update();
    if (m_console)
        m_console->Update();
    m_log->ClearHistory();
}

void Engine::Draw()
{
    m_renderSystem->Refresh();
    m_cameras->Update();
    m_particleSystems->UpdateAll();
    m_spriteGroups->UpdateAll();
    m_gui->Draw();
    m_lights->Apply();
    m_shaders->Update();
    m_models->RenderAll();
    if (m_soundSystem)
        m_soundSystem->Refresh();
    if (m_soundManager)
        m_soundManager->Update(true);
}

void Engine::EndFrame()
{
    Draw();
    if (m_renderSystem->AreSurfacesValid())
        m_renderSystem->SwapBuffers();
    if (m_controls->IsKeyPressed("PRINTSCRN"))
        m_config->SetCommandState("sc_take_screenshot", Config::kCommandRaised);
    m_controls->EndFrame();
    m_screenCapture->Update();
    m_config->EndFrame();
    if (IsExitRequested())
        m_log->Message("\nExiting...\n");
}

void Engine::CreateConsole(const std::string& title, const ShaderDescriptor& background, std::uint32_t fontId,
                           const std::string& toggleKey, float alpha, float size, float speed)
{
    if (m_console) {
        m_log->Error("The console exists already");
        return;
    }
    const ConsoleServices services{m_log.get(),      m_timers.get(),  m_config.get(),
                                   m_controls.get(), m_shaders.get(), m_gui.get()};
    m_console = std::make_unique<Console>(services, title, background, fontId, toggleKey, alpha, size, speed);
}

void Engine::RequestExit()
{
    m_config->SetCommandState("exit", Config::kCommandRaised);
}

bool Engine::IsExitRequested() const
{
    return m_config->GetCommandState("exit") == Config::kCommandRaised;
}

std::string Engine::GetTitle() const
{
    const std::uint32_t minor = m_settings.version % 100;
    return m_settings.applicationName + " " + std::to_string(m_settings.version / 100) + "." + (minor < 10 ? "0" : "") +
           std::to_string(minor);
}

} // namespace KeystrelEngine
