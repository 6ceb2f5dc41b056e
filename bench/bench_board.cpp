// The board's rules on the 91-cell hexagon (five colours, mana, closed and blocked cells) over the stand-in world
// of the board tests, on one core. Prints the time of a rule pass that removes butterflies (removal, refill,
// cascade search and the move search), mean and median against its target, and how many swap attempts per
// second a scripted game gets through, landings included.
#include "engine/foundation/Random.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Board.h"
#include "tests/game/play/support/HexagonLevel.h"
#include "tests/game/play/support/ScriptedPlayer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

using namespace Wispfold;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPasses = 20000;
constexpr int kSwapAttempts = 50000;
constexpr double kTargetMicroseconds = 50.0;

std::unique_ptr<Board> NewBoard(TestSupport::ScriptedBoardWorld& world, GameFramework::ScoreKeeper& keeper)
{
    auto board = std::make_unique<Board>(world, TestSupport::MakeHexagonLevel(1.0f, true), keeper);
    world.LandAll();
    return board;
}

// Microseconds of each removing pass: a listed move is swapped, the butterflies land, and the frame that removes
// them (and every cascade after it) is timed.
std::vector<double> TimeRemovingPasses()
{
    TestSupport::ScriptedBoardWorld world;
    GameFramework::ScoreKeeper keeper;
    std::unique_ptr<Board> board = NewBoard(world, keeper);
    std::vector<double> passes;
    while (passes.size() < kPasses) {
        if (board->IsLevelWon()) {
            board.reset();
            board = NewBoard(world, keeper);
        }
        if (board->GetMoveCount() > 0) {
            const std::uint32_t pair = KeystrelEngine::RandomInt(board->GetMoveCount());
            board->Update(board->GetMoveFirstCell(pair), true, true);
            board->Update(board->GetMoveSecondCell(pair), true, true);
        }
        do {
            world.LandAll();
            const Clock::time_point start = Clock::now();
            board->Update(nullptr, false, false);
            const double elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            if (board->GetRemovedCount() > 0)
                passes.push_back(elapsed);
        } while (!board->GetDestructionGroups().empty());
        world.LandAll();
    }
    return passes;
}

double SwapAttemptsPerSecond()
{
    TestSupport::ScriptedBoardWorld world(7, 3);
    TestSupport::ScriptedPlayer player(7);
    GameFramework::ScoreKeeper keeper;
    std::unique_ptr<Board> board;
    int attempts = 0;
    const Clock::time_point start = Clock::now();
    for (int level = 0; attempts < kSwapAttempts; ++level) {
        board.reset();
        board =
            std::make_unique<Board>(world, TestSupport::MakeHexagonLevel(0.5f + (level % 3), level % 3 == 2), keeper);
        while (!board->IsLevelWon() && !board->IsOutOfEnergy() && attempts < kSwapAttempts)
            attempts += player.PlayFrame(*board, world);
        // A decided level ends once its butterflies have flown away.
        while ((board->IsLevelWon() || board->IsOutOfEnergy()) && world.AnyBusy()) {
            board->Update(nullptr, false, false);
            world.Step();
        }
    }
    return attempts / std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main()
{
    KeystrelEngine::RandomSeed = 12345;
    std::vector<double> passes = TimeRemovingPasses();
    double total = 0.0;
    for (const double pass : passes)
        total += pass;
    std::sort(passes.begin(), passes.end());
    const double mean = total / passes.size();
    const double median = passes[passes.size() / 2];
    std::printf("bench_board: removing rule pass on the 91-cell hexagon: mean %.1f us, median %.1f us, 99th percentile "
                "%.1f us (target <= %.0f us: %.2fx)\n",
                mean, median, passes[passes.size() * 99 / 100], kTargetMicroseconds, mean / kTargetMicroseconds);
    std::printf("bench_board: scripted game: %.0f swap attempts per second\n", SwapAttemptsPerSecond());
    return 0;
}
