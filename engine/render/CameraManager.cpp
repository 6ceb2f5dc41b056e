#include "CameraManager.h"

#include "RenderSystem.h"
#include "engine/foundation/Window.h"

namespace KeystrelEngine {

CameraManager::CameraManager(MessageManager* log, Window* window, RenderSystem* renderSystem)
    : m_log(log), m_window(window), m_renderSystem(renderSystem)
{
    m_defaultCamera = CreateCamera(Camera::kPerspective);
}

CameraManager::~CameraManager()
{
    DeleteCamera(m_defaultCamera);
    m_cameras.ForEachUsed([](Camera* camera) { delete camera; });
}

Camera* CameraManager::CreateCamera(int projectionKind)
{
    Camera* camera = m_renderSystem->CreateCamera(projectionKind);
    m_cameras.Add(camera);
    return camera;
}

void CameraManager::DeleteCamera(Camera* camera)
{
    if (!camera || !m_cameras.Remove(camera))
        return;
    delete camera;
    if (m_lastAppliedCamera == camera)
        m_lastAppliedCamera = nullptr;
}

void CameraManager::Update()
{
    RECT client{};
    GetClientRect(m_window->m_handle, &client);
    m_viewport = {0, 0, static_cast<std::uint32_t>(client.right - client.left),
                  static_cast<std::uint32_t>(client.bottom - client.top)};
    const float aspect = static_cast<float>(m_viewport.width) / static_cast<float>(m_viewport.height);
    m_cameras.ForEachUsed([aspect](Camera* camera) { camera->Update(aspect); });
    m_lastAppliedCamera = nullptr;
}

} // namespace KeystrelEngine
