#include "SpriteGroupManager.h"

namespace KeystrelEngine {

SpriteGroupManager::SpriteGroupManager(CameraManager* cameras, ModelManager* models)
    : m_cameras(cameras), m_models(models)
{
}

SpriteGroup* SpriteGroupManager::Register(SpriteGroup* group)
{
    m_registry.Add(group);
    return group;
}

SpriteGroup* SpriteGroupManager::CreateSpriteGroup(std::uint32_t capacity, const ShaderDescriptor* descriptor,
                                                   Camera* camera)
{
    return Register(new SpriteGroup(*m_cameras, *m_models, capacity, descriptor, camera));
}

SpriteGroup* SpriteGroupManager::CloneSpriteGroup(const SpriteGroup& source)
{
    return Register(new SpriteGroup(source));
}

void SpriteGroupManager::UpdateAll()
{
    for (SpriteGroup* group : m_registry.GetSlots()) {
        if (group)
            group->Update();
    }
}

} // namespace KeystrelEngine
