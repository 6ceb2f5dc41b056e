// The loaded textures of one shader description: per stage, one texture per animation frame. Users whose
// descriptions compare equal share one shader; it lives while a user references it, and gives its textures back
// to the texture manager when it goes.
#pragma once

#include <cstdint>
#include <vector>

namespace KeystrelEngine {

class Config;
class MessageManager;
class RenderSystem;
class ShaderDescriptor;
class ShaderUser;
class Texture2D;
class TextureManager;

class Shader
{
public:
    // Loads the textures of every stage and frame; reference count 0.
    Shader(MessageManager* log, Config* config, RenderSystem* renderSystem, TextureManager* textures,
           const ShaderDescriptor& description);
    virtual ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Sends the user's blending and, per stage, its current frame's texture, filter, addressing and texture
    // matrix to the render system; the render system's further stages get no texture.
    void Apply(const ShaderUser& user) const;

    std::uint32_t GetReferenceCount() const { return m_referenceCount; }
    void AddReference() { ++m_referenceCount; }
    // Returns the references left.
    std::uint32_t RemoveReference() { return --m_referenceCount; }

    std::uint32_t GetStageCount() const { return static_cast<std::uint32_t>(m_stages.size()); }
    std::uint32_t GetFrameCount(std::uint32_t stage) const
    {
        return static_cast<std::uint32_t>(m_stages[stage].size());
    }
    // Null for an empty slot, a stage or frame beyond the shader's.
    Texture2D* GetTexture(std::uint32_t stage, std::uint32_t frame) const;

private:
    MessageManager* m_log;
    Config* m_config;
    RenderSystem* m_renderSystem;
    TextureManager* m_textures;
    std::vector<std::vector<Texture2D*>> m_stages; // per stage, one texture reference per frame
    std::uint32_t m_referenceCount = 0;
};

} // namespace KeystrelEngine
