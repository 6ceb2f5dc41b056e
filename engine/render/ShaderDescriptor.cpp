// The ".srf" file: the common engine header ("KESRF", version 211), the description's flags, material, extra
// value, blend factors and stage count, then one entry per stage. A stage entry is variable in length: the frame
// count and rate follow the animation mode only when there is an animation, the grid only in grid mode. Texture
// names without a folder are taken to lie next to the description. Every float must lie in the range of its kind
// (FileValues): the material's colours from 0 to 1, the texture's scale and offset within the bounds of repeating
// texture coordinates, the power and the frame rate in the world's; else the file is refused, naming the value.
#include "ShaderDescriptor.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <memory>

namespace KeystrelEngine {

namespace {

constexpr char kOpacityFromTextureAlpha[] = "32bit";

Color ReadColor(FileBinary& file, const FileValues& values, std::string_view what)
{
    Color color;
    color.r = values.NextFloat(file, FileValues::kUnit, what);
    color.g = values.NextFloat(file, FileValues::kUnit, what);
    color.b = values.NextFloat(file, FileValues::kUnit, what);
    color.a = values.NextFloat(file, FileValues::kUnit, what);
    return color;
}

// A name without a folder lies in the folder of the description file.
std::string NextToDescription(std::string textureName, const std::string& descriptionName)
{
    if (textureName.empty() || textureName.find_first_of(kPathSeparators) != std::string::npos)
        return textureName;
    return GetFolderPart(descriptionName) + "\\" + textureName;
}

// Alpha blending by the texture's alpha, as the built descriptions with an opacity name get it.
void SetAlphaBlending(ShaderDescriptor& description)
{
    description.m_flags |= ShaderDescriptor::kAlphaBlend;
    description.m_sourceBlend = ShaderDescriptor::kBlendSourceAlpha;
    description.m_destinationBlend = ShaderDescriptor::kBlendInverseSourceAlpha;
}

std::int32_t SumOfCharacters(const std::string& text)
{
    std::int32_t sum = 0;
    for (const char c : text)
        sum += static_cast<signed char>(c);
    return sum;
}

// Whether one shader's textures serve both stages; per-user settings are left out.
bool SameTextures(const ShaderStage& a, const ShaderStage& b)
{
    constexpr std::uint32_t kPerUserFlags = ShaderStage::kMipMap | ShaderStage::kRandomStart;
    if ((a.m_flags & ~kPerUserFlags) != (b.m_flags & ~kPerUserFlags))
        return false;
    const bool framed = a.m_animationMode >= ShaderStage::kAnimationTextureFrames ||
                        b.m_animationMode >= ShaderStage::kAnimationTextureFrames;
    if (framed && (a.m_animationMode != b.m_animationMode || a.m_frameCount != b.m_frameCount))
        return false;
    return a.m_textureName == b.m_textureName && a.m_opacityName == b.m_opacityName;
}

} // namespace

ShaderDescriptor::ShaderDescriptor(const std::string& textureName, const std::string& opacityName)
{
    if (!opacityName.empty())
        SetAlphaBlending(*this);
    if (!textureName.empty()) {
        AddStage(ShaderStage::kAnimationNone, m_flags, 1, 1, 1, 0.0f, textureName,
                 opacityName == kOpacityFromTextureAlpha ? std::string() : opacityName, 0);
    }
}

ShaderDescriptor::ShaderDescriptor(const ShaderDescriptor& other)
{
    *this = other;
}

ShaderDescriptor& ShaderDescriptor::operator=(const ShaderDescriptor& other)
{
    m_flags = other.m_flags;
    m_diffuse = other.m_diffuse;
    m_ambient = other.m_ambient;
    m_specular = other.m_specular;
    m_emissive = other.m_emissive;
    m_power = other.m_power;
    m_extraValue = other.m_extraValue;
    m_sourceBlend = other.m_sourceBlend;
    m_destinationBlend = other.m_destinationBlend;
    m_stageCount = other.m_stageCount;
    for (std::uint32_t i = 0; i < kMaxStages; ++i)
        m_stages[i] = other.m_stages[i];
    GetHash();
    return *this;
}

ShaderDescriptor ShaderDescriptor::FromTexture(const std::string& textureName, std::uint32_t gridColumns,
                                               std::uint32_t gridRows, const std::string& opacityName)
{
    ShaderDescriptor description;
    if (!opacityName.empty())
        SetAlphaBlending(description);
    if (!textureName.empty()) {
        const std::uint32_t frames = gridColumns * gridRows;
        description.AddStage(
            frames > 1 ? ShaderStage::kAnimationGrid : ShaderStage::kAnimationNone,
            s_mipMapBuiltDescriptions ? ShaderStage::kMipMap : 0, gridColumns, gridRows, frames, 0.0f, textureName,
            opacityName.find(kOpacityFromTextureAlpha) != std::string::npos ? std::string() : opacityName, 0);
    }
    return description;
}

ShaderDescriptor ShaderDescriptor::FromTextureSingleFrame(const std::string& textureName,
                                                          const std::string& opacityName)
{
    return FromTexture(textureName, 1, 1, opacityName);
}

ShaderDescriptor ShaderDescriptor::LoadFromFile(const std::string& name, MessageManager* log, FileManager* files)
{
    ShaderDescriptor description;
    try {
        const FileValues values(name);
        ReadWithinMemory(values.Refusal(), [&] {
            // Owned here, so the file is closed whichever way the reading ends.
            const std::unique_ptr<FileBinary> file = files->OpenBinary(MakeDataPath(name), false, false);
            values.CheckHeader(*file, "KESRF", kFileVersion);
            description.ReadBody(*file, name, values);
        });
    } catch (const FileError& error) {
        log->Error(error.GetText());
        throw Error(error.GetText());
    }
    return description;
}

void ShaderDescriptor::ReadBody(FileBinary& file, const std::string& name, const FileValues& values)
{
    m_flags = file.ReadU32();
    m_diffuse = ReadColor(file, values, "the diffuse colour");
    m_ambient = ReadColor(file, values, "the ambient colour");
    m_specular = ReadColor(file, values, "the specular colour");
    m_emissive = ReadColor(file, values, "the emissive colour");
    m_power = values.NextFloat(file, FileValues::kWorld, "the power");
    m_extraValue = file.ReadU32();
    m_sourceBlend = file.ReadU32();
    m_destinationBlend = file.ReadU32();
    const std::uint32_t count = file.ReadU32();
    // A count above two ends at the third entry, with the stage overflow or the end of the file.
    for (std::uint32_t i = 0; i < count; ++i)
        ReadStage(file, name, values);
}

void ShaderDescriptor::ReadStage(FileBinary& file, const std::string& name, const FileValues& values)
{
    const std::uint32_t flags = file.ReadU32();
    const std::uint32_t mode = file.ReadU32();
    std::uint32_t frameCount = 1;
    float frameRate = 0.0f;
    std::uint32_t columns = 1;
    std::uint32_t rows = 1;
    if (mode != ShaderStage::kAnimationNone) {
        frameCount = file.ReadU32();
        frameRate = values.NextFloat(file, FileValues::kWorld, "a stage's frame rate");
    }
    if (mode == ShaderStage::kAnimationGrid) {
        columns = file.ReadU32();
        rows = file.ReadU32();
    }
    // An animation without frames or a grid without cells has nothing to show and would divide by zero. Frame
    // files are numbered with at most four digits; a larger count is damage that would load as many textures, or
    // run a grid's position to where it no longer counts frames.
    if (frameCount == 0 || frameCount > ShaderStage::kMaxFrames || columns == 0 || rows == 0)
        values.Refuse();
    const std::string textureName = NextToDescription(file.ReadString(), name);
    const std::string opacityName = NextToDescription(file.ReadString(), name);

    ShaderStage& stage =
        m_stages[AddStage(mode, flags, columns, rows, frameCount, frameRate, textureName, opacityName, 0)];
    stage.m_addressU = file.ReadU32();
    stage.m_addressV = file.ReadU32();
    stage.m_scaleU = values.NextFloat(file, FileValues::kBounded, "a stage's texture scale");
    stage.m_scaleV = values.NextFloat(file, FileValues::kBounded, "a stage's texture scale");
    stage.m_offsetU = values.NextFloat(file, FileValues::kBounded, "a stage's texture offset");
    stage.m_offsetV = values.NextFloat(file, FileValues::kBounded, "a stage's texture offset");
}

std::uint32_t ShaderDescriptor::AddStage(std::uint32_t animationMode, std::uint32_t flags, std::uint32_t gridColumns,
                                         std::uint32_t gridRows, std::uint32_t frameCount, float frameRate,
                                         const std::string& textureName, const std::string& opacityName,
                                         std::uint32_t addressMode)
{
    if (m_stageCount >= kMaxStages)
        throw FatalError("Shader Stages: buffer is overflowed");
    ShaderStage& stage = m_stages[m_stageCount];
    stage = ShaderStage();
    stage.m_flags = flags;
    stage.m_animationMode = animationMode;
    stage.m_gridColumns = gridColumns;
    stage.m_gridRows = gridRows;
    stage.m_frameCount = animationMode == ShaderStage::kAnimationNone ? 0 : frameCount;
    stage.m_frameRate = frameRate;
    stage.m_textureName = ToLower(textureName);
    stage.m_opacityName = ToLower(opacityName);
    stage.m_addressU = addressMode;
    stage.m_addressV = addressMode;
    ++m_stageCount;
    GetHash();
    return m_stageCount - 1;
}

bool ShaderDescriptor::Equals(const ShaderDescriptor& other) const
{
    if (m_hash != other.m_hash || (m_flags & ~kAlphaBlend) != (other.m_flags & ~kAlphaBlend) ||
        m_stageCount != other.m_stageCount)
        return false;
    for (std::uint32_t i = 0; i < UsedStages(); ++i) {
        if (!SameTextures(m_stages[i], other.m_stages[i]))
            return false;
    }
    return true;
}

std::int32_t ShaderDescriptor::GetHash()
{
    m_hash = 0;
    for (std::uint32_t i = 0; i < UsedStages(); ++i)
        m_hash += SumOfCharacters(m_stages[i].m_textureName) + SumOfCharacters(m_stages[i].m_opacityName);
    return m_hash;
}

} // namespace KeystrelEngine
