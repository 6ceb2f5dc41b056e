// What the sprite-group and particle-system tests share: the model fixture's services with a model manager, a
// sprite-group manager and a particle-system manager on top, the frame pass in the engine's order, and particle
// files written below the data folder with an untextured companion description.
#pragma once

#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/SpriteGroupManager.h"
#include "tests/engine/render/ModelFixture.h"
#include "tools/formats/ParticleFileWriter.h"

#include <memory>
#include <string>

namespace RenderTesting {

class ParticleFixture : public ModelFixture
{
protected:
    explicit ParticleFixture(bool recording = true) : ModelFixture(recording) {}

    void SetUp() override
    {
        ModelFixture::SetUp();
        CreateManagers();
    }

    void TearDown() override
    {
        DestroyManagers();
        ModelFixture::TearDown();
    }

    void CreateManagers()
    {
        models = std::make_unique<KeystrelEngine::ModelManager>(modelServices);
        spriteGroups = std::make_unique<KeystrelEngine::SpriteGroupManager>(cameras.get(), models.get());
        particleServices = {&services.log, &services.files, timers.get(), spriteGroups.get()};
        particles = std::make_unique<KeystrelEngine::ParticleSystemManager>(particleServices);
    }

    // In the reverse order of creation, as the engine does.
    void DestroyManagers()
    {
        particles.reset();
        spriteGroups.reset();
        models.reset();
    }

    // The engine's frame for these objects, with a frame time of dt: cameras, particle systems, sprite groups.
    // The model pass is left to the tests that look at what is drawn.
    void Frame(float dt)
    {
        timers->m_frameTime = dt;
        cameras->Update();
        particles->UpdateAll();
        spriteGroups->UpdateAll();
    }

    // Writes the system and an untextured companion description; returns the engine name.
    static std::string WriteParticles(const std::string& name, const Formats::ParticleFile& file,
                                      std::uint32_t version = 204)
    {
        WriteDataFile(name + ".psf", Formats::BuildParticleFile(file, version));
        WriteDataFile(name + ".srf", Formats::BuildShaderFile({}));
        return name + ".psf";
    }

    // A registered, started clone of the file's system; the template is deleted.
    KeystrelEngine::ParticleSystem* Start(const Formats::ParticleFile& file, bool looping = true)
    {
        const std::unique_ptr<KeystrelEngine::ParticleSystem> loaded(
            particles->LoadParticleSystem(WriteParticles("effect", file), nullptr));
        KeystrelEngine::ParticleSystem* system = particles->CloneParticleSystem(*loaded);
        system->m_looping = looping;
        system->m_time = 0.0f;
        system->m_emitting = true;
        return system;
    }

    std::unique_ptr<KeystrelEngine::ModelManager> models;
    std::unique_ptr<KeystrelEngine::SpriteGroupManager> spriteGroups;
    KeystrelEngine::ParticleServices particleServices;
    std::unique_ptr<KeystrelEngine::ParticleSystemManager> particles;
};

} // namespace RenderTesting
