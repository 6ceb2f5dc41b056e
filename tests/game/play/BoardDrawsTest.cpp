#include "BoardFixture.h"

#include "support/HexagonLevel.h"

using namespace Wispfold;
using TestSupport::BoardFixture;

namespace {

class BoardDrawsTest : public BoardFixture
{
protected:
    // Steps of the engine's generator since the last call.
    std::uint32_t Draws()
    {
        std::uint32_t steps = 0;
        for (; m_seen != KeystrelEngine::RandomSeed && steps < 1000000; ++steps)
            m_seen = m_seen * 1103515245u + 12345u;
        m_seen = KeystrelEngine::RandomSeed;
        return steps;
    }

    std::uint32_t MoveSearchDraws()
    {
        std::vector<Chain> pairs;
        m_board->FindChains(pairs, 2);
        return pairs.empty() ? 0 : static_cast<std::uint32_t>(pairs.size() - 1);
    }

    void SetUp() override
    {
        BoardFixture::SetUp();
        m_seen = KeystrelEngine::RandomSeed;
    }

    std::uint32_t m_seen = 0;
};

} // namespace

TEST_F(BoardDrawsTest, FillMoveSearchRefillOrderAndBonusOrdersDrawAtTheirPlaces)
{
    // Fill: four per open cell with five colours, then the move search.
    const LevelData hexagon = TestSupport::MakeHexagonLevel(1.0f, false);
    Make(hexagon);
    std::uint32_t open = 0;
    for (const BoardCellRecord& record : hexagon.cellRecords)
        open += record.closed == 0;
    EXPECT_EQ(Draws(), 4 * open + MoveSearchDraws());
    m_board->FindPossibleMoves();
    EXPECT_EQ(Draws(), MoveSearchDraws());

    // Refilled cells alternate, across passes, between the random order (one draw per colour) and the distance
    // order; a chain of four adds its bonus order.
    LevelData level = Rectangle(5, 7);
    level.levelFactor = 10.0f;
    level.cellRecords[30].kind = 2;
    Make(level);
    const struct
    {
        std::uint32_t length, randomCells, orders;
    } passes[] = {{3, 2, 0}, {3, 1, 0}, {4, 2, 1}, {5, 3, 1}};
    for (const auto& pass : passes) {
        Paint(Line(pass.length));
        Draws();
        RemoveGroupAt(0, 0);
        ASSERT_TRUE(m_board->GetDestructionGroups().empty());
        EXPECT_EQ(Draws(), 5 * pass.randomCells + pass.orders + MoveSearchDraws()) << pass.length;
    }
}
