// Creates sprite groups, keeps them in a registry that owns them, and updates every registered group once per
// frame, after the particle systems have placed their sprites and before the model pass draws them.
#pragma once

#include "SpriteGroup.h"
#include "engine/foundation/ObjectManager.h"

#include <cstdint>

namespace KeystrelEngine {

class SpriteGroupManager
{
public:
    SpriteGroupManager(CameraManager* cameras, ModelManager* models);
    // The registry deletes the groups still registered.
    virtual ~SpriteGroupManager() = default;

    SpriteGroupManager(const SpriteGroupManager&) = delete;
    SpriteGroupManager& operator=(const SpriteGroupManager&) = delete;

    // A new registered group; a null descriptor means the default description, a null camera the default camera.
    SpriteGroup* CreateSpriteGroup(std::uint32_t capacity, const ShaderDescriptor* descriptor, Camera* camera);
    // A new registered group made like the source, with every sprite free.
    SpriteGroup* CloneSpriteGroup(const SpriteGroup& source);

    // The frame pass.
    void UpdateAll();

    // To delete a registered group, remove it from the registry and delete it when that succeeds.
    ObjectManager<SpriteGroup>& GetRegistry() { return m_registry; }

private:
    SpriteGroup* Register(SpriteGroup* group);

    CameraManager* m_cameras;
    ModelManager* m_models;
    ObjectManager<SpriteGroup> m_registry;
};

} // namespace KeystrelEngine
