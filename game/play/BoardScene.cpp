#include "BoardScene.h"

#include "Cell.h"

#include "engine/foundation/Window.h"
#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"

namespace Wispfold {

using KeystrelEngine::Camera;
using KeystrelEngine::Model;

BoardScene::BoardScene(const PlayServices& services, const ScreenServices& screen, const CellResources& resources,
                       const LevelData& level)
    : m_screen(screen), m_markers(services, *resources.select)
{
    m_looks.reserve(level.cellRecords.size());
    for (const BoardCellRecord& record : level.cellRecords)
        m_looks.push_back(std::make_unique<CellLook>(services, resources, record));
    m_boundingBox = m_looks.front()->GetPickModel().m_boundingBox;
    for (const auto& look : m_looks)
        m_boundingBox.ExpandMinMax(look->GetPickModel().m_boundingBox);
}

KeystrelEngine::Viewport BoardScene::ClientViewport() const
{
    return {0, 0, static_cast<std::uint32_t>(m_screen.window->m_width),
            static_cast<std::uint32_t>(m_screen.window->m_height)};
}

// The GUI's y axis and the window's pixels both count upwards from the bottom here, so the point is only scaled.
Cell* BoardScene::Pick(const std::vector<std::unique_ptr<Cell>>& cells, KeystrelEngine::GUIPoint cursor) const
{
    const KeystrelEngine::Viewport viewport = ClientViewport();
    const float x = cursor.x * static_cast<float>(viewport.width) / m_screen.virtualWidth;
    const float y = cursor.y * static_cast<float>(viewport.height) / m_screen.virtualHeight;
    const Camera& camera = *m_screen.cameras->GetDefaultCamera();
    const KeystrelEngine::Vector3 nearPoint = Camera::UnprojectFromScreen(camera, x, y, 0.0f, viewport);
    const KeystrelEngine::Vector3 farPoint = Camera::UnprojectFromScreen(camera, x, y, 1.0f, viewport);
    const KeystrelEngine::Ray ray{nearPoint, farPoint - nearPoint};
    Cell* hovered = nullptr;
    float nearest = Model::kNoHit;
    for (const auto& cell : cells) {
        float distance = Model::kNoHit;
        if (GetLook(*cell).GetPickModel().IntersectRay(ray, &distance) && distance < nearest) {
            nearest = distance;
            hovered = cell.get();
        }
    }
    return hovered;
}

ScreenPosition BoardScene::GetScreenPosition(const Cell& cell) const
{
    const KeystrelEngine::Viewport viewport = ClientViewport();
    const KeystrelEngine::ScreenPoint pixel =
        Camera::ProjectToScreen(*m_screen.cameras->GetDefaultCamera(), GetLook(cell).GetWorldCentre(), viewport);
    return {pixel.x / static_cast<float>(viewport.width) * m_screen.virtualWidth,
            pixel.y / static_cast<float>(viewport.height) * m_screen.virtualHeight};
}

void BoardScene::Update(const Cell* selected, const Cell* hovered)
{
    for (std::uint32_t i = 0; i < m_looks.size(); ++i)
        m_looks[i]->Update(hovered && hovered->m_cellIndex == i, selected && selected->m_cellIndex == i);
    m_markers.Update(selected ? &GetLook(*selected) : nullptr);
}

} // namespace Wispfold
