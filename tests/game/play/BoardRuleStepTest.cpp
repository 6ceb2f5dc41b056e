#include "BoardFixture.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

using namespace Wispfold;
using TestSupport::BoardFixture;
using TestSupport::Coordinates;

namespace {

class BoardRuleStepTest : public BoardFixture
{
protected:
    // Five columns of seven rows; column 4 holds double mana so that no test wins by accident.
    LevelData Level(std::uint32_t colours = 5)
    {
        LevelData level = Rectangle(5, 7);
        for (BoardCellRecord& record : level.cellRecords)
            record.kind = record.x == 4 ? 2 : 0;
        level.colourCount = colours;
        level.levelFactor = 10.0f;
        return level;
    }

    std::vector<std::uint32_t> TextPoints() const
    {
        std::vector<std::uint32_t> points;
        for (const auto& text : m_world.m_texts)
            points.push_back(text.points);
        return points;
    }

    void GiveBonus(std::uint32_t x, std::uint32_t y, BonusKind kind)
    {
        ItemAt(x, y)->m_bonus = m_world.CreateBonus(kind);
    }

    std::set<const Cell*> GroupCells(std::size_t group = 0) const
    {
        std::set<const Cell*> cells;
        for (const DestructionGroup::Entry& entry : m_board->GetDestructionGroups().at(group)->cells)
            cells.insert(entry.cell);
        return cells;
    }

    // A decided board is never refilled: frames later no butterfly has come and every one has flown away.
    void ExpectStaysEmpty()
    {
        const std::size_t appeared = m_world.m_appeared.size();
        for (int frame = 0; frame < 5; ++frame) {
            m_world.LandAll();
            Frame();
        }
        EXPECT_EQ(m_world.m_appeared.size(), appeared);
        EXPECT_FALSE(m_world.AnyBusy());
    }

    std::size_t CountBonuses(BonusKind kind) const
    {
        return std::count_if(m_board->GetCells().begin(), m_board->GetCells().end(), [&](const auto& cell) {
            const Item* item = m_board->GetItem(cell.get());
            return item && item->m_bonus && item->m_bonus->m_kind == kind;
        });
    }
};

} // namespace

TEST_F(BoardRuleStepTest, ManaPraiseAndTheCombinationSoundFollowTheRemovedCount)
{
    struct Case
    {
        std::uint32_t removed, mana, gained;
        std::vector<std::uint32_t> praise;
    };
    const Case cases[] = {
        {2, 2, 2, {}},  {3, 0, 0, {}},  {3, 3, 3, {1}}, {4, 0, 0, {0}}, {4, 4, 4, {1}},
        {5, 5, 6, {2}}, {6, 0, 0, {1}}, {7, 0, 0, {2}}, {7, 5, 8, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.removed << " removed, " << c.mana << " on mana");
        LevelData level = Level();
        for (std::uint32_t i = 0; i < c.mana; ++i)
            KindAt(level, 0, 2 * i) = 1;
        Make(level);
        Paint(Line(c.removed));
        RemoveGroupAt(0, 0);
        EXPECT_EQ(m_board->GetRemovedCount(), c.removed);
        EXPECT_EQ(m_board->GetManaProgress(), c.gained);
        EXPECT_EQ(m_board->GetPassesWithoutMana(), c.gained == 0 ? 1u : 0u);
        EXPECT_EQ(m_world.m_praises, c.praise);
        EXPECT_EQ(m_world.m_manaBursts.size(), c.mana);
        EXPECT_EQ(m_board->GetManaChargePositions().size(), c.mana);
        const std::uint32_t sound = c.removed >= 3 && c.removed <= 6 ? 19 + c.removed - 3 : 23;
        EXPECT_EQ(m_world.m_sounds, std::vector<std::uint32_t>{sound});
        EXPECT_FALSE(m_board->IsLevelWon());
        for (const auto& cell : m_board->GetCells())
            EXPECT_EQ(m_board->GetItem(cell.get()) != nullptr, !cell->m_closed); // refilled at once
    }
}

TEST_F(BoardRuleStepTest, EachEventScoresItsPointsAndShowsThemAtItsCell)
{
    LevelData level = Level();
    KindAt(level, 0, 2) = 1;
    KindAt(level, 0, 6) = 1;
    Make(level);
    Paint(Line(5));
    RemoveGroupAt(0, 0);
    EXPECT_EQ(TextPoints(), (std::vector<std::uint32_t>{10, 110, 10, 110, 10}));
    EXPECT_EQ(m_keeper.m_total, 250u);
    EXPECT_EQ(m_world.m_texts[1].position.y, 20.0f);

    // A closed cell opens once its open neighbours have no mana left to charge.
    level = Level();
    for (std::uint32_t y : {0, 2, 4})
        KindAt(level, 0, y) = 1;
    level.cellRecords[7].closed = 1; // (1, 1)
    Make(level);
    Paint(Line(3));
    RemoveGroupAt(0, 0);
    EXPECT_EQ(TextPoints(), (std::vector<std::uint32_t>{110, 110, 110, 210}));
    EXPECT_FALSE(At(1, 1)->m_closed);
    EXPECT_NE(ItemAt(1, 1), nullptr);
    EXPECT_EQ(m_world.m_appearanceRefreshes,
              (std::vector<const Cell*>{At(0, 0), At(0, 2), At(0, 4), At(1, 1)})); // three charged, one opened

    // A blocked double-mana cell: the first match frees it and keeps both layers, the next charges one.
    level = Level();
    KindAt(level, 0, 2) = 2;
    level.cellRecords[1].blocked = 1;
    Make(level);
    for (const std::uint32_t points : {160u, 110u}) {
        Paint(Line(3));
        RemoveGroupAt(0, 0);
        EXPECT_EQ(m_world.m_texts.at(1).points, points);
        EXPECT_FALSE(At(0, 2)->m_blocked);
    }
    EXPECT_EQ(At(0, 2)->m_kind, 1u);
    EXPECT_EQ(m_board->GetManaProgress(), 1u);
}

TEST_F(BoardRuleStepTest, BonusesWidenTheirGroupAndSetEachOtherOff)
{
    Make(Level());
    const auto ring = [this](std::set<const Cell*> cells) {
        for (const Cell* cell : std::set<const Cell*>(cells))
            for (HexDirection direction = 0; direction < 6; ++direction)
                if (const Cell* neighbour = m_board->GetNeighbour(cell, direction))
                    cells.insert(neighbour);
        return cells;
    };
    const std::set<const Cell*> line{At(2, 0), At(2, 2), At(2, 4)};
    std::map<Coordinates, ItemColor> colours = Line(3, 1, 2);
    colours[{4, 10}] = 1;
    colours[{0, 12}] = 7;
    colours[{3, 3}] = 7;
    struct Case
    {
        std::vector<std::pair<Coordinates, BonusKind>> bonuses;
        std::set<const Cell*> expected;
        std::array<std::uint32_t, 3> fired;
    };
    const Case cases[] = {
        {{{{2, 2}, BonusKind::ItemDestruction}}, ring({At(2, 2)}), {1, 0, 0}},
        {{{{2, 0}, BonusKind::CombinationDestruction}}, ring(line), {0, 1, 0}},
        {{{{2, 4}, BonusKind::ColorDestruction}}, {At(2, 0), At(2, 2), At(2, 4), At(4, 10)}, {0, 0, 1}},
        // The item destruction takes in (3, 3), whose colour destruction takes in (0, 12).
        {{{{2, 2}, BonusKind::ItemDestruction}, {{3, 3}, BonusKind::ColorDestruction}},
         [&] {
             auto cells = ring({At(2, 2)});
             cells.insert(At(0, 12));
             return cells;
         }(),
         {1, 0, 1}},
    };
    for (const Case& c : cases) {
        Paint(colours);
        for (const auto& [at, kind] : c.bonuses)
            GiveBonus(at.first, at.second, kind);
        m_board->CollectDestructionGroup(At(2, 0));
        const DestructionGroup& group = *m_board->GetDestructionGroups().back();
        EXPECT_EQ(group.chainLength, 3u);
        EXPECT_EQ(GroupCells(m_board->GetDestructionGroups().size() - 1), c.expected);
        EXPECT_EQ(group.bonusesFired, c.bonuses.size());
        EXPECT_EQ(group.firedByKind, c.fired);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(line.count(group.cells[i].cell), 1u); // the chain comes first
        for (const DestructionGroup::Entry& entry : group.cells)
            EXPECT_TRUE(entry.item->m_markedForDestruction);
    }
}

TEST_F(BoardRuleStepTest, ChainLengthsAndFiredBonusesOrderBonusesForTheRefill)
{
    using Kinds = std::vector<BonusKind>;
    struct Case
    {
        std::uint32_t length;
        std::vector<std::pair<Coordinates, BonusKind>> carried;
        Kinds ordered;
    };
    const Case cases[] = {
        {3, {}, {}},
        {4, {}, {BonusKind::ItemDestruction}},
        {5, {}, {BonusKind::CombinationDestruction}},
        {6, {}, {}},
        {4,
         {{{0, 0}, BonusKind::ItemDestruction}, {{0, 4}, BonusKind::CombinationDestruction}},
         {BonusKind::ColorDestruction}},
        {3, {{{0, 0}, BonusKind::ItemDestruction}, {{0, 4}, BonusKind::ColorDestruction}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "chain of " << c.length << " with " << c.carried.size() << " bonuses");
        Make(Level());
        Paint(Line(c.length));
        for (const auto& [at, kind] : c.carried)
            GiveBonus(at.first, at.second, kind);
        m_world.m_bonusesCreated.clear();
        RemoveGroupAt(0, 0);
        EXPECT_EQ(m_world.m_bonusesCreated, c.ordered);
        if (c.ordered == Kinds{BonusKind::ItemDestruction}) {
            // One of the chain's first four cells.
            std::uint32_t carriers = 0;
            for (std::uint32_t y = 0; y < 8; y += 2)
                carriers += ItemAt(0, y)->m_bonus != nullptr;
            EXPECT_EQ(carriers, 1u);
        }
    }
}

TEST_F(BoardRuleStepTest, HelpComesAfterFourteenPassesWithoutMana)
{
    Make(Level(1));
    for (std::uint32_t pass = 1; pass <= 15; ++pass) {
        Paint(Line(2, 0));
        RemoveGroupAt(0, 0);
        const bool help = pass == 15;
        EXPECT_EQ(m_world.m_bonusesCreated.size(), help ? 1u : 0u) << pass;
        EXPECT_EQ(m_board->GetPassesWithoutMana(), pass);
    }
    // The first refilled butterfly of the favoured colour (the only one here) carries it.
    ASSERT_NE(ItemAt(0, 0)->m_bonus, nullptr);
    EXPECT_EQ(ItemAt(0, 0)->m_bonus->m_kind, BonusKind::ColorDestruction);
    EXPECT_EQ(ItemAt(0, 2)->m_bonus, nullptr);
}

TEST_F(BoardRuleStepTest, RefillOrderPutsNearMoreColoursFirstOrDrawsOnePerColour)
{
    LevelData level = Level();
    for (const Coordinates& at : {Coordinates{2, 2}, Coordinates{4, 0}, Coordinates{1, 5}})
        KindAt(level, at.first, at.second) = 1;
    Make(level);
    Paint({{{2, 2}, 3}, {{4, 0}, 1}, {{1, 5}, 4}});
    std::vector<ItemColor> colours;
    m_board->OrderRefillColours(At(0, 0), colours, true);
    EXPECT_EQ(colours, (std::vector<ItemColor>{1, 3, 4, 0, 2})); // 1 and 3 tie at 4 steps: colour order
    m_board->OrderRefillColours(At(4, 8), colours, true);
    EXPECT_EQ(colours, (std::vector<ItemColor>{4, 1, 3, 0, 2})); // 6 steps, then 8 and 8

    for (std::uint32_t seed : {1u, 99u, 12345u}) {
        KeystrelEngine::RandomSeed = seed;
        std::vector<std::uint32_t> scores;
        for (int i = 0; i < 5; ++i)
            scores.push_back(KeystrelEngine::RandomNext() % 1001);
        const std::uint32_t after = KeystrelEngine::RandomSeed;
        KeystrelEngine::RandomSeed = seed;
        m_board->OrderRefillColours(At(0, 0), colours, false);
        EXPECT_EQ(KeystrelEngine::RandomSeed, after);
        for (std::size_t i = 1; i < colours.size(); ++i)
            EXPECT_LE(scores[colours[i - 1]], scores[colours[i]]);
    }
}

TEST_F(BoardRuleStepTest, PassSoundsPlayInOrderAndWinningBeatsRunningOutOfEnergy)
{
    // One mana cell and no energy: the match on it wins rather than fails.
    LevelData level = Rectangle(4, 4);
    level.cellRecords[0].kind = 1;
    level.levelFactor = 1.0f;
    Make(level);
    ASSERT_EQ(m_board->GetEnergyBudget(), 0u);
    Paint(Line(3));
    GiveBonus(0, 0, BonusKind::CombinationDestruction);
    GiveBonus(0, 2, BonusKind::ItemDestruction);
    RemoveGroupAt(0, 0);
    EXPECT_TRUE(m_board->IsLevelWon());
    EXPECT_EQ(m_world.m_levelEndPhrases, 1u);
    EXPECT_EQ(m_world.m_failedReactions, 0u);
    EXPECT_TRUE(m_world.m_praises.empty());
    EXPECT_EQ(m_board->GetRemovedCount(), 7u); // the line and the ring around it
    EXPECT_EQ(m_world.m_sounds, (std::vector<std::uint32_t>{26, 23, 18, 17}));
    EXPECT_EQ(m_board->GetManaProgress(), 1u);
    for (const auto& cell : m_board->GetCells())
        EXPECT_TRUE(!cell->HasMana() && !cell->m_closed && !cell->m_blocked && !m_board->GetItem(cell.get()));

    // A plain match of four spends the last hope of a level without energy, except in relax mode; the guide
    // praises it only while the level goes on.
    for (const bool relax : {false, true}) {
        level.cellRecords[4].kind = 1;
        level.levelFactor = 0.5f;
        level.relaxMode = relax;
        Make(level);
        Paint(Line(4, 1, 2));
        m_world.m_failedReactions = 0;
        RemoveGroupAt(2, 0);
        EXPECT_EQ(m_board->IsOutOfEnergy(), !relax);
        EXPECT_EQ(m_world.m_failedReactions, relax ? 0u : 1u);
        const std::vector<std::uint32_t> sounds =
            relax ? std::vector<std::uint32_t>{20} : std::vector<std::uint32_t>{27, 20};
        EXPECT_EQ(m_world.m_sounds, sounds);
        EXPECT_EQ(m_world.m_praises, relax ? std::vector<std::uint32_t>{0} : std::vector<std::uint32_t>{});
    }
}

namespace {

// One column of four cells with a single colour: every refill stands in a line of four. A cell apart may add
// two mana layers, so that the line alone does not win.
LevelData Column(CellKind kind, float factor, bool manaApart = false)
{
    LevelData level;
    for (std::uint32_t y = 0; y < 8; y += 2) {
        level.cellRecords.emplace_back();
        level.cellRecords.back().y = y;
        level.cellRecords.back().kind = kind;
    }
    if (manaApart) {
        level.cellRecords.push_back(level.cellRecords.back());
        level.cellRecords.back().y = 12;
        level.cellRecords.back().kind = 2;
    }
    level.gridWidth = 1;
    level.gridHeight = 13;
    level.levelFactor = factor;
    return level;
}

} // namespace

TEST_F(BoardRuleStepTest, ACascadeOfFourMakesFourGroupsEachOrderingAnItemDestruction)
{
    bool severalBonuses = false;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        KeystrelEngine::RandomSeed = seed;
        Make(Column(0, 1.0f, true));
        RemoveGroupAt(0, 0);
        ASSERT_EQ(m_board->GetDestructionGroups().size(), 4u);
        m_world.LandAll();
        Frame();
        // One group removes the line; all four place an order on one of their first four cells.
        EXPECT_EQ(m_board->GetRemovedCount(), 4u);
        const std::size_t bonuses = CountBonuses(BonusKind::ItemDestruction);
        EXPECT_GE(bonuses, 1u);
        EXPECT_LE(bonuses, 4u);
        severalBonuses = severalBonuses || bonuses > 1;
    }
    EXPECT_TRUE(severalBonuses);
}

TEST_F(BoardRuleStepTest, ADecidedLevelDropsItsGroupsAndIsNeverRefilled)
{
    // Won with four cascade groups waiting. Without energy and with two layers a cell the first pass only half
    // charges the line; the cascade it set off still counts and wins in the next pass.
    for (const CellKind kind : {CellKind{1}, CellKind{2}}) {
        Make(Column(kind, 0.1f));
        RemoveGroupAt(0, 0);
        if (kind == 2) {
            EXPECT_FALSE(m_board->IsLevelWon() || m_board->IsOutOfEnergy());
            EXPECT_EQ(m_board->GetDestructionGroups().size(), 4u);
            m_world.LandAll();
            Frame();
        }
        EXPECT_TRUE(m_board->IsLevelWon());
        EXPECT_FALSE(m_board->IsOutOfEnergy());
        EXPECT_TRUE(m_board->GetDestructionGroups().empty());
        EXPECT_EQ(m_board->GetMoveCount(), 0u);
        ExpectStaysEmpty();
        for (std::uint32_t i = 0; i < 4; ++i)
            EXPECT_EQ(m_board->GetItemAt(i), nullptr);
    }
}

// The swap that spends the last unit decides the level in its own pass, whether it was made while the swap before
// it still flew or while a cascade was landing: won when its line charges the last mana, else lost. Until then
// nothing is decided, its butterflies fly on, and a further swap is refused. A lost level is not refilled.
TEST_F(BoardRuleStepTest, TheSwapThatSpendsTheLastEnergyDecidesTheLevel)
{
    const std::vector<Coordinates> lastLine{{3, 3}, {3, 5}, {3, 7}};
    const std::vector<Coordinates> apart{{0, 12}, {2, 12}, {4, 12}};
    for (const bool duringCascade : {false, true}) {
        for (const bool completes : {true, false}) {
            SCOPED_TRACE(testing::Message() << (duringCascade ? "during a cascade" : "during a flight") << ", "
                                            << (completes ? "completing" : "not completing"));
            LevelData level = Rectangle(5, 7);
            for (const auto& [x, y] : completes ? lastLine : apart)
                KindAt(level, x, y) = 1;
            level.levelFactor = duringCascade ? 0.5f : 1.0f; // 3 x 0.76 x factor: one unit or two
            Make(level);
            m_world.m_levelEndPhrases = m_world.m_failedReactions = 0;
            // (0, 2) with (1, 3) makes the line (1, 3), (1, 5), (1, 7); (2, 2) with (3, 3) the last line.
            std::map<Coordinates, ItemColor> colours{{{0, 2}, 1}, {{1, 3}, 2}, {{1, 5}, 1}, {{1, 7}, 1},
                                                     {{2, 2}, 3}, {{3, 3}, 4}, {{3, 5}, 3}, {{3, 7}, 3}};
            std::vector<Item*> landingFirst;
            if (duringCascade) {
                // New butterflies flying in to a line, as a refill leaves them, with the group found there.
                colours.merge(Line(3, 2, 4));
                Paint(colours);
                for (std::uint32_t y = 0; y < 6; y += 2) {
                    landingFirst.push_back(ItemAt(4, y));
                    m_world.Appear(*ItemAt(4, y), *At(4, y));
                }
                m_board->CollectDestructionGroup(At(4, 0));
            } else {
                Paint(colours);
                Press(0, 2);
                Press(1, 3);
                landingFirst = {ItemAt(0, 2), ItemAt(1, 3)};
            }
            Press(2, 2);
            Press(3, 3);
            ASSERT_EQ(m_board->GetEnergyLeft(), 0u);
            ASSERT_EQ(m_board->GetDestructionGroups().size(), 2u);
            Item* last = ItemAt(3, 3);

            Press(9, 5); // the island's move
            Press(8, 6);
            EXPECT_EQ(m_world.m_wiggled.size(), 2u) << "no energy, no swap";
            EXPECT_EQ(m_world.m_sounds.back(), BoardWorld::kSoundBadSwap);
            EXPECT_EQ(m_board->GetDestructionGroups().size(), 2u);
            for (Item* item : landingFirst)
                m_world.Land(*item);
            Frame();
            EXPECT_EQ(m_board->GetRemovedCount(), 3u);
            EXPECT_FALSE(m_board->IsLevelWon() || m_board->IsOutOfEnergy());
            EXPECT_EQ(m_world.m_failedReactions, 0u);
            EXPECT_EQ(m_world.GetMotion(*last), TestSupport::ScriptedBoardWorld::Motion::Swapping);

            m_world.LandAll();
            Frame();
            EXPECT_EQ(m_board->GetRemovedCount(), 3u);
            EXPECT_EQ(m_board->IsLevelWon(), completes);
            EXPECT_EQ(m_board->IsOutOfEnergy(), !completes);
            EXPECT_EQ(m_world.m_levelEndPhrases, completes ? 1u : 0u);
            EXPECT_EQ(m_world.m_failedReactions, completes ? 0u : 1u);
            EXPECT_EQ(m_board->GetManaProgress(), completes ? 3u : 0u);
            ExpectStaysEmpty();
        }
    }
}

TEST_F(BoardRuleStepTest, ADeadBoardIsRefilledOnlyOnceItsLastFillHasLanded)
{
    LevelData level = Column(0, 1.0f);
    level.cellRecords.resize(2);
    const auto fills = [this] { return std::count(m_world.m_sounds.begin(), m_world.m_sounds.end(), 25); };
    Make(level);
    ASSERT_EQ(m_board->GetMoveCount(), 0u);
    Frame();
    EXPECT_EQ(fills(), 2);
    for (int frame = 0; frame < 5; ++frame)
        Frame();
    EXPECT_EQ(fills(), 2);
    m_world.LandAll();
    Frame();
    EXPECT_EQ(fills(), 3);
    for (const bool closed : {false, true}) { // the island's only move needs a blocked or a closed cell
        level = Rectangle(1, 1);
        for (BoardCellRecord& record : level.cellRecords)
            (closed ? record.closed : record.blocked) = record.x == 4;
        Make(level);
        Paint({});
        m_board->FindPossibleMoves();
        Frame();
        EXPECT_EQ(fills(), 1) << "dead: " << closed;
    }
}

TEST_F(BoardRuleStepTest, AGroupDestroysOnlyTheButterfliesItCollected)
{
    Make(Level());
    Paint(Line(3, 1, 2));
    m_board->CollectDestructionGroup(At(2, 0));
    // A second group over the same line, widened by a bonus, waits for a wiggling neighbour.
    GiveBonus(2, 4, BonusKind::ItemDestruction);
    m_board->CollectDestructionGroup(At(2, 0));
    m_world.Wiggle(*ItemAt(3, 5));
    Frame();
    ASSERT_EQ(m_board->GetDestructionGroups().size(), 1u);
    const std::vector<Item*> refilled{ItemAt(2, 0), ItemAt(2, 2), ItemAt(2, 4)};
    const std::vector<Item*> waiting{ItemAt(2, 6), ItemAt(3, 5), ItemAt(3, 3), ItemAt(1, 3), ItemAt(1, 5)};
    m_world.LandAll();
    m_world.m_released.clear();
    Frame();
    EXPECT_EQ(m_board->GetRemovedCount(), 5u);
    const std::set<const Item*> released(m_world.m_released.begin(), m_world.m_released.end());
    for (const Item* item : waiting)
        EXPECT_EQ(released.count(item), 1u);
    for (const Item* item : refilled)
        EXPECT_EQ(released.count(item), 0u);
    EXPECT_EQ((std::vector<Item*>{ItemAt(2, 0), ItemAt(2, 2), ItemAt(2, 4)}), refilled);

    // Cascade groups wait for every new butterfly; those that have landed are marked again before input.
    Make(Column(0, 1.0f, true));
    RemoveGroupAt(0, 0);
    for (std::uint32_t i = 0; i < 3; ++i)
        m_world.Land(*m_board->GetItemAt(i));
    Press(0, 0);
    EXPECT_EQ(m_board->GetSelectedCell(), nullptr);
    EXPECT_TRUE(m_board->GetItemAt(0)->m_markedForDestruction);
}
