#include "framework/GameLogicBase.h"

#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "framework/LevelManagerBase.h"
#include "framework/ScoreKeeper.h"
#include "platform/testing.h"
#include "tests/framework/FakeClock.h"
#include "tests/framework/WindowBaseFixture.h"

#include <algorithm>

using GameFramework::GameLogicBase;

namespace {

class GameLogicBaseTest : public FrameworkTesting::WindowBaseFixture
{
protected:
    std::unique_ptr<GameLogicBase> Create(std::uint32_t stage, std::uint32_t level)
    {
        this->level.id = {stage, level};
        return std::make_unique<GameLogicBase>(engine.get(), player.get(), 7, &this->stage, &this->level);
    }

    std::size_t TimerCount() const
    {
        const auto& slots = engine->m_timers->GetSlots();
        return static_cast<std::size_t>(std::count_if(slots.begin(), slots.end(), [](auto* t) { return t; }));
    }

    FrameworkTesting::FakeClock clock; // from here on, so the level's clock is read on it
    GameFramework::StageRecord stage;
    GameFramework::LevelRecord level;
};

TEST_F(GameLogicBaseTest, LogsTheLevelAndHoldsAStandingClockUntilItIsDestroyed)
{
    const std::size_t before = TimerCount();
    engine->m_log->ClearHistory();
    auto logic = Create(0, 0);
    const auto& history = engine->m_log->m_history;
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].text, "\n");
    EXPECT_EQ(history[1].text, "Loading level 1-1...\n");
    EXPECT_EQ(Create(2, 11)->GetCarriedValue(), 7u);
    EXPECT_EQ(history.back().text, "Loading level 3-12...\n");

    EXPECT_EQ(TimerCount(), before + 1);
    const auto& slots = engine->m_timers->GetSlots();
    EXPECT_NE(std::find(slots.begin(), slots.end(), logic->GetTimer()), slots.end());
    PlatformTesting::AdvanceFakeClock(2.5);
    EXPECT_EQ(logic->GetTimer()->GetTime(), 0.0f);
    EXPECT_EQ(logic->GetScoreKeeper()->m_total, 0u);
    EXPECT_EQ(logic->GetStage(), &stage);
    EXPECT_EQ(logic->GetLevel(), &level);
    EXPECT_EQ(logic->GetState(), GameLogicBase::LevelPlaying);
    EXPECT_FALSE(logic->IsChanged());

    logic.reset();
    EXPECT_EQ(TimerCount(), before);
}

TEST_F(GameLogicBaseTest, ChangedIsSetByADifferentStateOnlyAndStaysUntilCleared)
{
    auto logic = Create(0, 0);
    logic->SetState(GameLogicBase::LevelWon);
    EXPECT_TRUE(logic->IsChanged());
    logic->ClearChanged();
    logic->SetState(GameLogicBase::LevelWon);
    EXPECT_FALSE(logic->IsChanged()) << "the same state again reports nothing";

    logic->SetState(GameLogicBase::LevelPaused);
    logic->SetState(GameLogicBase::LevelPlaying);
    EXPECT_TRUE(logic->IsChanged());
    EXPECT_EQ(logic->GetState(), GameLogicBase::LevelPlaying);
}

} // namespace
