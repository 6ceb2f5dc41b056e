#include "ShaderManager.h"

#include "Shader.h"
#include "ShaderUser.h"
#include "TextureManager.h"
#include "engine/foundation/MessageManager.h"

namespace KeystrelEngine {

ShaderManager::ShaderManager(MessageManager* log, FileManager* files, TimerManager* timers, Config* config,
                             RenderSystem* renderSystem)
    : m_log(log), m_files(files), m_timers(timers), m_config(config), m_renderSystem(renderSystem),
      m_textures(std::make_unique<TextureManager>(log, files, config, renderSystem))
{
}

ShaderManager::~ShaderManager()
{
    for (const auto& [hash, user] : m_users)
        delete user;
    m_users.clear();
    m_hashes.clear();
    m_textures.reset();
}

ShaderUser* ShaderManager::LoadShader(const std::string& name)
{
    return GetShader(ShaderDescriptor::LoadFromFile(name, m_log, m_files));
}

ShaderUser* ShaderManager::GetShader(const ShaderDescriptor& description)
{
    Shader* shader = nullptr;
    const auto [first, last] = m_users.equal_range(description.m_hash);
    for (auto it = first; it != last && !shader; ++it) {
        if (it->second->Equals(description))
            shader = it->second->GetShader();
    }
    if (!shader) {
        shader = new Shader(m_log, m_config, m_renderSystem, m_textures.get(), description);
        ++m_shaderCount;
    }
    auto* user = new ShaderUser(description, m_log, m_timers, shader);
    m_users.emplace(description.m_hash, user);
    m_hashes.emplace(user, description.m_hash);
    return user;
}

void ShaderManager::RemoveShader(ShaderUser* user)
{
    if (!user)
        return;
    const auto known = m_hashes.find(user);
    if (known == m_hashes.end())
        m_log->FatalError("Shader Manager: Failed to remove shader");
    const auto [first, last] = m_users.equal_range(known->second);
    for (auto it = first; it != last; ++it) {
        if (it->second == user) {
            m_users.erase(it);
            break;
        }
    }
    m_hashes.erase(known);
    if (user->GetShader()->GetReferenceCount() == 1)
        --m_shaderCount;
    delete user;
}

void ShaderManager::Update()
{
    for (const auto& [hash, user] : m_users)
        user->Update();
}

} // namespace KeystrelEngine
