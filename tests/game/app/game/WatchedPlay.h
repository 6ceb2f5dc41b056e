// One seed's random play under the watch, from a fresh start in an 800x600 window: after every frame the watch
// looks at the game and the random player acts; whenever the input quits, the game starts again, until the frames
// are played or the game is stuck. Besides the watch's invariants no text may read "UNKNOWN".
//
// Every kSavedGameEvery-th seed starts from a saved game near the end instead, so that random play finishes whole
// games and plays on after them: a player who has won every level before one of the last two of the last stage,
// saved after each win as the game saves a won level, the introduction told, and the current profile of the list.
//
// A seed plays the same game every time: the data load on the main thread, as the loading windows do when no
// thread can be made, since the fake clock moves on while a loading window waits for its worker, by as much as
// the worker's pace on the machine.
#pragma once

#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/GameWatch.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace GameTesting {

class WatchedPlay : public GameFixture
{
protected:
    static constexpr int kFrames = 12000;
    static constexpr std::uint32_t kSavedGameEvery = 4;

    struct Report
    {
        std::uint32_t seed = 0;
        int frames = 0;
        int games = 0;
        int waysBack = 0;
        GameWatch::Counts counts;
        std::set<std::string_view> screens;
        std::map<std::string, std::string> failures; // by invariant
    };

    Report PlaySeed(std::uint32_t seed, int frames);
    // One line of "name=value" pairs, the screens reached last (their spaces as "_", separated by ",").
    static std::string Summary(const Report& report);
};

} // namespace GameTesting
