// Plays many levels of the benchmark board through the board's input entry, with butterflies that land after
// random delays, and checks after every frame what must always hold.
#include "support/HexagonLevel.h"
#include "support/ScriptedPlayer.h"

#include "engine/foundation/Random.h"
#include "framework/ScoreKeeper.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace Wispfold;
using TestSupport::ScriptedBoardWorld;

namespace {

using Motion = ScriptedBoardWorld::Motion;

class ScriptedGame
{
public:
    ScriptedGame(Board& board, ScriptedBoardWorld& world, const GameFramework::ScoreKeeper& keeper)
        : m_board(board), m_world(world), m_keeper(keeper)
    {
    }

    void BeforeFrame()
    {
        m_onBoard.clear();
        m_collected.clear();
        for (const auto& cell : m_board.GetCells()) {
            if (const Item* item = m_board.GetItem(cell.get()))
                m_onBoard[item] = cell.get();
        }
        for (const auto& group : m_board.GetDestructionGroups()) {
            for (const DestructionGroup::Entry& entry : group->cells)
                m_collected.insert({entry.cell, entry.item});
        }
        m_released = m_world.m_released.size();
        m_fills = Fills();
        m_decided = Decided();
        m_score = m_keeper.m_total;
        m_mana = m_board.GetManaProgress();
        m_energy = m_board.GetEnergyLeft();
    }

    void AfterFrame()
    {
        const bool decided = Decided();
        std::set<const Item*> seen;
        for (const auto& cell : m_board.GetCells()) {
            const Item* item = m_board.GetItem(cell.get());
            ASSERT_EQ(item != nullptr, !decided && !cell->m_closed) << "cell " << cell->m_cellIndex;
            if (item) {
                ASSERT_TRUE(seen.insert(item).second) << "a butterfly on two cells";
                const Motion motion = m_world.GetMotion(*item);
                ASSERT_TRUE(motion != Motion::Free && motion != Motion::Leaving && motion != Motion::Gone);
            }
        }
        // Only the butterflies a group collected leave their cells, unless the board was filled anew or the
        // level ended.
        if (!decided && Fills() == m_fills) {
            for (std::size_t i = m_released; i < m_world.m_released.size(); ++i) {
                const auto found = m_onBoard.find(m_world.m_released[i]);
                if (found != m_onBoard.end()) {
                    ASSERT_EQ(m_collected.count({found->second, found->first}), 1u) << "an uncollected butterfly";
                }
            }
        }
        if (m_board.GetRemovedCount() > 0 && m_board.GetDestructionGroups().empty()) {
            std::vector<Chain> chains;
            m_board.FindChains(chains, 3);
            ASSERT_TRUE(chains.empty()) << "a match stands after a removing pass";
        }
        ASSERT_GE(m_keeper.m_total, m_score);
        ASSERT_GE(m_board.GetManaProgress(), m_mana);
        ASSERT_LE(m_board.GetEnergyLeft(), m_energy);
        ASSERT_FALSE(m_decided && !decided);
    }

    bool Decided() const { return m_board.IsLevelWon() || m_board.IsOutOfEnergy(); }

private:
    std::size_t Fills() const
    {
        return std::count(m_world.m_sounds.begin(), m_world.m_sounds.end(), BoardWorld::kSoundLevelBegin);
    }

    Board& m_board;
    ScriptedBoardWorld& m_world;
    const GameFramework::ScoreKeeper& m_keeper;
    std::map<const Item*, const Cell*> m_onBoard;
    std::set<std::pair<const Cell*, const Item*>> m_collected;
    std::size_t m_released = 0;
    std::size_t m_fills = 0;
    bool m_decided = false;
    std::uint32_t m_score = 0;
    std::uint32_t m_mana = 0;
    std::uint32_t m_energy = 0;
};

} // namespace

TEST(BoardScriptedGame, FiveThousandSwapAttemptsKeepEveryRule)
{
    constexpr std::uint32_t kSeed = 2024;
    constexpr std::uint32_t kAttempts = 5000;
    KeystrelEngine::RandomSeed = kSeed;
    ScriptedBoardWorld world(kSeed, 3);
    TestSupport::ScriptedPlayer player(kSeed);
    std::uint32_t attempts = 0;
    std::map<std::pair<bool, bool>, int> outcomes; // (relax, won) -> levels
    for (std::uint32_t level = 0; attempts < kAttempts; ++level) {
        GameFramework::ScoreKeeper keeper;
        const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
        for (std::uint32_t event = 0; event < 7; ++event)
            keeper.SetPoints(event, table[event]);
        const bool relax = level % 3 == 2;
        Board board(world, TestSupport::MakeHexagonLevel(0.5f + 0.5f * (level % 3), relax), keeper);
        ScriptedGame game(board, world, keeper);
        while (!game.Decided()) {
            SCOPED_TRACE(testing::Message()
                         << "seed " << kSeed << ", level " << level << ", swap attempt " << attempts);
            game.BeforeFrame();
            attempts += player.PlayFrame(board, world);
            game.AfterFrame();
            if (testing::Test::HasFatalFailure())
                return;
        }
        ++outcomes[{relax, board.IsLevelWon()}];
        // The level ends once every butterfly has flown away; nothing comes back.
        for (int frame = 0; frame < 100 && world.AnyBusy(); ++frame) {
            board.Update(nullptr, false, false);
            world.Step();
        }
        ASSERT_FALSE(world.AnyBusy()) << "seed " << kSeed << ", level " << level;
        for (std::uint32_t i = 0; i < board.GetCells().size(); ++i)
            ASSERT_EQ(board.GetItemAt(i), nullptr);
    }
    EXPECT_GT((outcomes[{false, true}]), 0);
    EXPECT_GT((outcomes[{false, false}]), 0);
    EXPECT_GT((outcomes[{true, true}]), 0);
    EXPECT_EQ((outcomes[{true, false}]), 0);
}
