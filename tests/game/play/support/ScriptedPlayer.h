// Plays a board through its input entry as a restless player would: it presses on a possible move's first cell
// or anywhere, then presses or drags onto the move's partner or a random neighbour, and now and then waits.
// Its choices come from its own generator, so the engine's draws stay the board's.
#pragma once

#include "ScriptedBoardWorld.h"

#include "game/play/Board.h"

#include <cstdint>
#include <random>

namespace TestSupport {

class ScriptedPlayer
{
public:
    explicit ScriptedPlayer(std::uint32_t seed);

    // One frame: the board's update with this player's input, then one step of the world. True when the frame
    // tried a swap (input onto a cell while one was selected).
    bool PlayFrame(Wispfold::Board& board, ScriptedBoardWorld& world);

private:
    std::uint32_t Roll(std::uint32_t below);
    Wispfold::Cell* RandomCell(const Wispfold::Board& board);

    std::mt19937 m_random;
    Wispfold::Cell* m_partner = nullptr; // the other cell of the move being tried
};

} // namespace TestSupport
