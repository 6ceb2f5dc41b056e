#include "tools/formats/ModelFileWriter.h"

#include "tools/formats/ByteWriter.h"

#include <algorithm>

namespace Formats {

namespace {

void PutFloats(Bytes& bytes, const float* values, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        PutF32(bytes, values[i]);
}

void PutSkeleton(Bytes& bytes, const ModelFile& model)
{
    PutLE16(bytes, static_cast<std::uint32_t>(model.bones.size()));
    for (const ModelFileBone& bone : model.bones) {
        bytes.push_back(bone.boundsByte);
        bytes.push_back(static_cast<std::uint8_t>(bone.name.size()));
        bytes.insert(bytes.end(), bone.name.begin(), bone.name.end());
        PutFloats(bytes, bone.minimum.data(), 3);
        PutFloats(bytes, bone.maximum.data(), 3);
        PutLE16(bytes, bone.firstValue);
        PutLE16(bytes, bone.secondValue);
    }
    for (const ModelFileKey& key : model.keys)
        PutFloats(bytes, key.data(), key.size());
}

void PutVertices(Bytes& bytes, const ModelFile& model)
{
    for (const ModelFileVertex& vertex : model.vertices) {
        PutF32(bytes, vertex.u);
        PutF32(bytes, vertex.v);
        PutFloats(bytes, vertex.normal.data(), 3);
        PutFloats(bytes, vertex.position.data(), 3);
    }
    for (const ModelFileSkinVertex& vertex : model.skinVertices) {
        PutF32(bytes, vertex.u);
        PutF32(bytes, vertex.v);
        PutLE16(bytes, static_cast<std::uint32_t>(vertex.weights.size()));
        for (const ModelFileWeight& weight : vertex.weights) {
            PutLE16(bytes, weight.bone);
            PutF32(bytes, weight.weight);
            PutFloats(bytes, weight.normal.data(), 3);
            PutFloats(bytes, weight.position.data(), 3);
        }
    }
}

std::uint32_t VertexCount(const ModelFile& model)
{
    if (model.vertexCount)
        return *model.vertexCount;
    if (!model.skinVertices.empty())
        return static_cast<std::uint32_t>(model.skinVertices.size());
    const std::uint32_t frames = (model.flags & 0x1) ? 1 : std::max(model.frameCount, 1u);
    return static_cast<std::uint32_t>(model.vertices.size()) / frames;
}

} // namespace

Bytes BuildModelFile(const ModelFile& model, std::uint32_t version)
{
    Bytes bytes;
    PutLE32(bytes, 0);
    bytes.insert(bytes.end(), {'K', 'E', 'M', 'L', 'F'});
    PutLE32(bytes, version);
    PutLE32(bytes, model.flags);
    if (model.flags & 0x6) {
        PutLE32(bytes, model.frameCount);
        PutF32(bytes, model.speed);
    }
    if (model.flags & 0x4)
        PutSkeleton(bytes, model);
    PutLE32(bytes, static_cast<std::uint32_t>(model.indices.size()));
    PutLE32(bytes, VertexCount(model));
    const bool wide = model.indices.size() >= 65536;
    for (const std::uint32_t index : model.indices) {
        if (wide)
            PutLE32(bytes, index);
        else
            PutLE16(bytes, index);
    }
    PutVertices(bytes, model);
    for (const ModelFileBox& box : model.boxes) {
        PutFloats(bytes, box.minimum.data(), 3);
        PutFloats(bytes, box.maximum.data(), 3);
    }
    SetLE32(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

} // namespace Formats
