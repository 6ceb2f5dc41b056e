#include "tools/formats/ShaderFileWriter.h"

#include "tools/formats/ByteWriter.h"

namespace Formats {

namespace {

void PutCountedString(Bytes& bytes, const std::string& text)
{
    bytes.push_back(static_cast<std::uint8_t>(text.size() + 1));
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
}

void PutStage(Bytes& bytes, const ShaderFileStage& stage)
{
    PutLE32(bytes, stage.flags);
    PutLE32(bytes, stage.mode);
    if (stage.mode != 0) {
        PutLE32(bytes, stage.frameCount);
        PutF32(bytes, stage.frameRate);
    }
    if (stage.mode == 1) {
        PutLE32(bytes, stage.columns);
        PutLE32(bytes, stage.rows);
    }
    PutCountedString(bytes, stage.texture);
    PutCountedString(bytes, stage.opacity);
    PutLE32(bytes, stage.addressU);
    PutLE32(bytes, stage.addressV);
    for (float value : stage.matrix)
        PutF32(bytes, value);
}

} // namespace

Bytes BuildShaderFile(const ShaderFile& description, std::uint32_t version)
{
    Bytes bytes;
    PutLE32(bytes, 0); // total length, set last
    for (char c : std::string("KESRF"))
        bytes.push_back(static_cast<std::uint8_t>(c));
    PutLE32(bytes, version);
    PutLE32(bytes, description.flags);
    for (float value : description.material)
        PutF32(bytes, value);
    PutF32(bytes, description.power);
    PutLE32(bytes, description.extraValue);
    PutLE32(bytes, description.sourceBlend);
    PutLE32(bytes, description.destinationBlend);
    PutLE32(bytes, static_cast<std::uint32_t>(description.stages.size()));
    for (const ShaderFileStage& stage : description.stages)
        PutStage(bytes, stage);
    SetLE32(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

} // namespace Formats
