#include "ParticleSystemManager.h"

#include "Model.h"
#include "SpriteGroup.h"
#include "engine/foundation/VectorUtils.h"

#include <algorithm>

namespace KeystrelEngine {

ParticleSystemManager::ParticleSystemManager(const ParticleServices& services) : m_services(services) {}

ParticleSystem* ParticleSystemManager::LoadParticleSystem(const std::string& name, Camera* camera)
{
    return new ParticleSystem(m_services, name, camera);
}

ParticleSystem* ParticleSystemManager::CloneParticleSystem(const ParticleSystem& source)
{
    auto* system = new ParticleSystem(source);
    m_registry.Add(system);
    return system;
}

// A system may have been asked to be hidden more than once; no entry may outlive it.
void ParticleSystemManager::DestroyParticleSystem(ParticleSystem* system)
{
    if (!m_registry.Remove(system))
        return;
    std::replace(m_waiting.begin(), m_waiting.end(), system, static_cast<ParticleSystem*>(nullptr));
    delete system;
}

void ParticleSystemManager::HideWhenFinished(ParticleSystem* system)
{
    const std::vector<ParticleSystem*>& slots = m_registry.GetSlots();
    if (system && std::find(slots.begin(), slots.end(), system) != slots.end())
        m_waiting.push_back(system);
}

void ParticleSystemManager::UpdateAll()
{
    for (ParticleSystem* system : m_registry.GetSlots()) {
        if (system)
            system->Update();
    }
    for (ParticleSystem*& system : m_waiting) {
        if (system && !system->m_emitting && system->GetLiveCount() == 0) {
            system->GetSpriteGroup()->GetModel()->m_flags &= ~Model::kShown;
            system = nullptr;
        }
    }
    RemoveNullPointers(m_waiting);
}

} // namespace KeystrelEngine
