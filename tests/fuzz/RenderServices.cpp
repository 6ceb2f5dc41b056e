#include "tests/fuzz/RenderServices.h"

#include "tests/fuzz/FuzzFolder.h"

#include "platform/testing.h"
#include "tools/formats/ShaderFileWriter.h"

namespace Fuzzing {

using namespace KeystrelEngine;

RenderServices& RenderServices::Get()
{
    static RenderServices services;
    return services;
}

RenderServices::RenderServices()
    : files(&log, FuzzFolder::Get().GetBase(), "Data"),
      config("Quellhaven", "", &log, &files, "160x120x32", false, false, false)
{
    PlatformTesting::UseRecordingDevice(true);
    window = std::make_unique<Window>(&log, &config, "Quellhaven 1.00", nullptr, 0, false, 160, 120, false, true, 0, 0);
    render = std::make_unique<RenderSystem_D3D7>(&log, &config, window.get(), false);
    cameras = std::make_unique<CameraManager>(&log, window.get(), render.get());
    lights = std::make_unique<LightManager>(&log, render.get());
    shaders = std::make_unique<ShaderManager>(&log, &files, &timers, &config, render.get());
    modelServices = {&log, &files, &timers, render.get(), cameras.get(), lights.get(), shaders.get()};
    models = std::make_unique<ModelManager>(modelServices);
    spriteGroups = std::make_unique<SpriteGroupManager>(cameras.get(), models.get());
    particleServices = {&log, &files, &timers, spriteGroups.get()};
    cameras->Update();
    FuzzFolder::Get().Write("Data/fuzz.srf", Formats::BuildShaderFile({}));
}

// In the reverse order of creation, as the engine does.
RenderServices::~RenderServices()
{
    spriteGroups.reset();
    models.reset();
    shaders.reset();
    lights.reset();
    cameras.reset();
    render.reset();
    window.reset();
}

void RenderServices::Reset()
{
    log.m_history.clear();
    PlatformTesting::ClearRecording();
}

} // namespace Fuzzing
