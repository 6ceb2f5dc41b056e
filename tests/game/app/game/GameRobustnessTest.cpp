// The game under long random play from a fixed set of seeds, each watched after every frame (see GameWatch.h):
// nothing may crash, get stuck, lose the way back to the main menu, draw a level outside it, lose progress, show
// a message box or "UNKNOWN", keep the background's panel after a level, or leave a file that does not load. The
// player plays levels on purpose: each seed wins, leaves and replays levels and reaches the end of a stage, the
// upgrade scene or the high scores with a new entry; together the seeds reach all three. A seed from a fresh start
// also loses a level; one from a saved game near the end (every fourth, see WatchedPlay.h) finishes the game,
// and plays on after it. `make soak` plays many more seeds the same way.
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
    const bool nearTheEnd = GetParam() % kSavedGameEvery == 0;
    EXPECT_TRUE(counts.won > 0 && counts.left > 0 && counts.replayed > 0);
    EXPECT_GT(counts.stageEnds + counts.upgradeScenes + counts.highScoreEntries, 0);
    EXPECT_GT(nearTheEnd ? counts.gamesCompleted : counts.lost, 0)
        << (nearTheEnd ? "no game finished from the saved game" : "no level lost");
}

INSTANTIATE_TEST_SUITE_P(Seeds, GameRobustness,
                         ::testing::Values(5u, 8u, 9u, 14u, 17u, 18u, 29u, 30u, 33u, 35u, 40u, 48u, 56u, 58u, 67u,
                                           71u));

} // namespace
