#include "BoardFixture.h"

#include <limits>

using namespace Wispfold;
using TestSupport::BoardFixture;

using BoardGridTest = BoardFixture;

TEST_F(BoardGridTest, NeighboursFollowTheDoubledRowsAndStopAtTheGridEdges)
{
    Make(Rectangle(4, 4, false));
    struct Case
    {
        std::uint32_t x, y;
        std::array<bool, 6> present; // directions 0 to 5
    };
    const Case cases[] = {
        {0, 0, {true, true, false, false, false, false}}, // x = 0 and y = 0
        {1, 1, {true, true, true, false, true, true}},    // y = 1: nothing two rows down
        {2, 2, {true, true, true, true, true, true}},
        {3, 7, {false, false, false, true, true, false}}, // the far corner
    };
    for (const Case& c : cases) {
        const Cell* cell = At(c.x, c.y);
        for (HexDirection direction = 0; direction < 6; ++direction) {
            const Cell* neighbour = m_board->GetNeighbour(cell, direction);
            EXPECT_EQ(neighbour != nullptr, c.present[direction]) << c.x << "," << c.y << " direction " << direction;
            if (neighbour) {
                const int dx = static_cast<int>(neighbour->m_x) - static_cast<int>(c.x);
                const int dy = static_cast<int>(neighbour->m_y) - static_cast<int>(c.y);
                const int expected[6][2] = {{0, 2}, {1, 1}, {1, -1}, {0, -2}, {-1, -1}, {-1, 1}};
                EXPECT_EQ(dx, expected[direction][0]);
                EXPECT_EQ(dy, expected[direction][1]);
            }
        }
        EXPECT_EQ(m_board->GetNeighbour(cell, 6), nullptr);
    }
    EXPECT_EQ(m_board->FindCell(1, 0), nullptr); // off the staggered rows
    EXPECT_EQ(m_board->FindCell(100, 100), nullptr);
}

TEST_F(BoardGridTest, DuplicateCoordinatesFindTheEarlierCell)
{
    LevelData level = Rectangle(2, 2, false);
    level.cellRecords.push_back(Record(0, 2, 1));
    Make(level);
    const Cell* first = m_board->FindCell(0, 2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_cellIndex, 1u);
    EXPECT_EQ(m_board->GetNeighbour(At(0, 0), 0), first);
    EXPECT_EQ(m_board->GetNeighbour(At(1, 1), 5), first);
    // Both cells are still played: the duplicate gets its own butterfly.
    EXPECT_NE(m_board->GetItemAt(4), nullptr);
}

TEST_F(BoardGridTest, ManaTargetEnergyBudgetAndPointTotalComeFromTheCells)
{
    struct Case
    {
        std::uint32_t single, dual;
        float factor;
        std::uint32_t target, budget;
    };
    const Case cases[] = {
        {10, 5, 1.5f, 20, 22}, // 20 x 0.76 x 1.5 = 22.8
        {0, 0, 1.5f, 0, 0},
        {1, 0, 1.0f, 1, 0}, // 0.76 truncates to nothing
        {2, 1, 1e30f, 4, std::numeric_limits<std::uint32_t>::max()},
        {2, 1, -1.0f, 4, 0},
        {2, 1, std::numeric_limits<float>::quiet_NaN(), 4, 0},
    };
    for (const Case& c : cases) {
        LevelData level = Rectangle(5, 4, false);
        for (std::uint32_t i = 0; i < c.single + c.dual; ++i)
            level.cellRecords[i].kind = i < c.single ? 1 : 2;
        level.levelFactor = c.factor;
        Make(level);
        EXPECT_EQ(m_board->GetManaTarget(), c.target) << c.factor;
        EXPECT_EQ(m_board->GetEnergyBudget(), c.budget) << c.factor;
        EXPECT_EQ(m_board->GetEnergyLeft(), c.budget);
        EXPECT_EQ(m_board->GetManaProgress(), 0u);
        EXPECT_FALSE(m_board->IsLevelWon());
        EXPECT_FALSE(m_board->IsOutOfEnergy());
    }

    LevelData closedDouble = Rectangle(2, 2, false);
    closedDouble.cellRecords[0].kind = 2;
    closedDouble.cellRecords[0].closed = 1;
    Make(closedDouble);
    EXPECT_EQ(m_board->GetLevelPointTotal(), 400u);
    EXPECT_EQ(m_board->GetItemAt(0), nullptr); // closed cells hold no butterfly

    closedDouble.cellRecords[1].kind = 1;
    closedDouble.cellRecords[1].blocked = 1;
    Make(closedDouble);
    EXPECT_EQ(m_board->GetLevelPointTotal(), 400u + 100u + 150u);
    EXPECT_TRUE(m_board->GetItemAt(1)->m_held);
}
