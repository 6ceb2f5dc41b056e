#include "tools/formats/ParticleFileWriter.h"

#include "tools/formats/ByteWriter.h"

namespace Formats {

namespace {

template <std::size_t N, std::size_t M> void PutFloats(Bytes& bytes, const std::array<std::array<float, N>, M>& keys)
{
    for (const std::array<float, N>& key : keys)
        Formats::PutFloats(bytes, key);
}

} // namespace

Bytes BuildParticleFile(const ParticleFile& file, std::uint32_t version)
{
    Bytes bytes;
    PutLE32(bytes, 0);
    bytes.insert(bytes.end(), {'K', 'E', 'P', 'S', 'F'});
    PutLE32(bytes, version);
    PutLE32(bytes, file.capacity);
    PutF32(bytes, file.duration);
    bytes.push_back(file.gravityOn);
    PutF32(bytes, file.gravity);
    bytes.push_back(file.floorOn);
    PutF32(bytes, file.floorHeight);
    PutF32(bytes, file.bounceFactor);
    bytes.push_back(file.stoppedDie);
    PutF32(bytes, file.minimumEnergy);
    bytes.push_back(file.interpolate);
    PutFloats(bytes, file.rate);
    PutFloats(bytes, file.lifeCentre);
    PutFloats(bytes, file.lifeSpread);
    PutFloats(bytes, file.directionCentre);
    PutFloats(bytes, file.directionSpread);
    PutFloats(bytes, file.colour);
    PutFloats(bytes, file.size);
    PutFloats(bytes, file.speedCentre);
    if (version != 203)
        PutFloats(bytes, file.speedSpread);
    PutLE32(bytes, file.shape);
    PutFloats(bytes, file.boxMin);
    PutFloats(bytes, file.boxMax);
    SetLE32(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

} // namespace Formats
