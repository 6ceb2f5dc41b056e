#include "ScriptedPlayer.h"

namespace TestSupport {

using Wispfold::Board;
using Wispfold::Cell;

ScriptedPlayer::ScriptedPlayer(std::uint32_t seed) : m_random(seed) {}

bool ScriptedPlayer::PlayFrame(Board& board, ScriptedBoardWorld& world)
{
    Cell* hovered = nullptr;
    bool wentDown = false;
    bool held = false;
    bool attempt = false;
    const std::uint32_t roll = Roll(100);
    if (roll >= 25 && !board.GetSelectedCell()) {
        m_partner = nullptr;
        if (roll < 70 && board.GetMoveCount() > 0) {
            const std::uint32_t pair = Roll(board.GetMoveCount());
            hovered = board.GetMoveFirstCell(pair);
            m_partner = board.GetMoveSecondCell(pair);
        } else {
            hovered = RandomCell(board);
        }
        wentDown = held = true;
    } else if (roll >= 25) {
        hovered = m_partner && roll < 75 ? m_partner : board.GetNeighbour(board.GetSelectedCell(), Roll(6));
        if (!hovered)
            hovered = RandomCell(board);
        held = true;
        wentDown = Roll(2) == 0;
        attempt = true;
    }
    board.Update(hovered, wentDown, held);
    world.Step();
    return attempt;
}

std::uint32_t ScriptedPlayer::Roll(std::uint32_t below)
{
    return std::uniform_int_distribution<std::uint32_t>(0, below - 1)(m_random);
}

Cell* ScriptedPlayer::RandomCell(const Board& board)
{
    return board.GetCells()[Roll(static_cast<std::uint32_t>(board.GetCells().size()))].get();
}

} // namespace TestSupport
