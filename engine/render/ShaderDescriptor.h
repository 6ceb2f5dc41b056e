// How a surface is drawn: alpha blending and its blend factors, a material, and up to two texture stages, each
// with its texture and opacity image names, its texture animation, its addressing and its texture matrix.
// Descriptions are read from ".srf" files or built in code from a texture name; the shader manager shares the
// loaded textures among users whose descriptions compare equal (Equals) and gives each user its own copy.
#pragma once

#include "Color.h"

#include <cstdint>
#include <string>

namespace KeystrelEngine {

class FileBinary;
class FileManager;
class FileValues;
class MessageManager;

struct ShaderStage
{
    // Stage flags.
    static constexpr std::uint32_t kMipMap = 1;      // mip-mapped textures and the mip-map filter
    static constexpr std::uint32_t kRandomStart = 2; // the animation starts at a random frame
    static constexpr std::uint32_t kNoTextures = 4;  // the stage loads no textures

    // Animation modes.
    static constexpr std::uint32_t kAnimationNone = 0;
    static constexpr std::uint32_t kAnimationGrid = 1;          // the frames are cells of one texture
    static constexpr std::uint32_t kAnimationTextureFrames = 2; // one texture file per frame
    static constexpr std::uint32_t kAnimationOpacityFrames = 3; // one opacity file per frame
    static constexpr std::uint32_t kAnimationBothFrames = 4;    // texture and opacity file per frame

    // The most frames a file describes for an animation: frame files are numbered with at most four digits, and
    // grids are held to the same count.
    static constexpr std::uint32_t kMaxFrames = 9999;

    std::uint32_t m_flags = 0;
    std::uint32_t m_animationMode = kAnimationNone;
    std::uint32_t m_gridColumns = 1;
    std::uint32_t m_gridRows = 1;
    std::uint32_t m_frameCount = 0; // 0 without animation
    float m_frameRate = 0.0f;       // frames per second
    std::string m_textureName;      // lower-case
    std::string m_opacityName;      // lower-case; empty: no opacity image
    std::uint32_t m_addressU = 0;   // 0 clamp, other values wrap
    std::uint32_t m_addressV = 0;
    float m_scaleU = 1.0f;
    float m_scaleV = 1.0f;
    float m_offsetU = 0.0f;
    float m_offsetV = 0.0f;
    std::uint32_t m_currentFrame = 0; // set by the shader user's animation
};

class ShaderDescriptor
{
public:
    static constexpr std::uint32_t kMaxStages = 2;
    static constexpr std::uint32_t kFileVersion = 211;
    // Description flags; the other bits are not used by the engine but take part in the comparison.
    static constexpr std::uint32_t kAlphaBlend = 1;
    // The engine's blend codes for blending by the texture's alpha.
    static constexpr std::uint32_t kBlendSourceAlpha = 4;
    static constexpr std::uint32_t kBlendInverseSourceAlpha = 5;

    // Whether descriptions built by FromTexture ask for mip-maps. Off unless the game turns it on.
    static inline bool s_mipMapBuiltDescriptions = false;

    ShaderDescriptor() = default;
    // A description of one texture, alpha-blended when there is an opacity name. The opacity name "32bit" asks
    // for blending with the texture's own alpha and no opacity image.
    ShaderDescriptor(const std::string& textureName, const std::string& opacityName);
    ShaderDescriptor(const ShaderDescriptor& other);
    ShaderDescriptor& operator=(const ShaderDescriptor& other);
    virtual ~ShaderDescriptor() = default;

    // A description of one texture whose columns x rows cells are the frames of a grid animation. An opacity
    // name that contains "32bit" asks for blending with the texture's own alpha and no opacity image.
    static ShaderDescriptor FromTexture(const std::string& textureName, std::uint32_t gridColumns,
                                        std::uint32_t gridRows, const std::string& opacityName);
    static ShaderDescriptor FromTextureSingleFrame(const std::string& textureName, const std::string& opacityName);

    // Reads a ".srf" file below the data folder. A missing or damaged file is logged as an error and raises
    // Error with the same text; a third stage raises FatalError.
    static ShaderDescriptor LoadFromFile(const std::string& name, MessageManager* log, FileManager* files);

    // Appends a stage and returns its index; a third stage raises FatalError. The names are stored lower-case.
    std::uint32_t AddStage(std::uint32_t animationMode, std::uint32_t flags, std::uint32_t gridColumns,
                           std::uint32_t gridRows, std::uint32_t frameCount, float frameRate,
                           const std::string& textureName, const std::string& opacityName, std::uint32_t addressMode);

    // True when a shader built for one serves the other: the same textures, opacity images and frame
    // sequences. Blending, material, rates, grids, addressing and texture matrices may differ per user.
    bool Equals(const ShaderDescriptor& other) const;

    // Recomputes, stores and returns the hash: the sum of the character codes (as signed bytes) of every stage's
    // texture and opacity names.
    std::int32_t GetHash();

    std::uint32_t m_flags = 0;
    Color m_diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Color m_ambient{1.0f, 1.0f, 1.0f, 1.0f};
    Color m_specular{1.0f, 1.0f, 1.0f, 1.0f};
    Color m_emissive{0.0f, 0.0f, 0.0f, 1.0f};
    float m_power = 0.0f;
    std::uint32_t m_extraValue = 0; // read from the file and copied; drawing does not use it
    std::uint32_t m_sourceBlend = 0;
    std::uint32_t m_destinationBlend = 0;
    std::uint32_t m_stageCount = 0;
    ShaderStage m_stages[kMaxStages];
    std::int32_t m_hash = 0; // kept up to date by AddStage and copying

private:
    std::uint32_t UsedStages() const { return m_stageCount < kMaxStages ? m_stageCount : kMaxStages; }
    void ReadBody(FileBinary& file, const std::string& name, const FileValues& values);
    void ReadStage(FileBinary& file, const std::string& name, const FileValues& values);
};

} // namespace KeystrelEngine
