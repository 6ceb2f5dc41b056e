// The engine objects a model or a particle system needs, made once per process over the fuzz folder and on the
// recording device (no GL, nothing shown) in a window of 160 x 120 (each scene clears the back buffer, and a
// small one keeps the inputs fast): log, files, configuration, window, render system, timers, cameras,
// lights, shaders, models and sprite groups; and "fuzz.srf" in the data folder, the untextured description that a
// fuzzed "fuzz.mlf" or "fuzz.psf" takes as its companion. Reset empties what one input leaves behind, so memory
// stays flat over millions of inputs.
#pragma once

#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/Model.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/SpriteGroupManager.h"

#include <memory>

namespace Fuzzing {

class RenderServices
{
public:
    static RenderServices& Get();

    RenderServices(const RenderServices&) = delete;
    RenderServices& operator=(const RenderServices&) = delete;

    // The log's history and the device's recorded calls.
    void Reset();

    KeystrelEngine::MessageManager log{"", "Quellhaven", "", false, false};
    KeystrelEngine::FileManager files;
    KeystrelEngine::Config config;
    std::unique_ptr<KeystrelEngine::Window> window;
    std::unique_ptr<KeystrelEngine::RenderSystem_D3D7> render;
    KeystrelEngine::TimerManager timers{false};
    std::unique_ptr<KeystrelEngine::CameraManager> cameras;
    std::unique_ptr<KeystrelEngine::LightManager> lights;
    std::unique_ptr<KeystrelEngine::ShaderManager> shaders;
    KeystrelEngine::ModelServices modelServices;
    std::unique_ptr<KeystrelEngine::ModelManager> models;
    std::unique_ptr<KeystrelEngine::SpriteGroupManager> spriteGroups;
    KeystrelEngine::ParticleServices particleServices;

private:
    RenderServices();
    ~RenderServices();
};

} // namespace Fuzzing
