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
    m_lights.ForEachUsed([](Light* light) { delete light; });
}

// The lowest number no live light has, looked for below the slot count; the slot count when all are taken.
std::uint32_t LightManager::FreeLightNumber() const
{
    std::vector<bool> taken(m_lights.GetSlots().size(), false);
    for (const Light* light : m_lights.GetSlots()) {
        if (light && light->index < taken.size())
            taken[light->index] = true;
    }
    return static_cast<std::uint32_t>(std::find(taken.begin(), taken.end(), false) - taken.begin());
}

Light* LightManager::CreateLight()
{
    Light* light = m_renderSystem->CreateLight(FreeLightNumber());
    m_lights.Add(light);
    return light;
}

void LightManager::DeleteLight(Light* light)
{
    if (light && m_lights.Remove(light))
        delete light;
}

void LightManager::Apply()
{
    m_renderSystem->SetAmbientColor(m_ambient);
    m_lights.ForEachUsed([](Light* light) {
        if (light)
            light->Refresh();
    });
}

void LightManager::EnableLighting(bool on)
{
    m_renderSystem->SetLighting(on);
    if (!on || !m_renderSystem->AreLightsReset())
        return;
    m_lights.ForEachUsed([](Light* light) {
        if (light)
            light->OnLightingEnabled();
    });
    m_renderSystem->ClearLightsReset();
}

} // namespace KeystrelEngine
