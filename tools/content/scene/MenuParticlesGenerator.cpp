#include "tools/content/scene/MenuParticlesGenerator.h"

#include "tools/content/art/ParticleKeys.h"
#include "tools/content/art/Surface.h"

#include <functional>

namespace Content {
namespace {

using Formats::ParticleFile;
using P = ParticleKeys;

constexpr std::uint32_t kBoxEmitter = 1;

// A system of the given capacity that keeps its particles in the plane (GUI) or lets them spread in z (world).
ParticleFile System(std::uint32_t capacity, float extent, bool flat)
{
    ParticleFile system;
    system.capacity = capacity;
    system.boxMin = {-extent, -extent, flat ? 0.0f : -extent};
    system.boxMax = {extent, extent, flat ? 0.0f : extent};
    return system;
}

// Emits steadily at rate particles a second.
void Steady(ParticleFile& system, float rate)
{
    system.interpolate = 1;
    system.rate.fill(rate);
}

void Life(ParticleFile& system, float centre, float spread)
{
    system.lifeCentre.fill(centre);
    system.lifeSpread.fill(spread);
}

void Heading(ParticleFile& system, const Formats::Key3& centre, const Formats::Key3& spread)
{
    system.directionCentre = P::Same(centre);
    system.directionSpread = P::Same(spread);
}

ParticleFile ButterflyAppear()
{
    ParticleFile system = System(40, 30.0f, false);
    system.rate = P::Burst(24.0f);
    Life(system, 0.9f, 0.3f);
    Heading(system, {0.0f, 0.0f, 0.6f}, {1.0f, 1.0f, 0.6f});
    system.speedCentre = P::Ramp(0.5f, 0.05f);
    system.speedSpread.fill(0.15f);
    system.size = P::Ramp(3.0f, 0.5f);
    system.colour = P::Fade({1.0f, 0.95f, 0.7f, 1.0f}, {1.0f, 0.7f, 0.9f, 0.0f});
    return system;
}

ParticleFile ButterflyDisappear()
{
    ParticleFile system = System(60, 40.0f, false);
    Steady(system, 40.0f);
    Life(system, 0.8f, 0.2f);
    Heading(system, {0.0f, 0.0f, -1.0f}, {0.5f, 0.5f, 0.3f});
    system.speedCentre.fill(0.15f);
    system.gravityOn = 1;
    system.gravity = 0.4f;
    system.size = P::Ramp(2.5f, 0.5f);
    system.colour = P::Fade({0.9f, 0.6f, 1.0f, 0.9f}, {0.6f, 0.5f, 1.0f, 0.0f});
    return system;
}

ParticleFile ButterflySwap()
{
    ParticleFile system = System(24, 30.0f, false);
    system.duration = 0.6f;
    system.rate = P::Burst(16.0f);
    Life(system, 0.5f, 0.1f);
    Heading(system, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.2f});
    system.speedCentre = P::Ramp(0.6f, 0.1f);
    system.size = P::Ramp(2.2f, 0.0f);
    system.colour = P::Fade({0.8f, 1.0f, 1.0f, 1.0f}, {0.3f, 0.6f, 1.0f, 0.0f});
    return system;
}

ParticleFile ManaCell()
{
    ParticleFile system = System(30, 40.0f, false);
    system.rate = P::Burst(20.0f);
    Life(system, 1.1f, 0.3f);
    Heading(system, {0.0f, 0.0f, 1.0f}, {0.35f, 0.35f, 0.2f});
    system.speedCentre = P::Ramp(0.6f, 0.1f);
    system.speedSpread.fill(0.2f);
    system.size = P::Ramp(2.5f, 1.0f);
    system.colour = P::Fade({0.5f, 0.8f, 1.0f, 1.0f}, {0.3f, 0.5f, 1.0f, 0.0f});
    return system;
}

ParticleFile Upgrade()
{
    ParticleFile system = System(120, 200.0f, true);
    system.shape = kBoxEmitter;
    system.duration = 1.5f;
    system.rate = P::Burst(90.0f);
    Life(system, 1.4f, 0.4f);
    Heading(system, {0.0f, 1.0f, 0.0f}, {0.4f, 0.4f, 0.0f});
    system.speedCentre = P::Ramp(0.5f, 0.1f);
    system.size = P::Ramp(12.0f, 2.0f);
    system.colour = P::Fade({1.0f, 0.9f, 0.5f, 1.0f}, {1.0f, 0.6f, 0.3f, 0.0f});
    return system;
}

ParticleFile CursorTrail()
{
    ParticleFile system = System(40, 40.0f, true);
    Steady(system, 45.0f);
    Life(system, 0.55f, 0.15f);
    Heading(system, {0.0f, -1.0f, 0.0f}, {0.6f, 0.4f, 0.0f});
    system.speedCentre = P::Ramp(0.25f, 0.05f);
    system.size = P::Ramp(9.0f, 1.0f);
    system.colour = P::Fade({1.0f, 0.95f, 0.6f, 0.9f}, {1.0f, 0.5f, 0.8f, 0.0f});
    return system;
}

ParticleFile CursorClick()
{
    ParticleFile system = System(24, 50.0f, true);
    system.duration = 0.5f;
    system.rate = P::Burst(18.0f);
    Life(system, 0.45f, 0.1f);
    Heading(system, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.0f});
    system.speedCentre = P::Ramp(1.6f, 0.1f);
    system.speedSpread.fill(0.3f);
    system.size = P::Ramp(11.0f, 2.0f);
    system.colour = P::Fade({1.0f, 1.0f, 0.85f, 1.0f}, {1.0f, 0.6f, 0.2f, 0.0f});
    return system;
}

ParticleFile ManaToProgress()
{
    ParticleFile system = System(60, 30.0f, true);
    Steady(system, 90.0f);
    Life(system, 0.45f, 0.1f);
    Heading(system, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.0f});
    system.speedCentre.fill(0.15f);
    system.size = P::Ramp(12.0f, 2.0f);
    system.colour = P::Fade({0.55f, 0.85f, 1.0f, 1.0f}, {0.3f, 0.5f, 1.0f, 0.0f});
    return system;
}

ParticleFile ManaProgress()
{
    ParticleFile system = System(80, 100.0f, true);
    system.shape = kBoxEmitter;
    system.boxMin = {-100.0f, -8.0f, 0.0f};
    system.boxMax = {100.0f, 8.0f, 0.0f};
    Steady(system, 70.0f);
    Life(system, 0.7f, 0.2f);
    Heading(system, {0.0f, 1.0f, 0.0f}, {0.3f, 0.3f, 0.0f});
    system.speedCentre = P::Ramp(0.35f, 0.05f);
    system.size = P::Ramp(8.0f, 1.0f);
    system.colour = P::Fade({0.7f, 0.9f, 1.0f, 1.0f}, {0.4f, 0.6f, 1.0f, 0.0f});
    return system;
}

struct Effect
{
    const char* name;
    ParticleFile (*make)();
    const char* sprite;
};

const Effect kEffects[] = {
    {"butterfly_appear", ButterflyAppear, "spark"},
    {"butterfly_disappear", ButterflyDisappear, "mote"},
    {"butterfly_swap", ButterflySwap, "spark"},
    {"mana_cell", ManaCell, "mote"},
    {"upgrade", Upgrade, "spark"},
    {"cursor_train", CursorTrail, "spark"},
    {"cursor_click", CursorClick, "spark"},
    {"mana_to_progress", ManaToProgress, "mote"},
    {"mana_progress", ManaProgress, "spark"},
};

// A four-pointed star with a glowing heart.
Picture Spark()
{
    Picture picture(64, 64, {1.0f, 1.0f, 1.0f, 0.0f});
    picture.Draw(Shape::Everywhere(), Paint::Radial({32.0f, 32.0f}, 30.0f,
                                                    {{0.0f, {1.0f, 1.0f, 1.0f, 0.8f}},
                                                     {0.35f, {1.0f, 1.0f, 1.0f, 0.25f}},
                                                     {1.0f, {1.0f, 1.0f, 1.0f, 0.0f}}}));
    picture.Draw(Shape::Polygon(Outlines::Star(4, 31.0f, 7.0f, 1.5707964f, {32.0f, 32.0f})).Soft(2.0f),
                 Color{1.0f, 1.0f, 1.0f, 0.9f});
    return picture;
}

Picture Mote()
{
    Picture picture(64, 64, {1.0f, 1.0f, 1.0f, 0.0f});
    picture.Draw(Shape::Everywhere(), Paint::Radial({32.0f, 32.0f}, 31.0f,
                                                    {{0.0f, {1.0f, 1.0f, 1.0f, 1.0f}},
                                                     {0.4f, {1.0f, 1.0f, 1.0f, 0.6f}},
                                                     {1.0f, {1.0f, 1.0f, 1.0f, 0.0f}}}));
    return picture;
}

} // namespace

std::vector<std::string> MenuParticlesGenerator::Names()
{
    std::vector<std::string> names;
    for (const Effect& effect : kEffects)
        names.emplace_back(effect.name);
    return names;
}

void MenuParticlesGenerator::List(ArtList& list) const
{
    const std::string folder = kFolder;
    for (const Effect& effect : kEffects) {
        list.AddParticles(folder + effect.name, [&effect] {
            const std::string sprite = effect.sprite;
            return ParticleArt{
                effect.make(),
                Surface::Describe(
                    SurfaceLook(sprite + ".jpg").Opacity(sprite + "_alpha.jpg").Blending(Blend::Additive))};
        });
    }
    list.AddTexture(folder + "spark", Spark);
    list.AddTexture(folder + "mote", Mote);
}

} // namespace Content
