// Builds particle-system files (".psf") from a plain record, field by field as the file lays them
// out: the common header, the capacity, the cycle, gravity, floor and energy fields, the emission switch, the
// key arrays, the emitter shape and the box. Version 203 leaves out the speed spread keys. The length field is
// the size written.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <array>
#include <cstdint>

namespace Formats {

using Keys = std::array<float, 6>;
using Key3 = std::array<float, 3>;
using Key4 = std::array<float, 4>;

struct ParticleFile
{
    std::uint32_t capacity = 10;
    float duration = 1.0f;
    std::uint8_t gravityOn = 0;
    float gravity = 0.0f;
    std::uint8_t floorOn = 0;
    float floorHeight = 0.0f;
    float bounceFactor = 0.5f;
    std::uint8_t stoppedDie = 1;
    float minimumEnergy = 0.1f;
    std::uint8_t interpolate = 0;
    Keys rate{};
    Keys lifeCentre{1, 1, 1, 1, 1, 1};
    Keys lifeSpread{};
    std::array<Key3, 6> directionCentre{Key3{0, 0, 1}, Key3{0, 0, 1}, Key3{0, 0, 1},
                                        Key3{0, 0, 1}, Key3{0, 0, 1}, Key3{0, 0, 1}};
    std::array<Key3, 6> directionSpread{};
    std::array<Key4, 6> colour{Key4{1, 1, 1, 1}, Key4{1, 1, 1, 1}, Key4{1, 1, 1, 1},
                               Key4{1, 1, 1, 1}, Key4{1, 1, 1, 1}, Key4{1, 1, 1, 1}};
    Keys size{1, 1, 1, 1, 1, 1};
    Keys speedCentre{};
    Keys speedSpread{}; // written in version 204 only
    std::uint32_t shape = 0;
    Key3 boxMin{};
    Key3 boxMax{};
};

Bytes BuildParticleFile(const ParticleFile& file, std::uint32_t version = 204);

} // namespace Formats
