// Hands out shader users and shares one shader among every user whose description compares equal: users are kept
// by their description's hash, and only users of the same hash are compared in full. It advances every user's
// animation once per frame, owns the users it hands out until they are given back, and owns the texture manager
// the shaders load their textures through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace KeystrelEngine {

class Config;
class FileManager;
class MessageManager;
class RenderSystem;
class ShaderDescriptor;
class ShaderUser;
class TextureManager;
class TimerManager;

class ShaderManager
{
public:
    ShaderManager(MessageManager* log, FileManager* files, TimerManager* timers, Config* config,
                  RenderSystem* renderSystem);
    virtual ~ShaderManager();

    ShaderManager(const ShaderManager&) = delete;
    ShaderManager& operator=(const ShaderManager&) = delete;

    // A user of the ".srf" file's description. A missing or damaged file raises the reader's Error (after its
    // error line), a third stage FatalError; no user is made then.
    ShaderUser* LoadShader(const std::string& name);
    // A user of the description, sharing the shader of an equal description when one is in use.
    ShaderUser* GetShader(const ShaderDescriptor& description);
    // Gives a user back (it is deleted, and its shader with the last user). Null does nothing; a user this
    // manager does not hold is a fatal error.
    void RemoveShader(ShaderUser* user);
    // Once per frame: advances every user's animation.
    void Update();

    std::uint32_t GetUserCount() const { return static_cast<std::uint32_t>(m_users.size()); }
    std::uint32_t GetShaderCount() const { return m_shaderCount; }
    TextureManager* GetTextureManager() const { return m_textures.get(); }

private:
    MessageManager* m_log;
    FileManager* m_files;
    TimerManager* m_timers;
    Config* m_config;
    RenderSystem* m_renderSystem;
    std::unique_ptr<TextureManager> m_textures;
    std::unordered_multimap<std::int32_t, ShaderUser*> m_users; // by description hash; owned
    // The hash each user is kept under, so that a user can be looked for without reading it.
    std::unordered_map<const ShaderUser*, std::int32_t> m_hashes;
    std::uint32_t m_shaderCount = 0;
};

} // namespace KeystrelEngine
