// The game under long random play from a fixed set of seeds, each watched after every frame (see GameWatch.h):
// nothing may crash, get stuck, lose the way back to the main menu, draw a level outside it, lose progress, show
// a message box or "UNKNOWN", or leave a file that does not load. The player plays levels on purpose: each seed
// wins, loses, leaves and replays levels and reaches the end of a stage, the upgrade scene or the high scores
// with a new entry; together the seeds reach all three. `make soak` plays many more seeds the same way.
#include "tests/game/app/game/WatchedPlay.h"

#include <iostream>

namespace {

using namespace GameTesting;

class GameRobustness : public WatchedPlay, public ::testing::WithParamInterface<std::uint32_t>
{
};

TEST_P(GameRobustness, KeepsEveryWatchOverRandomPlay)
{
    const Report report = PlaySeed(GetParam(), kFrames);
    std::cout << "[ robustness ] " << Summary(report) << std::endl;
    for (const auto& [invariant, failure] : report.failures)
        ADD_FAILURE() << invariant << ": " << failure;
    const GameWatch::Counts& counts = report.counts;
    EXPECT_TRUE(counts.won > 0 && counts.lost > 0 && counts.left > 0 && counts.replayed > 0);
    EXPECT_GT(counts.stageEnds + counts.upgradeScenes + counts.highScoreEntries, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GameRobustness,
                         ::testing::Values(8u, 13u, 15u, 16u, 35u, 42u, 48u, 56u, 58u, 61u, 65u, 67u, 71u, 72u, 78u,
                                           82u));

} // namespace
