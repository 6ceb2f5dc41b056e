#include "LightManager.h"

#include "Light.h"
#include "RenderSystem.h"

#include <algorithm>

namespace KeystrelEngine {

LightManager::LightManager(MessageManager* log, RenderSystem* renderSystem) : m_log(log), m_renderSystem(renderSystem)
{
}

LightManager::~LightManager()
{
    m_freeSlots.clear();
    for (std::uint32_t slot : m_usedSlots)
        delete m_lights[slot];
}

// The lowest number no live light has, looked for below the slot count; the slot count when all are taken.
std::uint32_t LightManager::FreeLightNumber() const
{
    std::vector<bool> taken(m_lights.size(), false);
    for (const Light* light : m_lights) {
        if (light && light->index < taken.size())
            taken[light->index] = true;
    }
    return static_cast<std::uint32_t>(std::find(taken.begin(), taken.end(), false) - taken.begin());
}

Light* LightManager::CreateLight()
{
    const std::uint32_t number = FreeLightNumber();
    std::uint32_t slot;
    if (m_freeSlots.empty()) {
        slot = static_cast<std::uint32_t>(m_lights.size());
        m_lights.push_back(nullptr);
    } else {
        slot = m_freeSlots.back();
        m_freeSlots.pop_back();
    }
    m_usedSlots.push_back(slot);
    Light* light = m_renderSystem->CreateLight(number);
    m_lights[slot] = light;
    return light;
}

void LightManager::DeleteLight(Light* light)
{
    const auto used = std::find_if(m_usedSlots.begin(), m_usedSlots.end(),
                                   [this, light](std::uint32_t slot) { return light && m_lights[slot] == light; });
    if (used == m_usedSlots.end())
        return;
    const std::uint32_t slot = *used;
    delete light;
    m_lights[slot] = nullptr;
    m_freeSlots.push_back(slot);
    m_usedSlots.erase(used);
}

void LightManager::Apply()
{
    m_renderSystem->SetAmbientColor(m_ambient);
    for (std::uint32_t slot : m_usedSlots) {
        if (Light* light = m_lights[slot])
            light->Refresh();
    }
}

void LightManager::EnableLighting(bool on)
{
    m_renderSystem->SetLighting(on);
    if (!on || !m_renderSystem->AreLightsReset())
        return;
    for (std::uint32_t slot : m_usedSlots) {
        if (Light* light = m_lights[slot])
            light->OnLightingEnabled();
    }
    m_renderSystem->ClearLightsReset();
}

} // namespace KeystrelEngine
