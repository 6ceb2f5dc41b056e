// Particle systems: the input is a ".psf" file of the data folder, loaded with its untextured companion
// description as the particle-system manager loads one. A system that loads is cloned as the game clones its
// templates, then emits and moves its particles over a few frames along a path of three points (the emitter shapes
// that use no path ignore it), with the sprite groups updated after it as in the engine's frame.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/RenderServices.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/Random.h"
#include "tools/formats/ParticleFileWriter.h"

using namespace KeystrelEngine;
using Formats::ParticleFile;
using Fuzzing::RenderServices;

namespace {

void Run(const ParticleSystem& loaded, RenderServices& services)
{
    ParticleSystem system(loaded);
    system.m_pathPoints = {{0, 0, 0}, {1, 2, 0}, {3, 0, 1}};
    system.m_pathInterpolation = true;
    system.m_looping = true;
    system.m_emitting = true;
    for (const float frameTime : {0.05f, 0.3f, 1.0f, 0.1f}) {
        services.timers.m_frameTime = frameTime;
        system.Update();
        services.spriteGroups->UpdateAll();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RenderServices& services = RenderServices::Get();
    Fuzzing::FuzzFolder::Get().Write("Data/fuzz.psf", data, size);
    RandomSeed = 1; // emission draws the same values for the same input
    try {
        const ParticleSystem loaded(services.particleServices, "fuzz.psf", nullptr);
        Run(loaded, services);
    } catch (const Error&) {
        // The file's refusal.
    }
    services.Reset();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    ParticleFile fountain;
    fountain.rate = {10, 20, 30, 20, 10, 0};
    fountain.lifeSpread = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    fountain.speedCentre = {1, 1, 2, 2, 1, 1};
    fountain.speedSpread = {0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f};
    fountain.gravityOn = 1;
    fountain.gravity = 2.0f;
    fountain.floorOn = 1;
    fountain.interpolate = 1;
    seeds.Add("fountain.psf", Formats::BuildParticleFile(fountain));
    seeds.Add("old.psf", Formats::BuildParticleFile(fountain, 203));

    ParticleFile box;
    box.capacity = 3;
    box.rate = {3, 0, 0, 0, 0, 0};
    box.shape = 1;
    box.boxMin = {-1, -1, 0};
    box.boxMax = {1, 1, 2};
    box.directionSpread = {Formats::Key3{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
    seeds.Add("box.psf", Formats::BuildParticleFile(box));

    ParticleFile path;
    path.shape = 2;
    path.rate = {5, 5, 5, 5, 5, 5};
    path.interpolate = 1;
    path.duration = 0.25f;
    seeds.Add("path.psf", Formats::BuildParticleFile(path));
}
