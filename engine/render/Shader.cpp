#include "Shader.h"

#include "RenderSystem.h"
#include "ShaderUser.h"
#include "TextureManager.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>

namespace KeystrelEngine {

namespace {

std::uint32_t DecimalDigits(std::uint32_t value)
{
    std::uint32_t digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits;
}

// The name of frame `frame` of an animation of frameCount files: the stored name ends in a number of as many
// digits as the frame count has, and the frame's number, zero-padded, takes its place ("fire00.tga" with 12
// frames gives "fire00.tga" to "fire11.tga"). A name too short to hold the digits is used as it is.
std::string NumberedName(const std::string& name, std::uint32_t frameCount, std::uint32_t frame)
{
    const std::uint32_t digits = DecimalDigits(frameCount);
    const std::string extension = GetFileExtension(name);
    if (name.size() < digits + extension.size() + 1)
        return name;
    const std::string base = name.substr(0, name.size() - digits - extension.size() - 1);
    return base + FormatUnsigned(frame, static_cast<int>(digits)) + "." + extension;
}

} // namespace

Shader::Shader(MessageManager* log, Config* config, RenderSystem* renderSystem, TextureManager* textures,
               const ShaderDescriptor& description)
    : m_log(log), m_config(config), m_renderSystem(renderSystem), m_textures(textures)
{
    const std::uint32_t stageCount = std::min(description.m_stageCount, ShaderDescriptor::kMaxStages);
    m_stages.resize(stageCount);
    for (std::uint32_t s = 0; s < stageCount; ++s) {
        const ShaderStage& stage = description.m_stages[s];
        const std::uint32_t mode = stage.m_animationMode;
        const bool textureFrames =
            mode == ShaderStage::kAnimationTextureFrames || mode == ShaderStage::kAnimationBothFrames;
        const bool opacityFrames =
            mode == ShaderStage::kAnimationOpacityFrames || mode == ShaderStage::kAnimationBothFrames;
        const std::uint32_t frameCount = textureFrames || opacityFrames ? stage.m_frameCount : 1;
        std::vector<Texture2D*>& frames = m_stages[s];
        frames.assign(frameCount, nullptr);
        if (stage.m_flags & ShaderStage::kNoTextures)
            continue;
        std::uint32_t flags = stage.m_opacityName.empty() ? 0 : TextureManager::kUseOpacity;
        if (stage.m_flags & ShaderStage::kMipMap)
            flags |= TextureManager::kMipMapping;
        for (std::uint32_t f = 0; f < frameCount; ++f) {
            const std::string texture =
                textureFrames ? NumberedName(stage.m_textureName, frameCount, f) : stage.m_textureName;
            const std::string opacity =
                opacityFrames ? NumberedName(stage.m_opacityName, frameCount, f) : stage.m_opacityName;
            frames[f] = m_textures->GetTexture(texture, opacity, flags);
        }
    }
}

Shader::~Shader()
{
    for (const std::vector<Texture2D*>& frames : m_stages) {
        for (Texture2D* texture : frames)
            m_textures->ReleaseTexture(texture);
    }
}

Texture2D* Shader::GetTexture(std::uint32_t stage, std::uint32_t frame) const
{
    if (stage >= m_stages.size() || frame >= m_stages[stage].size())
        return nullptr;
    return m_stages[stage][frame];
}

void Shader::Apply(const ShaderUser& user) const
{
    if (user.m_flags & ShaderDescriptor::kAlphaBlend) {
        m_renderSystem->SetAlphaBlend(true);
        m_renderSystem->SetBlend(user.m_sourceBlend, user.m_destinationBlend);
    } else {
        m_renderSystem->SetAlphaBlend(false);
    }
    // A device with fewer stages than the description draws the stages it has.
    const std::uint32_t deviceStages = m_renderSystem->GetTextureStageCount();
    const std::uint32_t stages = std::min({user.m_stageCount, ShaderDescriptor::kMaxStages, deviceStages});
    for (std::uint32_t i = 0; i < stages; ++i) {
        const ShaderStage& stage = user.m_stages[i];
        m_renderSystem->SetTexture(i, GetTexture(i, stage.m_currentFrame));
        m_renderSystem->SetTextureFilter(i, (stage.m_flags & ShaderStage::kMipMap) ? 2 : 1);
        m_renderSystem->SetTextureAdressU(i, stage.m_addressU);
        m_renderSystem->SetTextureAdressV(i, stage.m_addressV);
        m_renderSystem->SetTextureMatrix(i, stage.m_scaleU, stage.m_scaleV, stage.m_offsetU, stage.m_offsetV);
    }
    for (std::uint32_t i = stages; i < deviceStages; ++i)
        m_renderSystem->SetTexture(i, nullptr);
}

} // namespace KeystrelEngine
