// Loads particle systems from files as templates for their callers, keeps registered clones of them, updates
// every registered system once per frame (after the cameras, before the sprite groups) and hides the systems
// whose owners asked for it once they have finished: emission over and the last particle retired.
#pragma once

#include "ParticleSystem.h"
#include "engine/foundation/ObjectManager.h"

#include <string>
#include <vector>

namespace KeystrelEngine {

class ParticleSystemManager
{
public:
    explicit ParticleSystemManager(const ParticleServices& services);
    // The registry deletes the systems still registered.
    virtual ~ParticleSystemManager() = default;

    ParticleSystemManager(const ParticleSystemManager&) = delete;
    ParticleSystemManager& operator=(const ParticleSystemManager&) = delete;

    // A new system read from the file; not registered: the caller owns it (a template to clone). File errors
    // reach the caller.
    ParticleSystem* LoadParticleSystem(const std::string& name, Camera* camera);
    // A new registered, stopped copy of the source.
    ParticleSystem* CloneParticleSystem(const ParticleSystem& source);
    // Deletes a registered system and forgets it wherever the waiting list names it; null and systems that are
    // not registered are left alone.
    void DestroyParticleSystem(ParticleSystem* system);
    // Hides the registered system's sprite group at the first frame pass that finds it not emitting and without
    // live particles. Systems that are not registered are ignored: nothing would tell the manager of their end.
    void HideWhenFinished(ParticleSystem* system);

    // The frame pass.
    void UpdateAll();

    // To delete a registered system, use DestroyParticleSystem, so that the waiting list forgets it too.
    const ObjectManager<ParticleSystem>& GetRegistry() const { return m_registry; }
    const std::vector<ParticleSystem*>& GetWaitingList() const { return m_waiting; }

private:
    ParticleServices m_services;
    ObjectManager<ParticleSystem> m_registry;
    std::vector<ParticleSystem*> m_waiting; // null for an entry that is done
};

} // namespace KeystrelEngine
