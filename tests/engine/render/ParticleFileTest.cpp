// Reading ".psf" files: one fixture per version assembled byte by byte (independent of the test writer), the
// header's messages, values that would break the frame, and damaged files of every kind.
#include "engine/foundation/Error.h"
#include "engine/foundation/Random.h"
#include "engine/render/SpriteGroup.h"
#include "tests/engine/render/ParticleFixture.h"
#include "tools/formats/ByteWriter.h"

#include <bit>
#include <limits>

using Formats::ParticleFile;
using KeystrelEngine::Error;
using KeystrelEngine::FileError;
using KeystrelEngine::ParticleParameters;
using KeystrelEngine::ParticleSystem;
using KeystrelEngine::Vector3;
using TestSupport::Bytes;

namespace {

// clang-format off
// Little-endian floats, four bytes each.
#define F_0 0x00, 0x00, 0x00, 0x00
#define F_EIGHTH 0x00, 0x00, 0x00, 0x3E
#define F_QUARTER 0x00, 0x00, 0x80, 0x3E
#define F_HALF 0x00, 0x00, 0x00, 0x3F
#define F_1 0x00, 0x00, 0x80, 0x3F
#define F_2 0x00, 0x00, 0x00, 0x40
#define F_3 0x00, 0x00, 0x40, 0x40
#define F_4 0x00, 0x00, 0x80, 0x40
#define F_6 0x00, 0x00, 0xC0, 0x40
#define F_8 0x00, 0x00, 0x00, 0x41
#define F_MINUS_1 0x00, 0x00, 0x80, 0xBF
#define F_MINUS_2 0x00, 0x00, 0x00, 0xC0
#define F_MINUS_4 0x00, 0x00, 0x80, 0xC0
// Five equal keys, as the last key of every array differs.
#define FIVE(...) __VA_ARGS__, __VA_ARGS__, __VA_ARGS__, __VA_ARGS__, __VA_ARGS__

#define BODY_UP_TO_SPEED_CENTRE                                                      \
    0x08, 0x00, 0x00, 0x00,                /* capacity 8 */                          \
    F_2,                                   /* cycle of 2 seconds */                  \
    0x01, F_HALF,                          /* gravity on, 0.5 */                     \
    0x01, F_MINUS_1,                       /* floor on, at -1 */                     \
    F_QUARTER,                             /* bounce factor */                       \
    0x01, F_EIGHTH,                        /* stopped particles die, minimum energy */ \
    0x00,                                  /* stepped emission */                    \
    F_3, FIVE(F_0),                        /* rates 3, 0, 0, 0, 0, 0 */              \
    FIVE(F_4), F_6,                        /* life centres */                        \
    F_HALF, F_0, F_0, F_0, F_0, F_1,       /* life spreads */                        \
    FIVE(F_0, F_0, F_1), F_1, F_0, F_0,    /* direction centres */                   \
    FIVE(F_QUARTER, F_QUARTER, F_0), F_0, F_0, F_HALF, /* direction spreads */       \
    FIVE(F_1, F_0, F_0, F_1), F_0, F_0, F_1, F_HALF,   /* colours */                 \
    FIVE(F_2), F_4,                        /* sizes */                               \
    FIVE(F_1), F_3                         /* speed centres */

#define SHAPE_AND_BOX                                                                \
    0x01, 0x00, 0x00, 0x00,                /* a box emitter */                       \
    F_MINUS_1, F_MINUS_2, F_MINUS_4, F_1, F_2, F_4

const Bytes kVersion204 = {
    0xC5, 0x01, 0x00, 0x00, 'K', 'E', 'P', 'S', 'F', 0xCC, 0x00, 0x00, 0x00, // 453 bytes, version 204
    BODY_UP_TO_SPEED_CENTRE,
    FIVE(F_HALF), F_2,                     // speed spreads
    SHAPE_AND_BOX,
};

const Bytes kVersion203 = {
    0xAD, 0x01, 0x00, 0x00, 'K', 'E', 'P', 'S', 'F', 0xCB, 0x00, 0x00, 0x00, // 429 bytes, version 203
    BODY_UP_TO_SPEED_CENTRE,
    SHAPE_AND_BOX,
};
// clang-format on

// The fixtures' content as the writer's record.
ParticleFile FixtureContent()
{
    ParticleFile file;
    file.capacity = 8;
    file.duration = 2;
    file.gravityOn = 1;
    file.gravity = 0.5f;
    file.floorOn = 1;
    file.floorHeight = -1;
    file.bounceFactor = 0.25f;
    file.stoppedDie = 1;
    file.minimumEnergy = 0.125f;
    file.interpolate = 0;
    file.rate = {3, 0, 0, 0, 0, 0};
    file.lifeCentre = {4, 4, 4, 4, 4, 6};
    file.lifeSpread = {0.5f, 0, 0, 0, 0, 1};
    file.directionCentre = {{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {1, 0, 0}}};
    file.directionSpread = {
        {{0.25f, 0.25f, 0}, {0.25f, 0.25f, 0}, {0.25f, 0.25f, 0}, {0.25f, 0.25f, 0}, {0.25f, 0.25f, 0}, {0, 0, 0.5f}}};
    file.colour = {{{1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}, {0, 0, 1, 0.5f}}};
    file.size = {2, 2, 2, 2, 2, 4};
    file.speedCentre = {1, 1, 1, 1, 1, 3};
    file.speedSpread = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 2};
    file.shape = 1;
    file.boxMin = {-1, -2, -4};
    file.boxMax = {1, 2, 4};
    return file;
}

class ParticleFileTest : public RenderTesting::ParticleFixture
{
protected:
    std::unique_ptr<ParticleSystem> LoadBytes(const Bytes& bytes)
    {
        RenderTesting::WriteDataFile("fixture.psf", bytes);
        RenderTesting::WriteDataFile("fixture.srf", Formats::BuildShaderFile({}));
        return std::unique_ptr<ParticleSystem>(particles->LoadParticleSystem("fixture.psf", nullptr));
    }

    // The text of the FileError that loading raises; fails when it raises anything else or nothing.
    std::string LoadError(const Bytes& bytes)
    {
        try {
            LoadBytes(bytes);
        } catch (const FileError& error) {
            return error.GetText();
        }
        ADD_FAILURE() << "the system loaded";
        return {};
    }

    // The fixture with the float at offset `at` replaced.
    static Bytes WithFloat(const Bytes& fixture, std::size_t at, float value)
    {
        Bytes bytes = fixture;
        Formats::SetLE32(bytes, at, std::bit_cast<std::uint32_t>(value));
        return bytes;
    }

    static void ExpectVector(const Vector3& actual, const Vector3& expected)
    {
        EXPECT_EQ(actual.x, expected.x);
        EXPECT_EQ(actual.y, expected.y);
        EXPECT_EQ(actual.z, expected.z);
    }

    const std::string kFormatText = "Incorrect \"fixture.psf\" file format";
};

TEST_F(ParticleFileTest, Version204FixtureLoadsEveryField)
{
    ASSERT_EQ(kVersion204.size(), 453u);
    const auto system = LoadBytes(kVersion204);
    const ParticleParameters& p = system->GetParameters();
    EXPECT_EQ(system->GetCapacity(), 8u);
    EXPECT_EQ(p.duration, 2.0f);
    EXPECT_TRUE(p.gravityOn);
    EXPECT_EQ(p.gravity, 0.5f);
    EXPECT_TRUE(p.floorOn);
    EXPECT_EQ(p.floorHeight, -1.0f);
    EXPECT_EQ(p.bounceFactor, 0.25f);
    EXPECT_TRUE(p.stoppedDie);
    EXPECT_EQ(p.minimumEnergy, 0.125f);
    EXPECT_FALSE(p.interpolateEmission);
    EXPECT_EQ(p.rate[0], 3.0f);
    EXPECT_EQ(p.rate[5], 0.0f);
    EXPECT_EQ(p.lifeCentre[0], 4.0f);
    EXPECT_EQ(p.lifeCentre[5], 6.0f);
    EXPECT_EQ(p.lifeSpread[0], 0.5f);
    EXPECT_EQ(p.lifeSpread[5], 1.0f);
    ExpectVector(p.directionCentre[0], {0, 0, 1});
    ExpectVector(p.directionCentre[5], {1, 0, 0});
    ExpectVector(p.directionSpread[0], {0.25f, 0.25f, 0});
    ExpectVector(p.directionSpread[5], {0, 0, 0.5f});
    EXPECT_EQ(p.colour[0].r, 1.0f);
    EXPECT_EQ(p.colour[0].a, 1.0f);
    EXPECT_EQ(p.colour[5].b, 1.0f);
    EXPECT_EQ(p.colour[5].a, 0.5f);
    EXPECT_EQ(p.size[0], 2.0f);
    EXPECT_EQ(p.size[5], 4.0f);
    EXPECT_EQ(p.speedCentre[0], 1.0f);
    EXPECT_EQ(p.speedCentre[5], 3.0f);
    EXPECT_EQ(p.speedSpread[0], 0.5f);
    EXPECT_EQ(p.speedSpread[5], 2.0f);
    EXPECT_EQ(system->GetEmitterShape(), ParticleSystem::kShapeBox);
    ExpectVector(system->GetBox().m_worldMin, {-1, -2, -4});
    ExpectVector(system->GetBox().m_worldMax, {1, 2, 4});

    // A stopped template, its sprite group registered with a sprite for every particle.
    EXPECT_FALSE(system->m_emitting);
    EXPECT_FALSE(system->m_looping);
    EXPECT_FALSE(system->m_paused);
    EXPECT_EQ(system->GetLastKey(), -1);
    EXPECT_EQ(system->GetParticles().size(), 8u);
    EXPECT_EQ(system->GetSpriteGroup()->GetCapacity(), 8u);
    EXPECT_EQ(spriteGroups->GetRegistry().GetLiveCount(), 1u);
    EXPECT_EQ(particles->GetRegistry().GetLiveCount(), 0u);
}

TEST_F(ParticleFileTest, Version203FixtureLoadsWithoutSpeedSpreads)
{
    ASSERT_EQ(kVersion203.size(), 429u);
    const auto system = LoadBytes(kVersion203);
    const ParticleParameters& p = system->GetParameters();
    EXPECT_EQ(p.speedCentre[5], 3.0f);
    for (const float spread : p.speedSpread)
        EXPECT_EQ(spread, 0.0f);
    EXPECT_EQ(system->GetEmitterShape(), ParticleSystem::kShapeBox);
    ExpectVector(system->GetBox().m_worldMin, {-1, -2, -4});
    ExpectVector(system->GetBox().m_worldMax, {1, 2, 4});
}

TEST_F(ParticleFileTest, TheTestWriterLaysOutBothVersionsAsTheFixtures)
{
    EXPECT_EQ(Formats::BuildParticleFile(FixtureContent(), 204), kVersion204);
    EXPECT_EQ(Formats::BuildParticleFile(FixtureContent(), 203), kVersion203);
}

TEST_F(ParticleFileTest, WrongMagicLengthAndVersionGiveTheirTexts)
{
    Bytes magic = kVersion204;
    magic[4] = 'X';
    EXPECT_EQ(LoadError(magic), kFormatText);
    Bytes length = kVersion204;
    length[0] = 0xC4;
    EXPECT_EQ(LoadError(length), kFormatText);
    Bytes version = kVersion204;
    version[9] = 205;
    EXPECT_EQ(LoadError(version), "Incorrect \"fixture.psf\" format version, current is 204");
    // Each version has its size; the length field agreeing does not make a 203 body a 204 file.
    Bytes short204 = kVersion203;
    short204[9] = 204;
    EXPECT_EQ(LoadError(short204), kFormatText);
    Bytes long203 = kVersion204;
    long203[9] = 203;
    EXPECT_EQ(LoadError(long203), kFormatText);
    EXPECT_EQ(spriteGroups->GetRegistry().GetLiveCount(), 0u);
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), 0u);
}

TEST_F(ParticleFileTest, MissingFilesFailWithTheLayersErrors)
{
    EXPECT_THROW(particles->LoadParticleSystem("missing.psf", nullptr), FileError);
    RenderTesting::WriteDataFile("lonely.psf", kVersion204);
    try {
        particles->LoadParticleSystem("lonely.psf", nullptr);
        ADD_FAILURE() << "loaded without its description";
    } catch (const FileError&) {
        ADD_FAILURE() << "the description's error comes as a plain Error";
    } catch (const Error&) {
    }
    EXPECT_EQ(spriteGroups->GetRegistry().GetLiveCount(), 0u);
}

// Values that no frame could use are damaged files, refused naming the value: a cycle that does not last, a pool
// beyond what the buffers hold, and floats that are not numbers or lie outside the range of their kind.
TEST_F(ParticleFileTest, UnusableValuesAreFormatErrors)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        const char* what;
        std::size_t at;
        float value;
    } cases[] = {
        {"the cycle duration is 0", 17, 0.0f},
        {"the cycle duration is -1", 17, -1.0f},
        {"the cycle duration is inf", 17, kInfinity},
        {"the cycle duration is nan", 17, kNaN},
        {"the gravity is inf", 22, kInfinity},
        {"the gravity is 1000000, outside -10000 to 10000", 22, 1e6f},
        {"the bounce factor is 1.5, outside 0 to 1", 31, 1.5f},
        {"an emission rate key is nan", 41 + 4, kNaN},
        {"a life centre key is -inf", 65 + 20, -kInfinity},
        {"a direction centre key is nan", 113 + 8, kNaN},
        {"a colour key is nan", 257 + 92, kNaN},
        {"a colour key is 2, outside 0 to 1", 257 + 4, 2.0f},
        {"a size key is inf", 353, kInfinity},
        {"a speed spread key is nan", 401 + 20, kNaN},
        {"the box is inf", 441 + 8, kInfinity},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadError(WithFloat(kVersion204, c.at, c.value)).rfind(kFormatText + ": " + c.what, 0), 0u) << c.what;
    EXPECT_EQ(LoadError(WithFloat(kVersion203, 405 + 4, kNaN)),
              kFormatText + ": the box is nan, outside -10000 to 10000")
        << "version 203 box";

    for (const std::uint32_t capacity : {ParticleSystem::kMaxCapacity + 1, 0x2AAAAAABu, 0xFFFFFFFFu}) {
        Bytes bytes = kVersion204;
        Formats::SetLE32(bytes, 13, capacity);
        EXPECT_EQ(LoadError(bytes),
                  kFormatText + ": the capacity is " + std::to_string(capacity) + ", outside 0 to 65536");
    }
    Bytes largest = kVersion204;
    Formats::SetLE32(largest, 13, ParticleSystem::kMaxCapacity);
    EXPECT_EQ(LoadBytes(largest)->GetSpriteGroup()->GetCapacity(), ParticleSystem::kMaxCapacity);
    EXPECT_EQ(spriteGroups->GetRegistry().GetLiveCount(), 0u);
}

TEST_F(ParticleFileTest, EveryTruncationFailsCleanly)
{
    for (const Bytes* fixture : {&kVersion204, &kVersion203}) {
        for (std::size_t size = 0; size < fixture->size(); ++size) {
            Bytes cut(fixture->begin(), fixture->begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_THROW(LoadBytes(cut), FileError) << size;
            if (size >= 4) {
                Formats::SetLE32(cut, 0, static_cast<std::uint32_t>(size));
                EXPECT_THROW(LoadBytes(cut), FileError) << size;
            }
        }
    }
}

// Seeded byte flips: whatever a flip does, loading returns a system or raises FileError, and a system that loads
// runs its frames.
TEST_F(ParticleFileTest, FlippedBytesLoadOrFailCleanlyAndLoadedSystemsRun)
{
    int loaded = 0;
    for (const Bytes* fixture : {&kVersion204, &kVersion203}) {
        KeystrelEngine::RandomSeed = 11;
        for (int round = 0; round < 300; ++round) {
            Bytes bytes = *fixture;
            const std::uint32_t flips = 1 + KeystrelEngine::RandomInt(3);
            for (std::uint32_t i = 0; i < flips; ++i) {
                // Past the length field, which would refuse nearly every flip.
                const std::uint32_t at = 4 + KeystrelEngine::RandomInt(static_cast<std::uint32_t>(bytes.size() - 4));
                bytes[at] ^= static_cast<std::uint8_t>(1u << KeystrelEngine::RandomInt(8));
            }
            std::unique_ptr<ParticleSystem> system;
            try {
                system = LoadBytes(bytes);
            } catch (const FileError&) {
                continue;
            }
            ++loaded;
            ParticleSystem* clone = particles->CloneParticleSystem(*system);
            clone->m_looping = true;
            clone->m_emitting = true;
            for (int frame = 0; frame < 5; ++frame)
                Frame(0.1f);
            EXPECT_LE(clone->GetLiveCount(), clone->GetCapacity());
            particles->DestroyParticleSystem(clone);
        }
    }
    EXPECT_GT(loaded, 100);
}

} // namespace
