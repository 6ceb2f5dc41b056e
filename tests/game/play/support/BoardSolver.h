// Plays a running level to its end through the program's input hooks, as a player who wants that end would:
// whenever the board has settled it takes the board's possible move that charges the most mana (to win) or the
// least, none where it can (to lose), moves the mouse onto each cell's centre on the screen and clicks it there,
// and waits again. A move that charges nothing still spends energy, so the losing aim runs the level dry.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace KeystrelEngine {
class Engine;
}

namespace Wispfold {
class Board;
class Cell;
class GameLogic;
} // namespace Wispfold

namespace TestSupport {

class BoardSolver
{
public:
    enum class Aim
    {
        Win,
        Lose
    };

    BoardSolver(const KeystrelEngine::Engine& engine, Aim aim);

    // One step between two frames: at most one mouse movement and one button event. True once the level is
    // decided (its state left 0) and no butterfly is busy.
    bool Step(const Wispfold::GameLogic& level);

    // Every butterfly of the board sits at its cell and nothing waits for removal.
    static bool IsSettled(const Wispfold::Board& board);
    // The cells the swap of the pair would empty: every group of three or more same-coloured butterflies that
    // either swapped cell would join.
    static std::vector<const Wispfold::Cell*> CellsOfSwap(const Wispfold::Board& board, std::uint32_t pair);
    // The open, unblocked mana cells among them.
    static std::uint32_t ManaOfSwap(const Wispfold::Board& board, std::uint32_t pair);
    // The possible move (its pair index) that charges the most mana or the least; none without a possible move.
    static std::optional<std::uint32_t> ChooseMove(const Wispfold::Board& board, Aim aim);

private:
    static constexpr int kStepsPerCell = 3; // move onto it, press, release
    static constexpr int kIdle = 2 * kStepsPerCell;

    void PointAt(const Wispfold::GameLogic& level, const Wispfold::Cell& cell) const;

    const KeystrelEngine::Engine* m_engine;
    Aim m_aim;
    std::array<const Wispfold::Cell*, 2> m_cells{};
    int m_next = kIdle; // the click step to take next
};

} // namespace TestSupport
