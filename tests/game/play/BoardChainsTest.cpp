#include "BoardFixture.h"

#include <algorithm>
#include <random>
#include <set>

using namespace Wispfold;
using TestSupport::BoardFixture;
using TestSupport::Coordinates;

namespace {

class BoardChainsTest : public BoardFixture
{
protected:
    std::vector<Chain> Chains(std::uint32_t minimum)
    {
        std::vector<Chain> chains;
        m_board->FindChains(chains, minimum);
        return chains;
    }

    // Size of the cell's same-coloured group, by a plain flood fill over the neighbours.
    std::size_t GroupSize(const Cell* start)
    {
        const Item* item = m_board->GetItem(start);
        if (!item)
            return 0;
        std::set<const Cell*> seen{start};
        std::vector<const Cell*> open{start};
        while (!open.empty()) {
            const Cell* cell = open.back();
            open.pop_back();
            for (HexDirection direction = 0; direction < 6; ++direction) {
                const Cell* next = m_board->GetNeighbour(cell, direction);
                const Item* nextItem = m_board->GetItem(next);
                if (nextItem && nextItem->m_colour == item->m_colour && seen.insert(next).second)
                    open.push_back(next);
            }
        }
        return seen.size();
    }

    bool HasMove(const Cell* target, const Cell* partner) const
    {
        for (std::uint32_t pair = 0; pair < m_board->GetMoveCount(); ++pair) {
            if (m_board->GetMoveFirstCell(pair) == target && m_board->GetMoveSecondCell(pair) == partner)
                return true;
        }
        return false;
    }
};

} // namespace

TEST_F(BoardChainsTest, LinesAndVsAreFoundFromEveryCellThatReachesThree)
{
    Make(Rectangle(3, 5, false));
    Paint({{{0, 0}, 1}, {{0, 2}, 1}, {{0, 4}, 1}});
    std::vector<Chain> chains = Chains(3);
    ASSERT_EQ(chains.size(), 2u); // from the ends; the middle's walks end at two
    EXPECT_EQ(chains[0], (Chain{At(0, 0), At(0, 2), At(0, 4)}));
    EXPECT_EQ(chains[1], (Chain{At(0, 4), At(0, 2), At(0, 0)}));
    EXPECT_EQ(Chains(2).size(), 3u);

    Paint({{{0, 0}, 1}, {{0, 2}, 1}, {{0, 4}, 1}, {{0, 6}, 1}});
    chains = Chains(3);
    ASSERT_EQ(chains.size(), 4u);
    for (const Chain& chain : chains)
        EXPECT_GE(chain.size(), 3u);

    // A V: both ends reach all three, the middle reaches only pairs.
    Paint({{{0, 2}, 2}, {{1, 3}, 2}, {{2, 2}, 2}});
    chains = Chains(3);
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_EQ(chains[0].front(), At(0, 2));
    EXPECT_EQ(chains[1].front(), At(2, 2));
    for (const Coordinates& at : {Coordinates{0, 2}, Coordinates{1, 3}, Coordinates{2, 2}})
        EXPECT_TRUE(m_board->IsInMatch(At(at.first, at.second)));
    EXPECT_FALSE(m_board->IsInMatch(At(1, 1)));
}

TEST_F(BoardChainsTest, IsInMatchMeansTheSameColouredGroupHasThreeOrMoreCells)
{
    Make(Rectangle(7, 6, false));
    std::mt19937 random(7);
    for (int board = 0; board < 300; ++board) {
        std::map<Coordinates, ItemColor> colours;
        for (const auto& cell : m_board->GetCells())
            colours[{cell->m_x, cell->m_y}] = random() % (2 + board % 3);
        Paint(colours);
        for (const auto& cell : m_board->GetCells())
            ASSERT_EQ(m_board->IsInMatch(cell.get()), GroupSize(cell.get()) >= 3) << "board " << board;
        for (const Chain& chain : Chains(3)) {
            ASSERT_GE(chain.size(), 3u);
            EXPECT_EQ(std::set<Cell*>(chain.begin(), chain.end()).size(), chain.size());
            for (const Cell* cell : chain)
                EXPECT_EQ(m_board->GetItem(cell)->m_colour, m_board->GetItem(chain.front())->m_colour);
        }
    }
}

TEST_F(BoardChainsTest, EachCellTwoStepsAwayListsTheSwapsThroughTheCellsBetween)
{
    Make(Rectangle(9, 9, false));
    Cell* centre = At(4, 8);
    const auto neighbours = [this](const Cell* cell) {
        std::set<Cell*> cells;
        for (HexDirection direction = 0; direction < 6; ++direction)
            if (Cell* neighbour = m_board->GetNeighbour(cell, direction))
                cells.insert(neighbour);
        return cells;
    };
    const std::set<Cell*> near = neighbours(centre);
    std::set<Cell*> targets;
    for (Cell* cell : near)
        for (Cell* next : neighbours(cell))
            if (next != centre && !near.count(next))
                targets.insert(next);
    ASSERT_EQ(targets.size(), 12u);
    for (Cell* target : targets) {
        std::vector<Cell*> between;
        for (Cell* cell : near)
            if (neighbours(target).count(cell))
                between.push_back(cell);
        ASSERT_FALSE(between.empty());
        // The chain's second cell lies three steps from the target, so that only the centre's walk reaches it.
        const auto partner = std::find_if(near.begin(), near.end(), [&](Cell* cell) {
            for (Cell* shared : neighbours(cell))
                if (neighbours(target).count(shared))
                    return false;
            return true;
        });
        ASSERT_NE(partner, near.end());
        Paint({{{centre->m_x, centre->m_y}, 1},
               {{(*partner)->m_x, (*partner)->m_y}, 1},
               {{target->m_x, target->m_y}, 1}});
        m_board->FindPossibleMoves();
        for (const Cell* cell : between)
            EXPECT_TRUE(HasMove(target, cell)) << target->m_x << "," << target->m_y;
        for (std::uint32_t pair = 0; pair < m_board->GetMoveCount(); ++pair) {
            Cell* first = m_board->GetMoveFirstCell(pair);
            Cell* second = m_board->GetMoveSecondCell(pair);
            m_board->SwapItems(first, second);
            EXPECT_TRUE(m_board->IsInMatch(second) || m_board->IsInMatch(first));
            m_board->SwapItems(first, second);
        }
    }
}

TEST_F(BoardChainsTest, MoveSearchStopsOnlyAfterTheChainThatPassesTwentyEntries)
{
    // Units of a pair, a partner two columns over and the two cells between, each in its own colour: every walk
    // over a pair lists three moves (six entries).
    LevelData level;
    level.colourCount = 5;
    std::map<Coordinates, ItemColor> colours;
    for (std::uint32_t unit = 0; unit < 4; ++unit) {
        const std::uint32_t x = 4 * unit;
        for (const Coordinates& at : {Coordinates{x, 4}, Coordinates{x, 6}, Coordinates{x + 2, 4}}) {
            level.cellRecords.push_back(Record(at.first, at.second));
            colours[at] = unit + 1;
        }
        level.cellRecords.push_back(Record(x + 1, 3));
        level.cellRecords.push_back(Record(x + 1, 5));
    }
    level.gridWidth = 16;
    level.gridHeight = 8;
    Make(level);
    Paint(colours);
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        KeystrelEngine::RandomSeed = seed;
        m_board->FindPossibleMoves();
        EXPECT_EQ(m_board->GetMoveCount(), 12u); // four walks: 18 entries are not enough, 24 end the search
    }
}
