// Reading a ".psf" file: the common header ("KEPSF", version 203 or 204, the total length equal to the file's
// size), then the parameters in a fixed layout: 453 bytes in all for version 204, 429 for version 203, which
// lacks the speed spread keys (they count as 0). A file of another size for its version is damaged, so no read
// runs short. Every float must lie in the range of its kind (FileValues): the cycle lasts longer than 0, colours
// and the shares of energy lie from 0 to 1, everything else in the world; the capacity may not pass kMaxCapacity.
// What fails is a format error that names the value.
//
// The frame's arithmetic stays defined whatever the values: a position between keys is clamped to the keys, the
// owed particle count is limited while it is still a float, and a looping cycle wraps by a remainder (repeated
// subtraction would not end for a cycle much shorter than a frame, or far behind the time).
#include "ParticleSystem.h"

#include "Model.h"
#include "ShaderDescriptor.h"
#include "SpriteGroup.h"
#include "SpriteGroupManager.h"
#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace KeystrelEngine {

namespace {

constexpr std::uint32_t kOldVersion = 203;
constexpr std::uint32_t kFileSize = 453;
constexpr std::uint32_t kOldFileSize = 429;
constexpr std::uint32_t kDefaultCapacity = 100;
constexpr float kLastKey = 5.0f;
constexpr float kSpeedScale = 100.0f;          // world units a second for a speed of 1
constexpr float kFloorLift = 0.001f;           // a bounced particle rests this far above the floor
constexpr float kDeathMargin = 0.0001f;        // a stopped particle's age passes its life by this much
constexpr float kSignificantDirection = 0.05f; // shorter direction keys repeat the key before them

// Reads the fields of the parameter block; a float outside the range its field is read with is a format error
// that names the field.
class FieldReader
{
public:
    FieldReader(FileBinary& file, const FileValues& values) : m_file(file), m_values(values) {}

    void Read(bool& flag)
    {
        std::uint8_t byte = 0;
        m_file.Read(1, &byte);
        flag = byte != 0;
    }
    void Read(std::uint32_t& value) { value = m_file.ReadU32(); }
    void Read(float& value, ValueRange range, std::string_view what)
    {
        value = m_values.NextFloat(m_file, range, what);
    }
    void Read(Vector3& v, ValueRange range, std::string_view what)
    {
        Read(v.x, range, what);
        Read(v.y, range, what);
        Read(v.z, range, what);
    }
    void Read(Color& c, ValueRange range, std::string_view what)
    {
        Read(c.r, range, what);
        Read(c.g, range, what);
        Read(c.b, range, what);
        Read(c.a, range, what);
    }
    template <class T> void Read(ParticleKeys<T>& keys, ValueRange range, std::string_view what)
    {
        for (T& key : keys)
            Read(key, range, what);
    }

private:
    FileBinary& m_file;
    const FileValues& m_values;
};

// The two keys around a position from 0 to 5 and the blend between them; key 0 follows key 5.
struct KeyBlend
{
    std::uint32_t k;
    std::uint32_t k1;
    float f;
};

KeyBlend BlendAt(float x)
{
    if (!(x >= 0.0f))
        x = 0.0f; // NaN too
    else if (x > kLastKey)
        x = kLastKey;
    const auto k = static_cast<std::uint32_t>(x);
    return {k, k + 1 == kParticleKeyCount ? 0 : k + 1, x - static_cast<float>(k)};
}

float Mix(float a, float b, float f)
{
    return a * (1.0f - f) + b * f;
}

Vector3 Mix(const Vector3& a, const Vector3& b, float f)
{
    return Vector3::Lerp(a, b, f);
}

Color Mix(const Color& a, const Color& b, float f)
{
    return {Mix(a.r, b.r, f), Mix(a.g, b.g, f), Mix(a.b, b.b, f), Mix(a.a, b.a, f)};
}

template <class T> T Blend(const ParticleKeys<T>& keys, const KeyBlend& at)
{
    return Mix(keys[at.k], keys[at.k1], at.f);
}

} // namespace

// Creation --------------------------------------------------------------------------------------------------

ParticleSystem::ParticleSystem(const ParticleServices& services, const std::string& name, Camera* camera)
    : m_services(services)
{
    ReadFile(name);
    std::string shaderName = name;
    ReplaceFileExtension(shaderName, "srf");
    const ShaderDescriptor descriptor = ShaderDescriptor::LoadFromFile(shaderName, services.log, services.files);
    m_spriteGroup = services.spriteGroups->CreateSpriteGroup(m_capacity, &descriptor, camera);
    MakeParticles();
}

ParticleSystem::ParticleSystem(const ParticleSystem& source)
    : m_services(source.m_services), m_parameters(source.m_parameters), m_capacity(source.m_capacity),
      m_spriteGroup(source.m_services.spriteGroups->CloneSpriteGroup(*source.m_spriteGroup)),
      m_emitterShape(source.m_emitterShape), m_box(source.m_box)
{
    MakeParticles();
}

ParticleSystem::ParticleSystem(const ParticleServices& services)
    : m_services(services), m_capacity(kDefaultCapacity),
      m_spriteGroup(services.spriteGroups->CreateSpriteGroup(kDefaultCapacity, nullptr, nullptr))
{
    MakeParticles();
}

ParticleSystem::~ParticleSystem()
{
    if (m_services.spriteGroups->GetRegistry().Remove(m_spriteGroup))
        delete m_spriteGroup;
}

// Every particle free, the indices pushed from the last down, so that the first particle emitted is particle 0.
void ParticleSystem::MakeParticles()
{
    m_particles.assign(m_capacity, Particle());
    m_freeParticles.reserve(m_capacity);
    for (std::uint32_t i = m_capacity; i > 0; --i)
        m_freeParticles.push_back(i - 1);
}

void ParticleSystem::ReadFile(const std::string& name)
{
    // Owned here, so the file is closed whichever way the reading ends.
    const std::unique_ptr<FileBinary> file = m_services.files->OpenBinary(MakeDataPath(name), false, false);
    const FileValues values(name);
    std::uint8_t header[FileBinary::kHeaderSize];
    file->Read(FileBinary::kHeaderSize, header);
    if (std::memcmp(header + 4, "KEPSF", 5) != 0 || LoadLE32(header) != file->GetSize())
        values.Refuse();
    const std::uint32_t version = LoadLE32(header + 9);
    if (version != kFileVersion && version != kOldVersion)
        values.RefuseVersion(kFileVersion);
    if (file->GetSize() != (version == kFileVersion ? kFileSize : kOldFileSize))
        values.Refuse();
    ReadParameters(*file, version, values);
}

void ParticleSystem::ReadParameters(FileBinary& file, std::uint32_t version, const FileValues& values)
{
    constexpr ValueRange kWorld = FileValues::kWorld;
    FieldReader reader(file, values);
    ParticleParameters& p = m_parameters;
    reader.Read(m_capacity);
    values.Require(m_capacity, 0, kMaxCapacity, "the capacity");
    reader.Read(p.duration, FileValues::kScale, "the cycle duration");
    reader.Read(p.gravityOn);
    reader.Read(p.gravity, kWorld, "the gravity");
    reader.Read(p.floorOn);
    reader.Read(p.floorHeight, kWorld, "the floor height");
    reader.Read(p.bounceFactor, FileValues::kUnit, "the bounce factor");
    reader.Read(p.stoppedDie);
    reader.Read(p.minimumEnergy, FileValues::kUnit, "the minimum energy");
    reader.Read(p.interpolateEmission);
    reader.Read(p.rate, kWorld, "an emission rate key");
    reader.Read(p.lifeCentre, kWorld, "a life centre key");
    reader.Read(p.lifeSpread, kWorld, "a life spread key");
    reader.Read(p.directionCentre, kWorld, "a direction centre key");
    reader.Read(p.directionSpread, kWorld, "a direction spread key");
    reader.Read(p.colour, FileValues::kUnit, "a colour key");
    reader.Read(p.size, kWorld, "a size key");
    reader.Read(p.speedCentre, kWorld, "a speed centre key");
    if (version == kFileVersion)
        reader.Read(p.speedSpread, kWorld, "a speed spread key");
    else
        p.speedSpread.fill(0.0f);
    reader.Read(m_emitterShape);
    Vector3 minimum;
    Vector3 maximum;
    reader.Read(minimum, kWorld, "the box");
    reader.Read(maximum, kWorld, "the box");
    m_box.Set(minimum, maximum);
}

// The frame -------------------------------------------------------------------------------------------------

void ParticleSystem::Update()
{
    if (m_paused || !(m_spriteGroup->GetModel()->m_flags & Model::kShown))
        return;
    const float dt = m_services.timers->m_frameTime;
    if (m_emitting)
        Emit(dt);
    m_liveCount = 0;
    for (std::uint32_t i = 0; i < m_capacity; ++i) {
        Particle& particle = m_particles[i];
        if (particle.free)
            continue;
        particle.age += dt;
        if (particle.life <= particle.age) {
            Retire(i);
            continue;
        }
        Move(particle, dt);
        ++m_liveCount;
    }
    m_peakLiveCount = std::max(m_peakLiveCount, m_liveCount);
}

void ParticleSystem::SetKeyColor(std::uint32_t key, const Color& colour)
{
    if (key < kParticleKeyCount)
        m_parameters.colour[key] = colour;
}

void ParticleSystem::ResetEmissionCounters()
{
    m_accumulator = 0.0f;
    m_lastKey = -1;
}

// Interpolated emission owes the blended rate for every second; stepped emission owes a key's whole rate once,
// when the cycle enters the key. What cannot be emitted for want of free particles is dropped.
void ParticleSystem::Emit(float dt)
{
    const ParticleParameters& p = m_parameters;
    m_time += dt;
    if (m_time >= p.duration) {
        if (!m_looping) {
            m_emitting = false;
            m_time = 0.0f;
            m_lastKey = -1;
            return;
        }
        m_time = std::fmod(m_time, p.duration);
    }
    const KeyBlend at = BlendAt(m_time / p.duration * kLastKey);
    float lifeCentre = p.lifeCentre[at.k];
    float lifeSpread = p.lifeSpread[at.k];
    if (p.interpolateEmission) {
        m_accumulator += dt * Blend(p.rate, at);
        lifeCentre = Blend(p.lifeCentre, at);
        lifeSpread = Blend(p.lifeSpread, at);
    } else if (static_cast<int>(at.k) != m_lastKey) {
        m_accumulator += p.rate[at.k];
    }
    const float owed = std::trunc(m_accumulator);
    if (owed > 0.0f) {
        m_accumulator -= owed;
        const std::uint32_t count =
            owed < static_cast<float>(m_capacity) ? static_cast<std::uint32_t>(owed) : m_capacity;
        for (std::uint32_t n = 0; n < count && !m_freeParticles.empty(); ++n)
            EmitParticle(lifeCentre, lifeSpread);
    }
    m_lastKey = static_cast<int>(at.k);
}

// The random draws come in a fixed order: the start point, the life, then each direction key's x, y and z, then
// the six speeds.
void ParticleSystem::EmitParticle(float lifeCentre, float lifeSpread)
{
    const ParticleParameters& p = m_parameters;
    const std::uint32_t index = m_freeParticles.back();
    m_freeParticles.pop_back();
    Particle& particle = m_particles[index];
    particle.free = false;
    particle.sprite = m_spriteGroup->AddSprite(StartPoint(), p.size[0], p.colour[0]);
    particle.life = RandomSpread(lifeCentre, lifeSpread);
    particle.age = 0.0f;
    particle.direction = {};
    for (std::uint32_t j = 0; j < kParticleKeyCount; ++j) {
        const Vector3& centre = p.directionCentre[j];
        const Vector3& spread = p.directionSpread[j];
        Vector3& key = particle.directionKeys[j];
        if (j == 0 || centre.Length() >= kSignificantDirection || spread.Length() >= kSignificantDirection) {
            key.x = RandomSpread(centre.x, spread.x);
            key.y = RandomSpread(centre.y, spread.y);
            key.z = RandomSpread(centre.z, spread.z);
        } else {
            key = particle.directionKeys[j - 1];
        }
        key.SetLength(1.0f);
    }
    for (std::uint32_t j = 0; j < kParticleKeyCount; ++j)
        particle.speedKeys[j] = RandomSpread(p.speedCentre[j], p.speedSpread[j]);
    particle.energy = 1.0f;
    particle.fallSpeed = 0.0f;
}

// A box emits from a random point of the box placed at the position; a path from a random point (on a random
// segment with interpolation, else a random point of the path itself); anything else from the position.
Vector3 ParticleSystem::StartPoint() const
{
    if (m_emitterShape == kShapeBox) {
        const float x = RandomFloatRange(m_box.m_worldMin.x, m_box.m_worldMax.x);
        const float y = RandomFloatRange(m_box.m_worldMin.y, m_box.m_worldMax.y);
        const float z = RandomFloatRange(m_box.m_worldMin.z, m_box.m_worldMax.z);
        return m_position + Vector3{x, y, z};
    }
    if (m_emitterShape != kShapePath)
        return m_position;
    if (m_pathPoints.empty())
        return {};
    const auto last = static_cast<std::int32_t>(m_pathPoints.size() - 1);
    if (!m_pathInterpolation)
        return m_pathPoints[RandomIntRange(0, last)];
    if (last == 0)
        return m_pathPoints[0];
    const std::int32_t i = RandomIntRange(0, last - 1);
    return m_pathPoints[i] + (m_pathPoints[i + 1] - m_pathPoints[i]) * RandomFloat();
}

void ParticleSystem::Move(Particle& particle, float dt)
{
    const ParticleParameters& p = m_parameters;
    const KeyBlend at = BlendAt(particle.age / particle.life * kLastKey);
    const float speed = Blend(particle.speedKeys, at) * particle.energy;
    particle.direction = Blend(particle.directionKeys, at);
    particle.direction.SetLength(1.0f);
    Vector3 displacement = particle.direction * speed * kSpeedScale * dt;
    if (p.gravityOn) {
        particle.fallSpeed += p.gravity * dt;
        displacement.z -= particle.fallSpeed * kSpeedScale * dt;
    }
    Sprite& sprite = m_spriteGroup->GetSprite(particle.sprite);
    sprite.position += displacement;
    if (p.floorOn && sprite.position.z < p.floorHeight)
        Bounce(particle, sprite, displacement);
    sprite.colour = Blend(p.colour, at);
    sprite.size = Blend(p.size, at);
}

// The particle is put back just above the floor and leaves it upwards, along its path mirrored by the floor, for
// the rest of its life; a bounce that leaves too little energy stops it, and kills it when stopped particles die.
void ParticleSystem::Bounce(Particle& particle, Sprite& sprite, Vector3 displacement)
{
    const ParticleParameters& p = m_parameters;
    sprite.position.z = p.floorHeight + kFloorLift;
    particle.fallSpeed = 0.0f;
    particle.energy *= p.bounceFactor;
    if (particle.energy < p.minimumEnergy) {
        particle.energy = 0.0f;
        if (p.stoppedDie)
            particle.age = particle.life + kDeathMargin;
    }
    displacement.z = std::fabs(displacement.z);
    displacement.SetLength(1.0f);
    particle.direction = displacement;
    particle.directionKeys.fill(displacement);
}

void ParticleSystem::Retire(std::uint32_t index)
{
    Particle& particle = m_particles[index];
    m_spriteGroup->ReleaseSprite(particle.sprite);
    particle.free = true;
    m_freeParticles.push_back(index);
}

} // namespace KeystrelEngine
