// Builds model files (".mlf") from plain records, part by part as the file lays them out: the common
// header, the flags, the animation header when the flags animate, the skeleton and its keys when they name one,
// the counts, the indices (2 bytes each below 65536 of them, else 4), the vertex records and the boxes. The
// writer lays out what it is given; records that the flags do not call for are simply not written.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Formats {

using Float3 = std::array<float, 3>;

struct ModelFileVertex
{
    float u = 0.0f;
    float v = 0.0f;
    Float3 normal{0.0f, 0.0f, 1.0f};
    Float3 position{};
};

struct ModelFileWeight
{
    std::uint16_t bone = 0;
    float weight = 1.0f;
    Float3 normal{0.0f, 0.0f, 1.0f};
    Float3 position{};
};

struct ModelFileSkinVertex
{
    float u = 0.0f;
    float v = 0.0f;
    std::vector<ModelFileWeight> weights;
};

struct ModelFileBone
{
    std::uint8_t boundsByte = 0;
    std::string name;
    Float3 minimum{};
    Float3 maximum{};
    std::uint16_t firstValue = 0;
    std::uint16_t secondValue = 0;
};

// Translation (3), rotation x, y, z, w (4), scale (3).
using ModelFileKey = std::array<float, 10>;

struct ModelFileBox
{
    Float3 minimum{};
    Float3 maximum{};
};

struct ModelFile
{
    std::uint32_t flags = 0x1 | 0x8;
    std::uint32_t frameCount = 1; // written with flags 0x2 or 0x4
    float speed = 0.0f;
    std::vector<ModelFileBone> bones; // written with flag 0x4
    std::vector<ModelFileKey> keys;   // frame-major
    std::vector<std::uint32_t> indices;
    std::optional<std::uint32_t> vertexCount; // default: from the records
    std::vector<ModelFileVertex> vertices;    // static: one per vertex; morph: frame-major
    std::vector<ModelFileSkinVertex> skinVertices;
    std::vector<ModelFileBox> boxes;
};

Bytes BuildModelFile(const ModelFile& model, std::uint32_t version = 201);

} // namespace Formats
