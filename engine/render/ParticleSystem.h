// Emits, moves and retires particles, and shows each live particle as one sprite of its own sprite group. What
// it does comes from a ".psf" file: an emission cycle with six emission keys, six keys over each particle's life
// for direction, speed, colour and size, gravity, a floor the particles bounce on, and the emitter's shape.
//
// Keys are spread evenly: over the cycle for emission and over each particle's life for the rest, key 0 at the
// start and key 5 at the end; a position between two keys blends them linearly.
//
// The owner drives a system by writing its open fields: the position (or the path points), paused and looping;
// starting is time 0 with emitting on. Hiding the sprite group's model stops emission, movement and drawing.
#pragma once

#include "BoundingBox.h"
#include "Color.h"
#include "Vector3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Camera;
class FileBinary;
class FileManager;
class FileValues;
class MessageManager;
class SpriteGroup;
struct Sprite;
class SpriteGroupManager;
class TimerManager;

// The services every particle system keeps copies of; none of them is owned.
struct ParticleServices
{
    MessageManager* log = nullptr;
    FileManager* files = nullptr;
    TimerManager* timers = nullptr;
    SpriteGroupManager* spriteGroups = nullptr;
};

constexpr std::uint32_t kParticleKeyCount = 6;

template <class T> using ParticleKeys = std::array<T, kParticleKeyCount>;

// The parameters of a file, in the file's order; the defaults are those of a system made without a file.
struct ParticleParameters
{
    float duration = 1.0f; // of the emission cycle, in seconds
    bool gravityOn = true;
    float gravity = 1.0f; // the fall speed's gain per second
    bool floorOn = true;
    float floorHeight = -1.0f; // a z coordinate
    float bounceFactor = 0.9f; // the energy a bounce keeps
    bool stoppedDie = true;    // particles whose energy a bounce takes die
    float minimumEnergy = 0.4f;
    bool interpolateEmission = true;
    ParticleKeys<float> rate{10.0f, 10.0f, 10.0f, 10.0f, 10.0f, 10.0f}; // particles a second, or at once when stepped
    ParticleKeys<float> lifeCentre{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f}; // seconds
    ParticleKeys<float> lifeSpread{};
    ParticleKeys<Vector3> directionCentre{};
    ParticleKeys<Vector3> directionSpread{Vector3{1, 1, 1}, Vector3{1, 1, 1}, Vector3{1, 1, 1},
                                          Vector3{1, 1, 1}, Vector3{1, 1, 1}, Vector3{1, 1, 1}};
    ParticleKeys<Color> colour{Color{1, 1, 1, 1}, Color{1, 1, 1, 1}, Color{1, 1, 1, 1},
                               Color{1, 1, 1, 1}, Color{1, 1, 1, 1}, Color{1, 1, 1, 1}};
    ParticleKeys<float> size{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    ParticleKeys<float> speedCentre{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    ParticleKeys<float> speedSpread{};
};

struct Particle
{
    bool free = true;
    std::uint32_t sprite = 0; // its sprite in the group
    float life = 0.0f;        // seconds
    float age = 0.0f;
    Vector3 direction; // of travel, unit length
    ParticleKeys<Vector3> directionKeys{};
    ParticleKeys<float> speedKeys{};
    float energy = 0.0f; // speed factor: 1 at birth, reduced by bounces
    float fallSpeed = 0.0f;
};

class ParticleSystem
{
public:
    static constexpr std::uint32_t kFileVersion = 204;
    // Emitter shapes; other values act as a point.
    static constexpr std::uint32_t kShapePoint = 0;
    static constexpr std::uint32_t kShapeBox = 1;
    static constexpr std::uint32_t kShapePath = 2;
    // The largest pool a file may ask for. Its capacity sizes the particles, the sprites and the group's model
    // (four vertices and six indices a particle) at once; a damaged count must not overflow those counts or
    // exhaust memory.
    static constexpr std::uint32_t kMaxCapacity = 65536;

    // Reads the named ".psf" file below the data folder and its ".srf" description, and makes the sprite group
    // with the camera (null: the default camera). File errors reach the caller as FileError.
    ParticleSystem(const ParticleServices& services, const std::string& name, Camera* camera);
    // A stopped system with the source's parameters, shape and box, a clone of its sprite group, every particle
    // free and no path.
    ParticleSystem(const ParticleSystem& source);
    // A stopped system of 100 particles with the default parameters and description.
    explicit ParticleSystem(const ParticleServices& services);
    ParticleSystem& operator=(const ParticleSystem&) = delete;
    // Deletes the sprite group when it is still registered with the sprite-group manager.
    virtual ~ParticleSystem();

    // The per-frame pass: emission, then every particle's movement.
    void Update();
    // Rewrites one of the six colour keys (a key out of range is ignored); live particles take it at their next
    // move. Owners fade a system's particles this way.
    void SetKeyColor(std::uint32_t key, const Color& colour);
    // Forgets the emission's progress: nothing owed and no key entered, so that a restarted cycle emits its first
    // stepped key again.
    void ResetEmissionCounters();

    const ParticleParameters& GetParameters() const { return m_parameters; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    SpriteGroup* GetSpriteGroup() const { return m_spriteGroup; }
    const std::vector<Particle>& GetParticles() const { return m_particles; }
    std::uint32_t GetLiveCount() const { return m_liveCount; } // the particles the last Update moved
    std::uint32_t GetPeakLiveCount() const { return m_peakLiveCount; }
    int GetLastKey() const { return m_lastKey; }
    float GetAccumulator() const { return m_accumulator; }
    std::uint32_t GetEmitterShape() const { return m_emitterShape; }
    const BoundingBox& GetBox() const { return m_box; }
    // Owners that spread a system over a place of their own: the box of a box emitter (around the position) and
    // the six emission keys.
    void SetBox(const Vector3& minimum, const Vector3& maximum) { m_box.Set(minimum, maximum); }
    void SetEmissionRates(const ParticleKeys<float>& rates) { m_parameters.rate = rates; }

    Vector3 m_position; // the emitter's place
    std::vector<Vector3> m_pathPoints;
    bool m_pathInterpolation = false;
    bool m_paused = false;
    bool m_looping = false;
    bool m_emitting = false;
    float m_time = 0.0f; // seconds into the emission cycle

private:
    void ReadFile(const std::string& name);
    void ReadParameters(FileBinary& file, std::uint32_t version, const FileValues& values);
    void MakeParticles();

    void Emit(float dt);
    void EmitParticle(float lifeCentre, float lifeSpread);
    Vector3 StartPoint() const;
    void Move(Particle& particle, float dt);
    void Bounce(Particle& particle, Sprite& sprite, Vector3 displacement);
    void Retire(std::uint32_t index);

    ParticleServices m_services;
    ParticleParameters m_parameters;
    std::uint32_t m_capacity = 0;
    SpriteGroup* m_spriteGroup = nullptr;
    float m_accumulator = 0.0f; // particles owed
    // A stack of free particle indices, reserved for the whole pool so that recycling never allocates.
    std::vector<std::uint32_t> m_freeParticles;
    std::vector<Particle> m_particles;
    std::uint32_t m_liveCount = 0;
    std::uint32_t m_peakLiveCount = 0;
    int m_lastKey = -1;
    std::uint32_t m_emitterShape = kShapePoint;
    BoundingBox m_box;
};

} // namespace KeystrelEngine
