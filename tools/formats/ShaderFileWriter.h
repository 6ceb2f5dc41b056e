// Builds shader description files (".srf") from plain records of their own, field by field as the file
// lays them out: the common header, the description, then one entry per stage whose animation fields are present
// only for the modes that have them.
#pragma once

#include "tools/formats/ByteWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Formats {

struct ShaderFileStage
{
    std::uint32_t flags = 0;
    std::uint32_t mode = 0;
    std::uint32_t frameCount = 1; // written when the mode is not 0
    float frameRate = 0.0f;       // written when the mode is not 0
    std::uint32_t columns = 1;    // written in mode 1
    std::uint32_t rows = 1;       // written in mode 1
    std::string texture;
    std::string opacity;
    std::uint32_t addressU = 0;
    std::uint32_t addressV = 0;
    std::array<float, 4> matrix{1.0f, 1.0f, 0.0f, 0.0f}; // scale u, v, offset u, v
};

struct ShaderFile
{
    std::uint32_t flags = 0;
    // Diffuse, ambient, specular and emissive, four floats each.
    std::array<float, 16> material{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1};
    float power = 0.0f;
    std::uint32_t extraValue = 0;
    std::uint32_t sourceBlend = 0;
    std::uint32_t destinationBlend = 0;
    std::vector<ShaderFileStage> stages;
};

Bytes BuildShaderFile(const ShaderFile& description, std::uint32_t version = 211);

} // namespace Formats
