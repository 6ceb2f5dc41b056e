#include "CameraManager.h"

#include "RenderSystem.h"
#include "engine/foundation/Window.h"

#include <algorithm>

namespace KeystrelEngine {

CameraManager::CameraManager(MessageManager* log, Window* window, RenderSystem* renderSystem)
    : m_log(log), m_window(window), m_renderSystem(renderSystem)
{
    m_defaultCamera = CreateCamera(Camera::kPerspective);
}

CameraManager::~CameraManager()
{
    DeleteCamera(m_defaultCamera);
    m_freeIds.clear();
    for (const std::uint32_t id : m_liveIds) {
        delete m_cameras[id];
        m_cameras[id] = nullptr;
    }
}

Camera* CameraManager::CreateCamera(int projectionKind)
{
    std::uint32_t id = static_cast<std::uint32_t>(m_cameras.size());
    if (!m_freeIds.empty()) {
        id = m_freeIds.back();
        m_freeIds.pop_back();
    }
    m_liveIds.push_back(id);
    Camera* camera = m_renderSystem->CreateCamera(projectionKind);
    if (id < m_cameras.size())
        m_cameras[id] = camera;
    else
        m_cameras.push_back(camera);
    return camera;
}

void CameraManager::DeleteCamera(Camera* camera)
{
    if (!camera)
        return;
    const auto live =
        std::find_if(m_liveIds.begin(), m_liveIds.end(), [&](std::uint32_t id) { return m_cameras[id] == camera; });
    if (live == m_liveIds.end())
        return;
    const std::uint32_t id = *live;
    delete camera;
    m_cameras[id] = nullptr;
    m_freeIds.push_back(id);
    m_liveIds.erase(live);
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
    for (const std::uint32_t id : m_liveIds)
        m_cameras[id]->Update(aspect);
    m_lastAppliedCamera = nullptr;
}

} // namespace KeystrelEngine
