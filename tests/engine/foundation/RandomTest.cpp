#include "engine/foundation/Random.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>

using namespace KeystrelEngine;

namespace {

// One generator step done by hand, to count the steps a function makes.
std::uint32_t Stepped(std::uint32_t seed)
{
    return seed * 1103515245u + 12345u;
}

} // namespace

TEST(Random, SequenceFromSeedZeroIsFixed)
{
    RandomSeed = 0;
    EXPECT_EQ(RandomNext(), 0u);
    EXPECT_EQ(RandomSeed, 12345u);
    EXPECT_EQ(RandomNext(), 21468u);
    EXPECT_EQ(RandomSeed, 3554416254u);
    for (std::uint32_t expected : {9988u, 22117u, 3498u, 16927u})
        EXPECT_EQ(RandomNext(), expected);
}

TEST(Random, SequenceFromAnotherSeedIsFixed)
{
    RandomSeed = 20240611;
    for (std::uint32_t expected : {39u, 25255u, 14207u, 16850u, 31749u, 24655u})
        EXPECT_EQ(RandomNext(), expected);
    EXPECT_EQ(RandomSeed, 1615803989u);
}

TEST(Random, DerivedFunctionsUseOneStepEachAndTheStatedFormulas)
{
    RandomSeed = 0;
    EXPECT_EQ(RandomFloat(), 0.0f);
    EXPECT_EQ(RandomFloat(), 21468.0f / 32768.0f);
    EXPECT_EQ(RandomInt(1000), 9988u % 1000u);
    EXPECT_EQ(RandomIntRange(-10, 10), -10 + static_cast<std::int32_t>(22117u % 21u));
    EXPECT_EQ(RandomFloatRange(2.0f, 4.0f), 2.0f + 2.0f * (3498.0f / 32768.0f));
    EXPECT_EQ(RandomSpread(10.0f, 2.0f), 10.0f + 2.0f * (2.0f * (16927.0f / 32768.0f) - 1.0f));
    EXPECT_EQ(RandomSeed, 3256818826u);
}

TEST(Random, DrawsStayInTheirRanges)
{
    RandomSeed = 7;
    std::set<std::int32_t> ends;
    for (int i = 0; i < 20000; ++i) {
        const float r = RandomFloat();
        EXPECT_TRUE(r >= 0.0f && r < 1.0f);
        EXPECT_LT(RandomInt(6), 6u);
        EXPECT_EQ(RandomInt(1), 0u);
        const std::int32_t n = RandomIntRange(-3, 3);
        EXPECT_TRUE(n >= -3 && n <= 3);
        ends.insert(n);
        EXPECT_EQ(RandomIntRange(5, 5), 5);
        const float f = RandomFloatRange(-1.0f, 1.0f);
        EXPECT_TRUE(f >= -1.0f && f < 1.0f);
        const float s = RandomSpread(4.0f, 0.5f);
        EXPECT_TRUE(s >= 3.5f && s < 4.5f);
        EXPECT_EQ(RandomSpread(4.0f, 0.0f), 4.0f);
    }
    EXPECT_EQ(ends.size(), 7u); // both ends occur
}

TEST(Random, WholeIntRangeDrawsWithoutDividingByZero)
{
    RandomSeed = 0;
    RandomNext();
    EXPECT_EQ(RandomIntRange(INT_MIN, INT_MAX), INT_MIN + 21468);
}

TEST(Random, EmptyRangesAreRejectedWithoutADraw)
{
    RandomSeed = 99;
#ifdef NDEBUG
    EXPECT_EQ(RandomInt(0), 0u);
    EXPECT_EQ(RandomIntRange(5, 4), 0);
    EXPECT_EQ(RandomIntRange(5, -5), 0);
    EXPECT_EQ(RandomSeed, 99u);
#else
    EXPECT_DEATH(RandomInt(0), "RandomInt");
    EXPECT_DEATH(RandomIntRange(5, 4), "RandomIntRange");
#endif
    EXPECT_EQ(RandomNext(), (Stepped(99) >> 16) & 0x7FFF) << "a rejected call must not step the seed";
}
