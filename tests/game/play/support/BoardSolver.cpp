#include "BoardSolver.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/GameLogic.h"
#include "game/play/Item.h"
#include "game/play/ItemManager.h"
#include "platform/testing.h"

#include <SDL_mouse.h>
#include <cmath>
#include <vector>

namespace TestSupport {

using Wispfold::Board;
using Wispfold::Cell;
using Wispfold::GameLogic;

namespace {

constexpr Wispfold::HexDirection kDirections = 6;

// The cells of the same colour connected to start, with the pair's butterflies swapped.
std::vector<const Cell*> GroupAfterSwap(const Board& board, const Cell* first, const Cell* second, const Cell* start)
{
    const auto itemAt = [&](const Cell* cell) {
        return board.GetItem(cell == first ? second : cell == second ? first : cell);
    };
    const Wispfold::Item* startItem = itemAt(start);
    std::vector<const Cell*> group{start};
    std::vector<bool> seen(board.GetCells().size());
    seen[start->m_cellIndex] = true;
    for (std::size_t next = 0; startItem && next < group.size(); ++next) {
        for (Wispfold::HexDirection direction = 0; direction < kDirections; ++direction) {
            const Cell* neighbour = board.GetNeighbour(group[next], direction);
            const Wispfold::Item* item = neighbour ? itemAt(neighbour) : nullptr;
            if (!item || seen[neighbour->m_cellIndex] || item->m_colour != startItem->m_colour)
                continue;
            seen[neighbour->m_cellIndex] = true;
            group.push_back(neighbour);
        }
    }
    return group;
}

} // namespace

BoardSolver::BoardSolver(const KeystrelEngine::Engine& engine, Aim aim) : m_engine(&engine), m_aim(aim) {}

std::vector<const Cell*> BoardSolver::CellsOfSwap(const Board& board, std::uint32_t pair)
{
    const Cell* first = board.GetMoveFirstCell(pair);
    const Cell* second = board.GetMoveSecondCell(pair);
    std::vector<bool> counted(board.GetCells().size());
    std::vector<const Cell*> cells;
    for (const Cell* start : {first, second}) {
        const std::vector<const Cell*> group = GroupAfterSwap(board, first, second, start);
        for (const Cell* cell : group) {
            if (group.size() < 3 || counted[cell->m_cellIndex])
                continue;
            counted[cell->m_cellIndex] = true;
            cells.push_back(cell);
        }
    }
    return cells;
}

std::uint32_t BoardSolver::ManaOfSwap(const Board& board, std::uint32_t pair)
{
    std::uint32_t mana = 0;
    for (const Cell* cell : CellsOfSwap(board, pair))
        mana += cell->HasMana() && !cell->m_blocked ? 1 : 0;
    return mana;
}

bool BoardSolver::IsSettled(const Board& board)
{
    for (const auto& cell : board.GetCells()) {
        const Wispfold::Item* item = board.GetItem(cell.get());
        if (item && (item->m_markedForDestruction || !item->IsAtRest()))
            return false;
    }
    return board.GetDestructionGroups().empty();
}

bool BoardSolver::Step(const GameLogic& level)
{
    if (m_next == kIdle) {
        if (level.GetState() != GameFramework::GameLogicBase::LevelPlaying)
            return !level.GetItemManager().AnyItemBusy();
        const Board& board = level.GetBoard();
        const std::optional<std::uint32_t> move = IsSettled(board) ? ChooseMove(board, m_aim) : std::nullopt;
        if (!move)
            return false;
        m_cells = {board.GetMoveFirstCell(*move), board.GetMoveSecondCell(*move)};
        m_next = 0;
    }
    const Cell& cell = *m_cells[m_next / kStepsPerCell];
    PointAt(level, cell);
    const int action = m_next % kStepsPerCell;
    if (action > 0)
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, action == 1);
    ++m_next;
    return false;
}

std::optional<std::uint32_t> BoardSolver::ChooseMove(const Board& board, Aim aim)
{
    std::optional<std::uint32_t> chosen;
    std::uint32_t best = 0;
    for (std::uint32_t pair = 0; pair < board.GetMoveCount(); ++pair) {
        const std::uint32_t mana = ManaOfSwap(board, pair);
        if (chosen && !(aim == Aim::Win ? mana > best : mana < best))
            continue;
        chosen = pair;
        best = mana;
    }
    return chosen;
}

// The cell's centre in the GUI's virtual screen (y up), as window pixels (y down), the way the GUI cursor reads
// the mouse back.
void BoardSolver::PointAt(const GameLogic& level, const Cell& cell) const
{
    const Wispfold::ScreenPosition position = level.GetScene().GetScreenPosition(cell);
    const KeystrelEngine::Window& window = *m_engine->m_window;
    const KeystrelEngine::Camera& virtualScreen = *m_engine->m_gui->m_camera;
    const int x = static_cast<int>(std::lround(position.x / virtualScreen.m_width * window.m_width));
    const int y =
        static_cast<int>(std::lround(window.m_height - 1 - position.y / virtualScreen.m_height * window.m_height));
    PlatformTesting::InjectMouseMotion(window.m_handle, x, y, 0, 0);
}

} // namespace TestSupport
