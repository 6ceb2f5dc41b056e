// Owns every scene light, hands out the lowest free device light number, keeps the scene's ambient colour and,
// once per frame, sends the ambient colour and every light to the render system. Slots freed last are reused
// first; the per-frame pass follows the order in which slots were taken.
#pragma once

#include "engine/foundation/SlotList.h"

#include "Color.h"

#include <cstdint>
#include <vector>

namespace KeystrelEngine {

class Light;
class MessageManager;
class RenderSystem;

class LightManager
{
public:
    LightManager(MessageManager* log, RenderSystem* renderSystem);
    virtual ~LightManager();

    LightManager(const LightManager&) = delete;
    LightManager& operator=(const LightManager&) = delete;

    Light* CreateLight();
    // Deletes a light of this manager (which switches its device light off); any other light is left alone.
    void DeleteLight(Light* light);
    // The per-frame pass: the ambient colour when it changed (or the states are forced), then every light.
    void Apply();
    // Model drawing switches lighting per model through this.
    void EnableLighting(bool on);

    // Set by the game; takes effect at the next Apply.
    Color m_ambient{0.0f, 0.0f, 0.0f, 1.0f};

private:
    std::uint32_t FreeLightNumber() const;

    MessageManager* m_log;
    RenderSystem* m_renderSystem;
    SlotList<Light> m_lights;
};

} // namespace KeystrelEngine
