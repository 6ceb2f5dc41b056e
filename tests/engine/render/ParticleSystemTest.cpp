// Particle systems and their manager against the recording device: emission over the cycle, the pool, movement,
// the floor, retiring, clones, and hiding finished systems.
#include "engine/foundation/FileValues.h"
#include "engine/foundation/Random.h"
#include "engine/render/Model.h"
#include "engine/render/SpriteGroup.h"
#include "tests/engine/render/ParticleFixture.h"

#include <cmath>
#include <map>

using Formats::ParticleFile;
using KeystrelEngine::Model;
using KeystrelEngine::Particle;
using KeystrelEngine::ParticleSystem;
using KeystrelEngine::Sprite;
using KeystrelEngine::Vector3;

namespace {

// Particles that stay where they are born for 100 seconds; one is emitted at the start of every one-second cycle.
ParticleFile Still()
{
    ParticleFile file;
    file.capacity = 20;
    file.rate = {1, 0, 0, 0, 0, 0};
    file.lifeCentre = {100, 100, 100, 100, 100, 100};
    return file;
}

// One particle falling at 1 (100 units a second) from wherever the emitter is, onto a floor at 0.
ParticleFile Falling(float bounceFactor, float minimumEnergy)
{
    ParticleFile file = Still();
    file.capacity = 1;
    file.duration = 100;
    file.directionCentre.fill({0, 0, -1});
    file.speedCentre.fill(1);
    file.floorOn = 1;
    file.floorHeight = 0;
    file.bounceFactor = bounceFactor;
    file.minimumEnergy = minimumEnergy;
    return file;
}

class ParticleSystemTest : public RenderTesting::ParticleFixture
{
protected:
    // The live count after each of `frames` frames.
    std::vector<std::uint32_t> LiveCounts(const ParticleSystem& system, int frames, float dt)
    {
        std::vector<std::uint32_t> counts;
        for (int frame = 0; frame < frames; ++frame) {
            Frame(dt);
            counts.push_back(system.GetLiveCount());
        }
        return counts;
    }

    static const Sprite& SpriteOf(const ParticleSystem& system, std::uint32_t particle)
    {
        return system.GetSpriteGroup()->GetSprite(system.GetParticles()[particle].sprite);
    }

    static bool Shown(const ParticleSystem& system)
    {
        return (system.GetSpriteGroup()->GetModel()->m_flags & Model::kShown) != 0;
    }
};

TEST_F(ParticleSystemTest, SteppedEmissionOwesAKeysRateOnceWhenTheCycleEntersTheKey)
{
    ParticleFile file = Still();
    file.rate = {3, 0, 1, 0, 0, 0};
    ParticleSystem* system = Start(file);
    const std::vector<std::uint32_t> counts = LiveCounts(*system, 47, 0.0625f);
    std::map<int, std::uint32_t> emitted;
    for (int frame = 0; frame < 47; ++frame) {
        const std::uint32_t before = frame == 0 ? 0 : counts[frame - 1];
        if (counts[frame] != before)
            emitted[frame + 1] = counts[frame] - before;
    }
    // Key 0 at the start of each 16-frame cycle, key 2 once its time (0.4 s) is reached.
    EXPECT_EQ(emitted, (std::map<int, std::uint32_t>{{1, 3}, {7, 1}, {16, 3}, {23, 1}, {32, 3}, {39, 1}}));
    EXPECT_EQ(system->GetPeakLiveCount(), 12u);
}

TEST_F(ParticleSystemTest, InterpolatedEmissionCarriesTheFractionsOver)
{
    ParticleFile file = Still();
    file.interpolate = 1;
    file.duration = 2;
    file.rate.fill(10);
    ParticleSystem* system = Start(file);
    const std::vector<std::uint32_t> counts = LiveCounts(*system, 16, 0.0625f);
    for (int frame = 0; frame < 16; ++frame)
        EXPECT_EQ(counts[frame], static_cast<std::uint32_t>(0.625 * (frame + 1))) << frame;
    EXPECT_EQ(counts.back(), 10u);
    EXPECT_EQ(system->GetAccumulator(), 0.0f);

    // The rate follows the keys: from 0 at the start to 10 at key 1 (a fifth of the cycle).
    ParticleFile ramp = file;
    ramp.duration = 5;
    ramp.rate = {0, 10, 10, 10, 10, 10};
    ParticleSystem* rising = Start(ramp);
    Frame(0.5f); // 0.5 s at the rate of key 0.5, 5 a second: 2.5 owed
    EXPECT_EQ(rising->GetLiveCount(), 2u);
    EXPECT_EQ(rising->GetAccumulator(), 0.5f);
    Frame(0.5f); // 0.5 more at the rate of key 1: 5.5 owed
    EXPECT_EQ(rising->GetLiveCount(), 7u);
    EXPECT_EQ(rising->GetAccumulator(), 0.5f);
}

TEST_F(ParticleSystemTest, AnExhaustedPoolDropsWhatItOwes)
{
    ParticleFile file = Still();
    file.capacity = 4;
    file.rate = {10, 0, 0, 0, 0, 0};
    file.lifeCentre.fill(0.25f);
    ParticleSystem* system = Start(file);
    Frame(0.125f);
    EXPECT_EQ(system->GetLiveCount(), 4u);
    EXPECT_EQ(system->GetAccumulator(), 0.0f) << "reduced by all ten";
    EXPECT_EQ(system->GetSpriteGroup()->GetFreeCount(), 0u);
    Frame(0.125f); // every particle reaches its life
    EXPECT_EQ(system->GetLiveCount(), 0u);
    EXPECT_EQ(system->GetSpriteGroup()->GetFreeCount(), 4u);
    for (int frame = 3; frame <= 8; ++frame) // the next cycle starts with frame 8
        Frame(0.125f);
    EXPECT_EQ(system->GetLiveCount(), 4u);
    EXPECT_EQ(system->GetPeakLiveCount(), 4u);
    std::vector<std::uint32_t> sprites;
    for (const Particle& particle : system->GetParticles())
        sprites.push_back(particle.sprite);
    std::sort(sprites.begin(), sprites.end());
    EXPECT_EQ(sprites, (std::vector<std::uint32_t>{0, 1, 2, 3})) << "every particle has a sprite of its own";
}

TEST_F(ParticleSystemTest, AParticleWithoutLifeRetiresAtItsFirstUpdate)
{
    ParticleFile file = Still();
    file.lifeCentre.fill(0);
    ParticleSystem* system = Start(file);
    Frame(0.0f);
    EXPECT_EQ(system->GetLiveCount(), 0u);
    EXPECT_EQ(system->GetPeakLiveCount(), 0u);
    EXPECT_TRUE(system->GetParticles()[0].free);
    EXPECT_EQ(system->GetSpriteGroup()->GetFreeCount(), 20u);
}

TEST_F(ParticleSystemTest, AParticleBouncesOffTheFloorAndDiesWhenABounceStopsIt)
{
    ParticleFile file = Falling(0.9f, 0.4f);
    file.gravityOn = 1;
    file.gravity = 1;
    ParticleSystem* bouncing = Start(file);
    bouncing->m_position = {0, 0, 1};
    Frame(0.05f); // falls by 5.25 units: put back above the floor
    const Particle& particle = bouncing->GetParticles()[0];
    EXPECT_FLOAT_EQ(SpriteOf(*bouncing, 0).position.z, 0.001f);
    EXPECT_FLOAT_EQ(particle.energy, 0.9f);
    EXPECT_EQ(particle.fallSpeed, 0.0f);
    EXPECT_EQ(particle.direction.z, 1.0f);
    for (const Vector3& key : particle.directionKeys)
        EXPECT_EQ(key.z, 1.0f);
    Frame(0.05f); // up at 0.9 x 100 a second, less the new fall speed of 0.05
    EXPECT_NEAR(SpriteOf(*bouncing, 0).position.z, 0.001f + 4.5f - 0.25f, 1e-4f);

    particles->DestroyParticleSystem(bouncing);
    ParticleSystem* stopping = Start(Falling(0.5f, 0.6f));
    stopping->m_position = {0, 0, 1};
    Frame(0.05f);
    EXPECT_EQ(stopping->GetLiveCount(), 1u);
    EXPECT_EQ(stopping->GetParticles()[0].energy, 0.0f);
    EXPECT_FLOAT_EQ(SpriteOf(*stopping, 0).position.z, 0.001f);
    Frame(0.05f);
    EXPECT_EQ(stopping->GetLiveCount(), 0u);
    EXPECT_TRUE(stopping->GetParticles()[0].free);

    // Without dying, a stopped particle rests on the floor.
    particles->DestroyParticleSystem(stopping);
    ParticleFile resting = Falling(0.5f, 0.6f);
    resting.stoppedDie = 0;
    ParticleSystem* rests = Start(resting);
    rests->m_position = {0, 0, 1};
    Frame(0.05f);
    Frame(0.05f);
    EXPECT_EQ(rests->GetLiveCount(), 1u);
    EXPECT_FLOAT_EQ(SpriteOf(*rests, 0).position.z, 0.001f);
}

TEST_F(ParticleSystemTest, ColourAndSizeFollowTheKeysOverTheLife)
{
    ParticleFile file = Still();
    file.lifeCentre.fill(2.5f);
    file.size = {1, 3, 3, 3, 3, 3};
    file.colour = {{{1, 0, 0, 1}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}}};
    ParticleSystem* system = Start(file);
    Frame(0.125f); // a quarter of the way from key 0 to key 1
    const Sprite& sprite = SpriteOf(*system, 0);
    EXPECT_FLOAT_EQ(sprite.size, 1.5f);
    EXPECT_FLOAT_EQ(sprite.colour.r, 0.75f);
    EXPECT_FLOAT_EQ(sprite.colour.b, 0.25f);
    EXPECT_FLOAT_EQ(sprite.colour.a, 0.75f);
}

// Owners fade a system by rewriting its key colours: live particles take the new keys at their next move, and a
// key out of range changes nothing.
TEST_F(ParticleSystemTest, RewrittenKeyColoursReachLiveParticles)
{
    ParticleFile file = Still();
    file.lifeCentre.fill(2.5f);
    ParticleSystem* system = Start(file);
    Frame(0.125f);
    for (std::uint32_t key = 0; key < 6; ++key)
        system->SetKeyColor(key, {1, 1, 1, 0.25f * static_cast<float>(key)});
    system->SetKeyColor(6, {0, 0, 0, 0});
    Frame(0.125f); // half way from key 0 to key 1
    EXPECT_FLOAT_EQ(SpriteOf(*system, 0).colour.a, 0.125f);
    EXPECT_FLOAT_EQ(SpriteOf(*system, 0).colour.r, 1.0f);
    EXPECT_FLOAT_EQ(system->GetParameters().colour[5].a, 1.25f);
}

// A stepped key owes its particles once, when the cycle enters it; a system stopped and restarted inside the key
// owes nothing again until its counters are reset, and a reset also drops the fraction owed.
TEST_F(ParticleSystemTest, ResettingTheEmissionCountersRestartsTheCycleAfresh)
{
    ParticleFile file = Still();
    file.duration = 10;
    file.rate = {3, 0, 0, 0, 0, 0};
    ParticleSystem* system = Start(file);
    Frame(0.5f);
    ASSERT_EQ(system->GetLiveCount(), 3u);
    const auto restart = [&] {
        system->m_emitting = false;
        system->m_time = 0.0f;
        Frame(0.5f);
        system->m_emitting = true;
        Frame(0.5f);
    };
    restart();
    EXPECT_EQ(system->GetLiveCount(), 3u) << "still inside key 0";
    system->ResetEmissionCounters();
    EXPECT_EQ(system->GetLastKey(), -1);
    restart();
    EXPECT_EQ(system->GetLiveCount(), 6u);

    file.interpolate = 1;
    file.rate.fill(1.5f);
    ParticleSystem* smooth = Start(file);
    Frame(0.5f);
    ASSERT_FLOAT_EQ(smooth->GetAccumulator(), 0.75f);
    smooth->ResetEmissionCounters();
    EXPECT_EQ(smooth->GetAccumulator(), 0.0f);
    Frame(0.5f);
    EXPECT_EQ(smooth->GetLiveCount(), 0u);
}

TEST_F(ParticleSystemTest, ANonLoopingSystemIsHiddenAfterItsLastParticle)
{
    ParticleFile file = Still();
    file.rate = {2, 0, 0, 0, 0, 0};
    file.lifeCentre.fill(1.5f);
    file.directionCentre.fill({0, 0, 1});
    file.speedCentre.fill(0.01f);
    ParticleSystem* system = Start(file, false);
    particles->HideWhenFinished(system);
    for (int frame = 1; frame <= 8; ++frame)
        Frame(0.125f);
    EXPECT_FALSE(system->m_emitting) << "the cycle ended";
    EXPECT_EQ(system->m_time, 0.0f);
    EXPECT_EQ(system->GetLastKey(), -1);
    EXPECT_EQ(system->GetLiveCount(), 2u);
    const float height = SpriteOf(*system, 0).position.z;
    for (int frame = 9; frame <= 11; ++frame)
        Frame(0.125f);
    EXPECT_FLOAT_EQ(SpriteOf(*system, 0).position.z, height + 3 * 0.125f) << "live particles keep moving";
    EXPECT_TRUE(Shown(*system));
    EXPECT_EQ(particles->GetWaitingList().size(), 1u);
    Frame(0.125f); // both reach their life of 1.5 s
    EXPECT_EQ(system->GetLiveCount(), 0u);
    EXPECT_FALSE(Shown(*system));
    EXPECT_TRUE(particles->GetWaitingList().empty());

    // Hidden, it is not updated.
    system->m_emitting = true;
    Frame(0.25f);
    EXPECT_EQ(system->m_time, 0.0f);
}

TEST_F(ParticleSystemTest, PausedOrHiddenSystemsStandStill)
{
    ParticleSystem* system = Start(Still());
    system->m_paused = true;
    Frame(0.125f);
    EXPECT_EQ(system->m_time, 0.0f);
    EXPECT_EQ(system->GetLiveCount(), 0u);
    system->m_paused = false;
    Frame(0.125f);
    EXPECT_EQ(system->m_time, 0.125f);
    system->GetSpriteGroup()->GetModel()->m_flags &= ~Model::kShown;
    Frame(0.125f);
    EXPECT_EQ(system->m_time, 0.125f);
    EXPECT_EQ(system->GetParticles()[0].age, 0.125f);
}

TEST_F(ParticleSystemTest, DestroyingForgetsEveryWaitingEntryAndLeavesOtherSystemsAlone)
{
    ParticleSystem* system = Start(Still());
    particles->HideWhenFinished(system);
    particles->HideWhenFinished(system);
    EXPECT_EQ(particles->GetWaitingList().size(), 2u);
    particles->DestroyParticleSystem(system);
    Frame(0.1f); // would reach the deleted system through the second entry
    EXPECT_TRUE(particles->GetWaitingList().empty());
    EXPECT_EQ(particles->GetRegistry().GetLiveCount(), 0u);
    EXPECT_EQ(spriteGroups->GetRegistry().GetLiveCount(), 0u);
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), 0u);

    // A template is its caller's: the manager neither waits for it nor deletes it.
    const std::unique_ptr<ParticleSystem> kept(particles->LoadParticleSystem(WriteParticles("kept", Still()), nullptr));
    particles->HideWhenFinished(kept.get());
    particles->HideWhenFinished(nullptr);
    EXPECT_TRUE(particles->GetWaitingList().empty());
    particles->DestroyParticleSystem(kept.get());
    particles->DestroyParticleSystem(nullptr);
    EXPECT_EQ(kept->GetCapacity(), 20u);
}

TEST_F(ParticleSystemTest, ACloneOfARunningSystemStartsStoppedAndEmpty)
{
    ParticleFile file = Still();
    file.shape = ParticleSystem::kShapeBox;
    file.boxMin = {-1, -1, -1};
    file.boxMax = {1, 1, 1};
    ParticleSystem* source = Start(file);
    source->m_position = {5, 5, 5};
    source->m_pathPoints = {{1, 2, 3}};
    source->m_pathInterpolation = true;
    Frame(0.1f);
    ASSERT_EQ(source->GetLiveCount(), 1u);

    ParticleSystem* clone = particles->CloneParticleSystem(*source);
    EXPECT_NE(clone->GetSpriteGroup(), source->GetSpriteGroup());
    EXPECT_EQ(clone->GetSpriteGroup()->GetFreeCount(), 20u);
    EXPECT_EQ(clone->GetCapacity(), 20u);
    EXPECT_EQ(clone->GetParameters().lifeCentre[0], 100.0f);
    EXPECT_EQ(clone->GetEmitterShape(), ParticleSystem::kShapeBox);
    EXPECT_EQ(clone->GetBox().m_worldMax.x, 1.0f);
    EXPECT_FALSE(clone->m_emitting || clone->m_looping || clone->m_paused || clone->m_pathInterpolation);
    EXPECT_EQ(clone->m_time, 0.0f);
    EXPECT_EQ(clone->m_position.x, 0.0f);
    EXPECT_TRUE(clone->m_pathPoints.empty());
    EXPECT_EQ(clone->GetLiveCount(), 0u);
    EXPECT_EQ(clone->GetPeakLiveCount(), 0u);
    EXPECT_EQ(clone->GetLastKey(), -1);
    EXPECT_EQ(clone->GetAccumulator(), 0.0f);
    for (const Particle& particle : clone->GetParticles())
        EXPECT_TRUE(particle.free);

    // Its first particle is particle 0 with a sprite of its own.
    clone->m_emitting = true;
    Frame(0.1f);
    EXPECT_FALSE(clone->GetParticles()[0].free);
    EXPECT_EQ(clone->GetParticles()[0].sprite, 19u);
}

// Without a file: 100 particles, ten a second over a one-second cycle, each living one second.
TEST_F(ParticleSystemTest, ASystemWithoutAFileEmitsTenParticlesASecondForOneCycle)
{
    const auto system = std::make_unique<ParticleSystem>(particleServices);
    EXPECT_EQ(system->GetSpriteGroup()->GetCapacity(), 100u);
    EXPECT_FALSE(system->m_emitting);
    system->m_emitting = true;
    timers->m_frameTime = 0.1f;
    std::vector<std::uint32_t> counts;
    for (int frame = 0; frame < 20; ++frame) {
        system->Update();
        counts.push_back(system->GetLiveCount());
    }
    EXPECT_EQ(counts[4], 5u);
    EXPECT_EQ(system->GetPeakLiveCount(), 9u) << "ten frames of 0.1 s pass the cycle's end";
    EXPECT_FALSE(system->m_emitting);
    EXPECT_EQ(counts[19], 0u);
}

TEST_F(ParticleSystemTest, EmittersStartParticlesInTheirBoxOrOnTheirPath)
{
    ParticleFile file = Still();
    file.capacity = 40;
    file.rate = {40, 0, 0, 0, 0, 0};
    file.shape = ParticleSystem::kShapeBox;
    file.boxMin = {-1, -2, -3};
    file.boxMax = {1, 2, 3};
    ParticleSystem* box = Start(file);
    box->m_position = {10, 20, 30};
    Frame(0.01f);
    ASSERT_EQ(box->GetLiveCount(), 40u);
    for (std::uint32_t i = 0; i < 40; ++i) {
        const Vector3& p = SpriteOf(*box, i).position;
        EXPECT_TRUE(p.x >= 9 && p.x < 11 && p.y >= 18 && p.y < 22 && p.z >= 27 && p.z < 33) << i;
    }

    file.shape = ParticleSystem::kShapePath;
    ParticleSystem* segments = Start(file);
    segments->m_pathPoints = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    segments->m_pathInterpolation = true;
    ParticleSystem* points = Start(file);
    points->m_pathPoints = segments->m_pathPoints;
    ParticleSystem* nowhere = Start(file);
    nowhere->m_position = {5, 5, 5};
    Frame(0.01f);
    for (std::uint32_t i = 0; i < 40; ++i) {
        const Vector3& on = SpriteOf(*segments, i).position;
        EXPECT_TRUE((on.y == 0 && on.x >= 0 && on.x <= 10) || (on.x == 10 && on.y >= 0 && on.y <= 10)) << i;
        const Vector3& at = SpriteOf(*points, i).position;
        EXPECT_TRUE(at.x == 0 || at.x == 10) << i;
        EXPECT_TRUE(at.y == 0 || at.y == 10) << i;
        EXPECT_EQ(SpriteOf(*nowhere, i).position.x, 0.0f) << i;
    }
}

// The draws of an emission come from the one generator in a fixed order: start point, life, each direction key's
// components, then the speeds.
TEST_F(ParticleSystemTest, EmissionDrawsItsRandomNumbersInTheirOrder)
{
    ParticleFile file = Still();
    file.shape = ParticleSystem::kShapeBox;
    file.boxMin = {0, 0, 0};
    file.boxMax = {1, 1, 1};
    file.lifeSpread.fill(50);
    file.directionCentre = {{{0, 0, 1}, {0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
    file.speedSpread.fill(0.5f);
    ParticleSystem* system = Start(file);
    KeystrelEngine::RandomSeed = 1234;
    Frame(0.0f);

    KeystrelEngine::RandomSeed = 1234;
    using KeystrelEngine::RandomFloat;
    const float x = RandomFloat(), y = RandomFloat(), z = RandomFloat();
    const float life = 100 + 50 * (2 * RandomFloat() - 1);
    RandomFloat(); // key 0: x, y and z; key 1 repeats key 0; key 2 draws again
    RandomFloat();
    RandomFloat();
    RandomFloat();
    RandomFloat();
    RandomFloat();
    float speeds[6];
    for (float& speed : speeds)
        speed = 0.5f * (2 * RandomFloat() - 1);
    const Particle& particle = system->GetParticles()[0];
    EXPECT_EQ(SpriteOf(*system, 0).position.x, x);
    EXPECT_EQ(SpriteOf(*system, 0).position.y, y);
    EXPECT_EQ(SpriteOf(*system, 0).position.z, z);
    EXPECT_FLOAT_EQ(particle.life, life);
    for (int j = 0; j < 6; ++j)
        EXPECT_FLOAT_EQ(particle.speedKeys[j], speeds[j]) << j;
    EXPECT_EQ(particle.directionKeys[1].z, particle.directionKeys[0].z);
    EXPECT_FLOAT_EQ(particle.directionKeys[2].Length(), 1.0f);
    EXPECT_EQ(particle.directionKeys[3].x, particle.directionKeys[2].x);
}

// Values no frame expects: rates beyond any pool (an owner scaling the rates can set them), and the shortest cycle
// a file may give (FileValues::kScale), a thousandth of a frame, at the highest rate a file may give.
TEST_F(ParticleSystemTest, ExtremeValuesNeitherOverflowNorHang)
{
    ParticleSystem* flooded = Start(Still());
    flooded->SetEmissionRates({3e38f, 0, 0, 0, 0, 3e38f});
    ParticleFile hurried = Still();
    hurried.duration = KeystrelEngine::FileValues::kScale.lowest;
    hurried.interpolate = 1;
    hurried.rate.fill(KeystrelEngine::FileValues::kWorldExtent);
    ParticleSystem* hurrying = Start(hurried);
    Frame(0.1f);
    Frame(0.1f);
    EXPECT_EQ(flooded->GetLiveCount(), 20u);
    EXPECT_EQ(flooded->GetAccumulator(), 0.0f);
    EXPECT_EQ(hurrying->GetLiveCount(), 20u);
    EXPECT_LT(hurrying->m_time, hurried.duration);
    EXPECT_GE(hurrying->GetLastKey(), 0);
    EXPECT_LE(hurrying->GetLastKey(), 5);
}

} // namespace
