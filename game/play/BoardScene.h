// The visible side of the board, kept by the board's world: one look per cell in the board's cell order (made from
// the same records the board reads), the board's bounding box (the union of the cells' pick boxes), the selection
// rings, and the two ways between the board and the screen: the cell under the cursor, and where a cell's centre
// appears in the GUI's virtual screen. The current camera is the camera manager's default camera.
#pragma once

#include "BoardWorld.h"
#include "Cell.h"
#include "CellLook.h"
#include "CellSelectionManager.h"
#include "LevelData.h"

#include "engine/gui/GUIWindow.h"
#include "engine/render/BoundingBox.h"
#include "engine/render/Camera.h"

#include <memory>
#include <vector>

namespace KeystrelEngine {
class CameraManager;
class Window;
} // namespace KeystrelEngine

namespace Wispfold {

// What the scene needs to reach the screen; nothing is owned.
struct ScreenServices
{
    KeystrelEngine::CameraManager* cameras = nullptr;
    const KeystrelEngine::Window* window = nullptr; // its client size in pixels
    // The GUI's virtual screen, y up from the bottom.
    float virtualWidth = 800.0f;
    float virtualHeight = 600.0f;
};

class BoardScene
{
public:
    // The rings' pool, then a look per cell record in order; the level holds at least one cell.
    BoardScene(const PlayServices& services, const ScreenServices& screen, const CellResources& resources,
               const LevelData& level);
    virtual ~BoardScene() = default;

    BoardScene(const BoardScene&) = delete;
    BoardScene& operator=(const BoardScene&) = delete;

    // The board's cell under a point of the GUI's virtual screen: of the cells whose pick boxes the ray through
    // the point hits, the nearest; of equally near ones, the earlier. Null when none is hit.
    Cell* Pick(const std::vector<std::unique_ptr<Cell>>& cells, KeystrelEngine::GUIPoint cursor) const;
    // The cell's centre in the GUI's virtual screen.
    ScreenPosition GetScreenPosition(const Cell& cell) const;
    // The frame's tints (each look told whether its cell is the selected or the hovered one), then the rings.
    void Update(const Cell* selected, const Cell* hovered);

    CellLook& GetLook(const Cell& cell) const { return *m_looks[cell.m_cellIndex]; }
    const std::vector<std::unique_ptr<CellLook>>& GetLooks() const { return m_looks; }
    const KeystrelEngine::BoundingBox& GetBoundingBox() const { return m_boundingBox; }
    const CellSelectionManager& GetMarkers() const { return m_markers; }

private:
    KeystrelEngine::Viewport ClientViewport() const;

    ScreenServices m_screen;
    CellSelectionManager m_markers;
    std::vector<std::unique_ptr<CellLook>> m_looks;
    KeystrelEngine::BoundingBox m_boundingBox;
};

} // namespace Wispfold
