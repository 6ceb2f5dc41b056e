#include "BoardFixture.h"

#include <algorithm>
#include <set>
#include <tuple>

using namespace Wispfold;
using TestSupport::BoardFixture;
using TestSupport::Coordinates;
using Sound = BoardWorld::Sound;

namespace {

// Swapping (0, 2) and its neighbour (1, 3) puts colour 1 into the line (1, 3), (1, 5), (1, 7); (2, 2) and
// (2, 4) swap into nothing; (3, 3) shares (2, 2)'s colour.
class BoardSwapTest : public BoardFixture
{
protected:
    void MakePainted(float levelFactor = 10.0f, bool relax = false, bool blockA = false)
    {
        LevelData level = Rectangle(4, 5);
        KindAt(level, 3, 9) = 1;
        KindAt(level, 2, 8) = 1;
        level.levelFactor = levelFactor;
        level.relaxMode = relax;
        for (BoardCellRecord& record : level.cellRecords)
            record.blocked = blockA && record.x == 0 && record.y == 2;
        Make(level);
        Paint({{{0, 2}, 1}, {{1, 3}, 2}, {{1, 5}, 1}, {{1, 7}, 1}, {{2, 2}, 3}, {{2, 4}, 4}, {{3, 3}, 3}});
    }

    void Hold(std::uint32_t x, std::uint32_t y) { Frame(At(x, y), false, true); }
    std::vector<std::uint32_t> Sounds(std::initializer_list<Sound> sounds) { return {sounds.begin(), sounds.end()}; }
};

} // namespace

TEST_F(BoardSwapTest, PressesSelectAndDeselectWhileHoldingOnlyDragsToNeighbours)
{
    MakePainted();
    Frame(nullptr, true, true);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    Press(0, 2);
    EXPECT_EQ(m_board->GetSelectedCell(), At(0, 2));
    Hold(0, 2);
    Hold(3, 7); // not a neighbour: the drag keeps the selection
    Hold(0, 2);
    EXPECT_EQ(m_board->GetSelectedCell(), At(0, 2));
    Press(0, 2);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    EXPECT_EQ(m_world.m_sounds, Sounds({BoardWorld::kSoundSelect, BoardWorld::kSoundDeselect}));

    Press(0, 2);
    Press(3, 7); // a press elsewhere moves the selection
    EXPECT_EQ(m_board->GetSelectedCell(), At(3, 7));
    Press(2, 2);
    Hold(3, 3); // same colour: nothing while holding
    EXPECT_EQ(m_board->GetSelectedCell(), At(2, 2));
    Press(3, 3); // a fresh press selects it
    EXPECT_EQ(m_board->GetSelectedCell(), At(3, 3));
    EXPECT_TRUE(m_world.m_wiggled.empty());
    EXPECT_TRUE(m_board->GetDestructionGroups().empty());
}

TEST_F(BoardSwapTest, RefusedSwapsAreFreeAndWiggleAcceptedOnesCostOneUnit)
{
    MakePainted();
    const std::uint32_t budget = m_board->GetEnergyBudget();
    ASSERT_EQ(budget, 15u);
    Item* left = ItemAt(2, 2);
    Item* right = ItemAt(2, 4);
    Press(2, 2);
    Press(2, 4);
    EXPECT_EQ(ItemAt(2, 2), left);
    EXPECT_EQ(ItemAt(2, 4), right);
    EXPECT_EQ(std::set<const Item*>(m_world.m_wiggled.begin(), m_world.m_wiggled.end()),
              (std::set<const Item*>{left, right}));
    EXPECT_EQ(m_world.m_wiggled.size(), 2u);
    EXPECT_EQ(m_board->GetEnergyLeft(), budget);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    EXPECT_EQ(m_world.m_sounds.back(), BoardWorld::kSoundBadSwap);

    // Dragging onto the neighbour swaps without a second press.
    Item* moving = ItemAt(0, 2);
    Press(0, 2);
    Hold(1, 3);
    EXPECT_EQ(ItemAt(1, 3), moving);
    EXPECT_EQ(m_world.GetMotion(*moving), TestSupport::ScriptedBoardWorld::Motion::Swapping);
    EXPECT_EQ(m_board->GetEnergyLeft(), budget - 1);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    EXPECT_EQ(m_world.m_sounds.back(), BoardWorld::kSoundSwap);
    ASSERT_EQ(m_board->GetDestructionGroups().size(), 1u);
    EXPECT_EQ(m_board->GetDestructionGroups()[0]->cells.size(), 3u);
    EXPECT_TRUE(moving->m_markedForDestruction);

    // The last unit is spent, then nothing more; relax mode spends none.
    for (const auto& [factor, relax, energyAfter] : {std::tuple{1.0f, false, 0u}, std::tuple{10.0f, true, 15u}}) {
        MakePainted(factor, relax);
        ASSERT_EQ(m_board->GetEnergyBudget(), factor == 1.0f ? 1u : 15u);
        Press(0, 2);
        Press(1, 3);
        EXPECT_EQ(m_board->GetEnergyLeft(), energyAfter);
        ASSERT_EQ(m_board->GetDestructionGroups().size(), 1u);
    }
    MakePainted(0.0f);
    Press(0, 2);
    Press(1, 3);
    EXPECT_EQ(m_board->GetEnergyLeft(), 0u);
    EXPECT_EQ(m_board->GetDestructionGroups().size(), 1u);
}

TEST_F(BoardSwapTest, BlockedCellsAndMarkedButterfliesAreNeverHovered)
{
    MakePainted(10.0f, false, true);
    Press(0, 2);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    Press(1, 3);
    Press(0, 2); // no deselect either: the frame has no input
    EXPECT_EQ(m_board->GetSelectedCell(), At(1, 3));
    // The frame ends by showing the selection, without the blocked cell as hovered.
    EXPECT_EQ(m_world.m_shownSelected, At(1, 3));
    EXPECT_EQ(m_world.m_shownHovered, nullptr);
    const std::uint32_t shows = m_world.m_selectionShows;
    Frame(At(1, 5), false, false);
    EXPECT_EQ(m_world.m_shownHovered, At(1, 5)) << "hovered without a press";
    EXPECT_EQ(m_world.m_selectionShows, shows + 1) << "once a frame";

    MakePainted();
    ItemAt(2, 4)->m_markedForDestruction = true;
    Press(2, 4);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    Press(2, 2);
    Press(2, 4);
    EXPECT_EQ(m_board->GetSelectedCell(), At(2, 2));
    EXPECT_TRUE(m_world.m_wiggled.empty());

    // A selected butterfly taken by a group can no longer swap: a press deselects.
    ItemAt(2, 2)->m_markedForDestruction = true;
    Hold(2, 4);
    ItemAt(2, 4)->m_markedForDestruction = false;
    Hold(2, 4);
    EXPECT_EQ(m_board->GetSelectedCell(), At(2, 2));
    Press(2, 4);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    EXPECT_EQ(m_world.m_sounds.back(), BoardWorld::kSoundDeselect);
}

// A butterfly in flight is drawn away from its cell: neither a press, a refused swap nor a hint reaches it.
TEST_F(BoardSwapTest, ButterfliesInFlightAreNeitherPickedNorWiggled)
{
    for (const bool arriving : {false, true}) {
        MakePainted();
        Item* flying = ItemAt(8, 4); // the island's move: (8, 4) with (7, 3)
        arriving ? m_world.Appear(*flying, *At(8, 4)) : m_world.MoveTo(*flying, *At(8, 4));
        m_board->FindPossibleMoves();
        for (std::uint32_t pair = 0; pair < m_board->GetMoveCount(); ++pair)
            m_board->ShowHint(pair);
        Press(7, 3);
        Press(8, 4);
        EXPECT_EQ(m_board->GetSelectedCell(), At(7, 3));
        EXPECT_EQ(std::count(m_world.m_wiggled.begin(), m_world.m_wiggled.end(), flying), 0);
    }
}
