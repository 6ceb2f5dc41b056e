// What the model tests share: a render system (recording by default), the timer, camera and light managers, the
// services every model keeps, and small example models written as files below the data folder with their
// companion ".srf" descriptions.
#pragma once

#include "engine/foundation/TimerManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/render/RenderFixture.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace RenderTesting {

// Writes a file below the data folder of the test's base folder under its engine name (backslashes allowed).
inline void WriteDataFile(const std::string& name, const TestSupport::Bytes& bytes)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/Data/" + path, bytes);
}

// A triangle list of one quad: x and y from 0 to 1 at z = 0, facing +z.
inline Formats::ModelFile StaticQuad()
{
    Formats::ModelFile file;
    file.flags = 0x1 | 0x8 | 0x40000;
    file.indices = {0, 1, 2, 0, 2, 3};
    file.vertices = {{0, 0, {0, 0, 1}, {0, 0, 0}},
                     {1, 0, {0, 0, 1}, {1, 0, 0}},
                     {1, 1, {0, 0, 1}, {1, 1, 0}},
                     {0, 1, {0, 0, 1}, {0, 1, 0}}};
    file.boxes = {{{0, 0, 0}, {1, 1, 0}}};
    return file;
}

// Two frames of one triangle, the second twice the size of the first, at one frame a second.
inline Formats::ModelFile TwoFrameMorph()
{
    Formats::ModelFile file;
    file.flags = 0x2 | 0x8 | 0x40000;
    file.frameCount = 2;
    file.speed = 1.0f;
    file.indices = {0, 1, 2};
    file.vertices = {{0, 0, {0, 0, 1}, {0, 0, 0}}, {1, 0, {0, 0, 1}, {1, 0, 0}}, {0, 1, {0, 0, 1}, {0, 1, 0}},
                     {0, 0, {0, 1, 0}, {0, 0, 0}}, {1, 0, {0, 1, 0}, {2, 0, 0}}, {1, 1, {0, 1, 0}, {0, 2, 0}}};
    file.boxes = {{{0, 0, 0}, {1, 1, 0}}, {{0, 0, 0}, {2, 2, 0}}};
    return file;
}

// One bone carrying one triangle; frame 0 leaves it in place, frame 1 moves it by (10, 0, 0) and turns it a
// quarter turn about z.
inline Formats::ModelFile OneBoneSkeleton()
{
    Formats::ModelFile file;
    file.flags = 0x4 | 0x8 | 0x40000;
    file.frameCount = 2;
    file.speed = 1.0f;
    file.bones = {{0, "root", {-1, -1, -1}, {1, 1, 1}, 7, 9}};
    file.keys = {{0, 0, 0, 0, 0, 0, 1, 1, 1, 1}, {10, 0, 0, 0, 0, 0.70710678f, 0.70710678f, 1, 1, 1}};
    file.indices = {0, 1, 2};
    file.skinVertices = {{0, 0, {{0, 1.0f, {0, 0, 1}, {0, 0, 0}}}},
                         {1, 0, {{0, 1.0f, {1, 0, 0}, {1, 0, 0}}}},
                         {0, 1, {{0, 0.5f, {0, 0, 1}, {0, 1, 0}}, {0, 0.5f, {0, 0, 1}, {0, 1, 0}}}}};
    file.boxes = {{{0, 0, 0}, {1, 1, 0}}};
    return file;
}

class ModelFixture : public RenderFixture
{
protected:
    explicit ModelFixture(bool recording = true) : RenderFixture(recording) {}

    void SetUp() override { CreateServices(); }

    void TearDown() override { DestroyServices(); }

    void CreateServices()
    {
        Create();
        timers = std::make_unique<KeystrelEngine::TimerManager>(false);
        timers->m_frameTime = 0.0f;
        cameras = std::make_unique<KeystrelEngine::CameraManager>(&services.log, window.get(), render.get());
        lights = std::make_unique<KeystrelEngine::LightManager>(&services.log, render.get());
        shaders = std::make_unique<KeystrelEngine::ShaderManager>(&services.log, &services.files, timers.get(),
                                                                  &services.config, render.get());
        modelServices = {&services.log, &services.files, timers.get(), render.get(),
                         cameras.get(), lights.get(),    shaders.get()};
        cameras->Update();
    }

    void DestroyServices()
    {
        shaders.reset();
        lights.reset();
        cameras.reset();
        timers.reset();
    }

    // Writes the model and an untextured companion description; returns the engine name.
    static std::string WriteModel(const std::string& name, const Formats::ModelFile& file)
    {
        WriteDataFile(name + ".mlf", Formats::BuildModelFile(file));
        WriteDataFile(name + ".srf", Formats::BuildShaderFile({}));
        return name + ".mlf";
    }

    std::unique_ptr<KeystrelEngine::Model> Load(const std::string& name, std::uint32_t extraFlags = 0,
                                                KeystrelEngine::Camera* camera = nullptr)
    {
        return std::make_unique<KeystrelEngine::Model>(modelServices, name, camera, extraFlags);
    }

    std::unique_ptr<KeystrelEngine::Model> LoadNew(const std::string& name, const Formats::ModelFile& file,
                                                   std::uint32_t extraFlags = 0)
    {
        return Load(WriteModel(name, file), extraFlags);
    }

    std::unique_ptr<KeystrelEngine::TimerManager> timers;
    std::unique_ptr<KeystrelEngine::CameraManager> cameras;
    std::unique_ptr<KeystrelEngine::LightManager> lights;
    std::unique_ptr<KeystrelEngine::ShaderManager> shaders;
    KeystrelEngine::ModelServices modelServices;
};

// The position, normal and texture coordinates of vertex i of a buffer, in that order (8 floats).
inline std::array<float, 8> VertexAt(const KeystrelEngine::VertexBuffer& buffer, std::uint32_t i)
{
    const std::uint8_t* vertex = buffer.GetData() + static_cast<std::size_t>(i) * buffer.GetVertexSize();
    std::array<float, 8> values;
    std::memcpy(values.data(), vertex, 24);
    std::memcpy(values.data() + 6, vertex + buffer.GetVertexSize() - 8, 8);
    return values;
}

} // namespace RenderTesting
