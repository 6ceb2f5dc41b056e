// One seed of `make soak` (tools/soak runs many in parallel): SOAK_SEED's random play of SOAK_FRAMES frames
// (12,000 by default) under the watch, reported on one line that begins "[ soak ]", then each broken invariant
// on a line of "[ soak failure ] ", the invariant, " | " and how it broke.
#include "tests/game/app/game/WatchedPlay.h"

#include <cstdlib>
#include <iostream>

namespace {

using namespace GameTesting;

using GameSoak = WatchedPlay;

std::uint32_t FromEnvironment(const char* name, std::uint32_t fallback)
{
    const char* value = std::getenv(name);
    return value ? static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)) : fallback;
}

TEST_F(GameSoak, PlaysOneSeed)
{
    const Report report =
        PlaySeed(FromEnvironment("SOAK_SEED", 1), static_cast<int>(FromEnvironment("SOAK_FRAMES", kFrames)));
    std::cout << "[ soak ] " << Summary(report) << std::endl;
    for (const auto& [invariant, failure] : report.failures)
        std::cout << "[ soak failure ] " << invariant << " | " << failure << std::endl;
    EXPECT_TRUE(report.failures.empty());
}

} // namespace
