#include "framework/ScoreKeeper.h"

#include <gtest/gtest.h>

using GameFramework::ScoreKeeper;

TEST(ScoreKeeper, KeepsTheFirstValueOfAnEventAndScalesByTheMultiplier)
{
    ScoreKeeper keeper;
    EXPECT_EQ(keeper.GetPoints(3), 0);
    EXPECT_EQ(keeper.m_multiplier, 1);
    EXPECT_EQ(keeper.m_total, 0u);

    const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
    for (std::uint32_t id = 0; id < 7; ++id)
        keeper.SetPoints(id, table[id]);
    keeper.SetPoints(3, 999);
    EXPECT_EQ(keeper.GetPoints(3), 150);
    EXPECT_EQ(keeper.GetPoints(6), 1000);
    EXPECT_EQ(keeper.GetPoints(7), 0);

    keeper.m_multiplier = -2;
    EXPECT_EQ(keeper.GetPoints(1), -200);
    keeper.m_multiplier = 1 << 30;
    EXPECT_EQ(keeper.GetPoints(0), static_cast<std::int32_t>(10u << 30)); // wraps as 32-bit
}
