// The engine's root object. It takes the settings record, creates every manager in a fixed order, each with the
// services it needs, drives them through the two halves of a frame (Update before the game's own work, EndFrame
// after it) and deletes them in the reverse order. There is no global engine: the game copies the manager
// pointers it needs after construction. The "exit" command of the configuration is the exit request.
#pragma once

#include "EngineSettings.h"

#include <memory>
#include <string>

namespace KeystrelEngine {

class CameraManager;
class Config;
class Console;
class Controls;
class FileManager;
class GUIManager;
class LightManager;
class MessageManager;
class ModelManager;
class ParticleSystemManager;
class RenderSystem;
class ScreenCapture;
class ShaderManager;
class ShaderDescriptor;
class SoundManager;
class SoundSystem;
class SpriteGroupManager;
class TimerManager;
class Window;

class Engine
{
public:
    // Whatever a manager's constructor throws reaches the caller; the managers made before it are deleted.
    explicit Engine(const EngineSettings& settings);
    // Saves the configuration when the settings ask for it, then deletes the managers in the reverse order of
    // their creation.
    virtual ~Engine();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The first half of a frame: configuration, timers, window, input, the GUI's input, the console (when there is
    // one), the log's frame list.
    void Update();
    // The drawing pass of EndFrame.
    void Draw();
    // The last step of a frame: drawing, presentation, the screenshot key, capture and the configuration's
    // end of frame.
    void EndFrame();

    // Makes the drop-down console with the engine's services. There is one console: while it exists, a further
    // call keeps it and logs an error.
    void CreateConsole(const std::string& title, const ShaderDescriptor& background, std::uint32_t fontId,
                       const std::string& toggleKey, float alpha, float size, float speed);

    // Raises "exit"; it stays raised.
    void RequestExit();
    bool IsExitRequested() const;
    // The application name, a blank and the version as major.minor with two minor digits ("Quellhaven 1.05").
    std::string GetTitle() const;

    EngineSettings m_settings;
    std::unique_ptr<MessageManager> m_log;
    std::unique_ptr<FileManager> m_files;
    std::unique_ptr<TimerManager> m_timers;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<Window> m_window;
    std::unique_ptr<RenderSystem> m_renderSystem;
    std::unique_ptr<CameraManager> m_cameras;
    std::unique_ptr<LightManager> m_lights;
    std::unique_ptr<ShaderManager> m_shaders; // owns the texture manager
    std::unique_ptr<ModelManager> m_models;
    std::unique_ptr<SpriteGroupManager> m_spriteGroups;
    std::unique_ptr<ParticleSystemManager> m_particleSystems;
    std::unique_ptr<Controls> m_controls;
    std::unique_ptr<SoundSystem> m_soundSystem;
    std::unique_ptr<SoundManager> m_soundManager;
    std::unique_ptr<GUIManager> m_gui;
    std::unique_ptr<ScreenCapture> m_screenCapture;
    // The drop-down console: none exists until the game asks for one, and the frame skips it meanwhile.
    std::unique_ptr<Console> m_console;
    bool m_comInitialised = false; // CoInitialize answered S_OK, so CoUninitialize is owed

private:
    void CreateManagers();
    void DeleteManagers();
};

} // namespace KeystrelEngine
