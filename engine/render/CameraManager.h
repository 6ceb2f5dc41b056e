// Creates the cameras through the render system and numbers them with ids, the id freed last being reused first;
// updates every live camera once per frame in the order of creation; owns the default perspective camera; and
// remembers which camera model drawing applied last in the frame.
#pragma once

#include "Camera.h"
#include "engine/foundation/SlotList.h"

#include <cstdint>
#include <vector>

namespace KeystrelEngine {

class MessageManager;
class RenderSystem;
class Window;

class CameraManager
{
public:
    CameraManager(MessageManager* log, Window* window, RenderSystem* renderSystem);
    virtual ~CameraManager();

    CameraManager(const CameraManager&) = delete;
    CameraManager& operator=(const CameraManager&) = delete;

    Camera* CreateCamera(int projectionKind);
    // Deletes a camera of this manager; null and cameras it did not make are left alone.
    void DeleteCamera(Camera* camera);
    // Takes the viewport from the window's client area, updates every live camera and forgets the last applied
    // camera, so the first model drawn in the frame applies its camera again.
    void Update();

    Camera* GetDefaultCamera() const { return m_defaultCamera; }
    const Viewport& GetViewport() const { return m_viewport; }
    // The ids of the live cameras in creation order.
    const std::vector<std::uint32_t>& GetLiveIds() const { return m_cameras.GetUsedSlots(); }
    Camera* GetCamera(std::uint32_t id) const
    {
        return id < m_cameras.GetSlots().size() ? m_cameras.GetSlots()[id] : nullptr;
    }

    // Read and written by model drawing.
    Camera* m_lastAppliedCamera = nullptr;
    bool m_lastAppliedZBiased = false;

private:
    MessageManager* m_log;
    Window* m_window;
    RenderSystem* m_renderSystem;
    Viewport m_viewport;
    SlotList<Camera> m_cameras; // ids are slot numbers
    Camera* m_defaultCamera = nullptr;
};

} // namespace KeystrelEngine
