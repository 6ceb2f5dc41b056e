// A level of the generated catalogue played as one object over the real objects on the recording device: made from
// its loaded data and the shared lists, run frame by frame on the fake clock with the GUI cursor and "MOUSE1" on
// the board's possible moves until it is won or out of energy, and deleted leaving the engine's registries as it
// found them.
#include "tests/game/app/CharacterFixture.h"
#include "tests/game/app/LevelResources.h"
#include "tests/game/play/support/BoardSolver.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Timer.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "framework/ScoreKeeper.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/app/ProfileTutorialFlags.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/CameraControl.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/play/Item.h"
#include "game/play/ItemManager.h"

#include <functional>
#include <optional>

namespace {

using Wispfold::GameLogic;

class GameLogicTest : public AppTesting::CharacterFixture
{
protected:
    // The longest frame the timers allow: the level's flights take the fewest frames.
    static constexpr float kFrame = 0.1f;

    void SetUp() override
    {
        CharacterFixture::SetUp();
        KeystrelEngine::Config& config = *engine->m_config;
        config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &m_cameraType, false);
        config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &m_cameraValue, false);
        profile = static_cast<Wispfold::Profile*>(profiles->AddProfile(u"Tess"));
        profiles->m_current = profile;
        for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
            profile->SetTutorialHintPending(hint, false);
        flags = std::make_unique<Wispfold::ProfileTutorialFlags>(engine->m_log.get(), *profiles);
        level = static_cast<Wispfold::LevelRecord*>(levels->GetLevel({0, 0}));
        LoadLevel();
        shared.audio = player.get();
        AppTesting::FillLevelResources(*data, shared.play, shared.cells);
        shared.tutorialTip = data->GetModel("game_objects\\cell\\cell_tip.mlf");
        shared.tutorialFlags = flags.get();
        shared.character = character.get();
    }

    void TearDown() override
    {
        logic.reset();
        levelData.reset();
        engine->m_config->UnregisterVariable("g_camera_type");
        engine->m_config->UnregisterVariable("g_camera_value");
        CharacterFixture::TearDown();
    }

    void LoadLevel()
    {
        levelData = std::make_unique<Wispfold::GameLogicData>(KeeperServices(), &levels->GetStage(0), level);
        levelData->Load();
    }

    void Start(bool relaxMode = false)
    {
        shared.relaxMode = relaxMode;
        logic = std::make_unique<GameLogic>(*engine, shared, *levelData, &levels->GetStage(0), level, 7);
    }

    // One frame of the level with the GUI cursor on the cell (none: off the board) and the button as given.
    void Play(const Wispfold::Cell* at, bool held)
    {
        LevelFrame([&] {
            KeystrelEngine::GUICursor& cursor = engine->m_gui->m_defaultCursor;
            const Wispfold::ScreenPosition point =
                at ? logic->GetScene().GetScreenPosition(*at) : Wispfold::ScreenPosition{-50.0f, -50.0f};
            cursor.m_x = point.x;
            cursor.m_y = point.y;
            engine->m_controls->SetKeyState("MOUSE1", held);
        });
    }

    // One frame of the level; the input, when given, is set after the engine has read the devices.
    void LevelFrame(const std::function<void()>& input = {})
    {
        PlatformTesting::AdvanceFakeClock(kFrame);
        engine->Update();
        engine->m_timers->m_frameTime = kFrame;
        if (input)
            input();
        logic->Update();
        character->Update();
        engine->EndFrame();
    }

    // The first possible move whose cells are neither closed nor blocked.
    std::optional<std::uint32_t> UsableMove() const
    {
        const Wispfold::Board& board = logic->GetBoard();
        for (std::uint32_t pair = 0; pair < board.GetMoveCount(); ++pair) {
            const Wispfold::Cell* first = board.GetMoveFirstCell(pair);
            const Wispfold::Cell* second = board.GetMoveSecondCell(pair);
            if (!first->m_blocked && !first->m_closed && !second->m_blocked && !second->m_closed)
                return pair;
        }
        return std::nullopt;
    }

    // A press and a release on each cell of the move; the frames it took.
    int Swap(std::uint32_t pair)
    {
        const Wispfold::Board& board = logic->GetBoard();
        for (const Wispfold::Cell* cell : {board.GetMoveFirstCell(pair), board.GetMoveSecondCell(pair)}) {
            Play(cell, true);
            Play(cell, false);
        }
        return 4;
    }

    // Plays until the state leaves 0; the frames it took, or the limit when it never did.
    int PlayToTheEnd(int limit)
    {
        int frames = 0;
        while (frames < limit && logic->GetState() == 0) {
            const std::optional<std::uint32_t> move =
                TestSupport::BoardSolver::IsSettled(logic->GetBoard()) ? UsableMove() : std::nullopt;
            if (move) {
                frames += Swap(*move);
            } else {
                Play(nullptr, false);
                ++frames;
            }
        }
        return frames;
    }

    std::int32_t m_cameraType = 1;
    float m_cameraValue = 1.0f;
    Wispfold::Profile* profile = nullptr;
    std::unique_ptr<Wispfold::ProfileTutorialFlags> flags;
    Wispfold::LevelRecord* level = nullptr;
    std::unique_ptr<Wispfold::GameLogicData> levelData;
    Wispfold::GameLogicShared shared;
    std::unique_ptr<GameLogic> logic;
};

TEST_F(GameLogicTest, TheFirstLevelIsMadeFromItsDataAndLeavesTheRegistriesAsFound)
{
    const std::uint32_t models = engine->m_models->GetRegistry().GetLiveCount();
    const std::uint32_t systems = engine->m_particleSystems->GetRegistry().GetLiveCount();
    const std::uint32_t windows = engine->m_gui->m_windows.GetLiveCount();
    ASSERT_FALSE(levelData->GetLevelData().cellRecords.empty());

    Start();
    EXPECT_EQ(logic->GetState(), 0u);
    EXPECT_EQ(logic->GetCarriedValue(), 7u);
    EXPECT_FALSE(logic->GetTimer()->IsPaused());
    EXPECT_EQ(character->GetState(), Wispfold::Character::kStateLevel);
    EXPECT_EQ(logic->GetBoard().GetCells().size(), levelData->GetLevelData().cellRecords.size());
    EXPECT_FALSE(logic->IsRelaxMode());
    const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
    for (std::uint32_t event = 0; event < 7; ++event)
        EXPECT_EQ(logic->GetScoreKeeper()->GetPoints(event), table[event]) << "event " << event;
    EXPECT_GT(engine->m_models->GetRegistry().GetLiveCount(), models);

    for (int frame = 0; frame < 40; ++frame)
        Play(nullptr, false);
    EXPECT_EQ(logic->GetState(), 0u);
    EXPECT_GT(logic->GetHintTimer(), 0.0f);

    logic.reset();
    EXPECT_EQ(engine->m_models->GetRegistry().GetLiveCount(), models);
    EXPECT_EQ(engine->m_particleSystems->GetRegistry().GetLiveCount(), systems);
    EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount(), windows);
}

// Budgets of one swap and of the level as made: the state changes once, to 3 when out of energy, to 2 when won,
// and only when no butterfly is out of the pool any more.
TEST_F(GameLogicTest, SwappingEndsTheLevelOnceItsButterfliesAreBack)
{
    const float madeFactor = level->levelFactor;
    for (const float factor : {0.1f, madeFactor}) {
        level->levelFactor = factor;
        LoadLevel();
        Start();
        if (factor != madeFactor)
            ASSERT_EQ(logic->GetBoard().GetEnergyBudget(), 1u);
        const int frames = PlayToTheEnd(6000);
        const Wispfold::Board& board = logic->GetBoard();
        ASSERT_LT(frames, 6000) << "mana " << board.GetManaProgress() << " of " << board.GetManaTarget() << ", energy "
                                << board.GetEnergyLeft();
        EXPECT_TRUE(logic->IsChanged());
        EXPECT_FALSE(logic->GetItemManager().AnyItemBusy());
        if (board.IsLevelWon()) {
            EXPECT_EQ(logic->GetState(), 2u);
            EXPECT_TRUE(logic->GetCameraControl().IsEnding());
        } else {
            EXPECT_TRUE(board.IsOutOfEnergy());
            EXPECT_EQ(logic->GetState(), 3u);
        }
        EXPECT_TRUE(factor == madeFactor || !board.IsLevelWon()) << "one swap does not win the level";
        // A decided level stays where it ended.
        const std::uint32_t state = logic->GetState();
        for (int frame = 0; frame < 20; ++frame)
            Play(nullptr, false);
        EXPECT_EQ(logic->GetState(), state);
        logic.reset();
    }
}

} // namespace

// The hint comes 14 s after the last removal when a pair exists; a paused level (state 1) only moves its texts;
// the relax flag reaches the board.
TEST_F(GameLogicTest, HintPauseAndRelaxMode)
{
    Start(true);
    EXPECT_TRUE(logic->IsRelaxMode());
    EXPECT_TRUE(logic->GetBoard().IsRelaxMode());

    float last = -1.0f;
    int resetFrame = 0;
    for (int frame = 1; frame <= 400 && !resetFrame; ++frame) {
        last = logic->GetHintTimer();
        Play(nullptr, false);
        if (logic->GetHintTimer() < last)
            resetFrame = frame;
    }
    ASSERT_GT(logic->GetBoard().GetMoveCount(), 0u);
    EXPECT_GT(last, GameLogic::kHintDelay - kFrame - 0.001f);
    EXPECT_LE(last, GameLogic::kHintDelay + 0.001f);
    EXPECT_GE(resetFrame, 140) << "no removal happens without input";

    logic->SetState(1);
    const float hint = logic->GetHintTimer();
    const float camera = logic->GetCameraControl().GetTransitionTimer();
    for (int frame = 0; frame < 20; ++frame)
        Play(nullptr, false);
    EXPECT_EQ(logic->GetHintTimer(), hint);
    EXPECT_EQ(logic->GetCameraControl().GetTransitionTimer(), camera);
    logic->SetState(0);
    Play(nullptr, false);
    EXPECT_GT(logic->GetHintTimer(), hint);
}

// The solver plays through the window's mouse alone: it wins the first level and loses the second, each only
// once no butterfly is busy.
TEST_F(GameLogicTest, TheSolverWinsOrLosesALevelThroughTheMouse)
{
    using Aim = TestSupport::BoardSolver::Aim;
    struct Case
    {
        GameFramework::LevelId id;
        Aim aim;
        std::uint32_t state;
    };
    for (const Case& c : {Case{{0, 0}, Aim::Win, 2u}, Case{{0, 1}, Aim::Lose, 3u}}) {
        level = static_cast<Wispfold::LevelRecord*>(levels->GetLevel(c.id));
        LoadLevel();
        Start();
        TestSupport::BoardSolver solver(*engine, c.aim);
        int frames = 0;
        for (; frames < 6000 && !solver.Step(*logic); ++frames)
            LevelFrame();
        const Wispfold::Board& board = logic->GetBoard();
        ASSERT_LT(frames, 6000) << "mana " << board.GetManaProgress() << " of " << board.GetManaTarget();
        EXPECT_EQ(logic->GetState(), c.state)
            << "mana " << board.GetManaProgress() << " of " << board.GetManaTarget() << ", energy "
            << board.GetEnergyLeft() << " of " << board.GetEnergyBudget();
        EXPECT_FALSE(logic->GetItemManager().AnyItemBusy());
        logic.reset();
    }
}
