// A level played as one object over the real objects on the recording device: made from its loaded data and the
// shared lists, run frame by frame on the fake clock with the cursor and the left button injected on the board's
// possible moves until it is won or out of energy, and deleted leaving the engine's registries as it found them.
#include "tests/game/app/LevelFixture.h"
#include "tests/game/app/LevelSession.h"

#include "engine/foundation/Random.h"
#include "engine/foundation/Timer.h"
#include "engine/render/Model.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/CameraControl.h"
#include "game/play/ItemManager.h"
#include "game/play/Tutorial.h"
#include "tools/content/world/LevelGenerator.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using GameFramework::GameLogicBase;
using Wispfold::GameLogic;

// Fifteen cells, three of them with one mana layer.
const std::vector<std::string> kGlade = {".1.o.", "o.o.o", ".o.o.", "o.o.1", ".o.o.", "1.o.o"};
// Thirty-two cells, two of them with one mana layer.
const std::vector<std::string> kMeadow = {"o.o.o.o", ".o.o.o.", "o.o.o.o", ".o.1.o.", "o.o.o.o",
                                          ".o.1.o.", "o.o.o.o", ".o.o.o.", "o.o.o.o"};

using Cells = std::vector<const Wispfold::Cell*>;

// The cells of the move and of the lines it would make.
Cells Reach(const Wispfold::Board& board, std::uint32_t pair)
{
    Cells cells = TestSupport::BoardSolver::CellsOfSwap(board, pair);
    cells.push_back(board.GetMoveFirstCell(pair));
    cells.push_back(board.GetMoveSecondCell(pair));
    return cells;
}

// No cell of the one is or touches a cell of the other.
bool Apart(const Wispfold::Board& board, const Cells& one, const Cells& other)
{
    for (const Wispfold::Cell* a : one)
        for (const Wispfold::Cell* b : other)
            for (Wispfold::HexDirection direction = 0; direction < 6; ++direction)
                if (a == b || board.GetNeighbour(a, direction) == b)
                    return false;
    return true;
}

// The generated catalogue's first level unless a test writes its own.
class GameLogicTest : public AppTesting::LevelFixture
{
protected:
    // Runs the level until its camera has flown in and its board has settled, then takes two of the listed moves
    // whose cells and lines lie apart: the cells of each move's lines, then its two cells. Empty when none.
    std::pair<Cells, Cells> SettleWithTwoMovesApart()
    {
        const Wispfold::Board& board = logic->GetBoard();
        for (int frame = 0; frame < 100 && !(TestSupport::BoardSolver::IsSettled(board) &&
                                             logic->GetCameraControl().GetTransitionTimer() >= 1.0f);
             ++frame)
            Play(nullptr, false);
        // A listed pair may hold one colour twice, which is no swap.
        const auto swaps = [&board](std::uint32_t pair) {
            return board.GetItem(board.GetMoveFirstCell(pair))->m_colour !=
                   board.GetItem(board.GetMoveSecondCell(pair))->m_colour;
        };
        for (std::uint32_t a = 0; a < board.GetMoveCount(); ++a)
            for (std::uint32_t b = 0; b < board.GetMoveCount(); ++b)
                if (swaps(a) && swaps(b) && Apart(board, Reach(board, a), Reach(board, b)))
                    return {Reach(board, a), Reach(board, b)};
        return {};
    }
};

TEST_F(GameLogicTest, TheFirstLevelIsMadeFromItsDataAndLeavesTheRegistriesAsFound)
{
    const std::uint32_t models = engine->m_models->GetRegistry().GetLiveCount();
    const std::uint32_t systems = engine->m_particleSystems->GetRegistry().GetLiveCount();
    const std::uint32_t windows = engine->m_gui->m_windows.GetLiveCount();
    ASSERT_FALSE(levelData->GetLevelData().cellRecords.empty());

    Start();
    EXPECT_EQ(logic->GetState(), GameLogicBase::LevelPlaying);
    EXPECT_EQ(logic->GetCarriedValue(), 7u);
    EXPECT_FALSE(logic->GetTimer()->IsPaused());
    EXPECT_EQ(character->GetState(), Wispfold::Character::kStateLevel);
    EXPECT_EQ(logic->GetBoard().GetCells().size(), levelData->GetLevelData().cellRecords.size());
    EXPECT_FALSE(logic->IsRelaxMode());
    const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
    for (std::uint32_t event = 0; event < 7; ++event)
        EXPECT_EQ(logic->GetScoreKeeper()->GetPoints(event), table[event]) << "event " << event;
    EXPECT_GT(engine->m_models->GetRegistry().GetLiveCount(), models);
    // The intro flight starts from its beginning and runs at 0.45 a second.
    const Wispfold::CameraControl& camera = logic->GetCameraControl();
    EXPECT_EQ(camera.GetTransitionTimer(), 0.0f);
    EXPECT_FALSE(camera.IsEnding());
    Play(nullptr, false);
    EXPECT_NEAR(camera.GetTransitionTimer(), 0.45f * kFrame, 1e-5f);

    for (int frame = 1; frame < 40; ++frame)
        Play(nullptr, false);
    EXPECT_EQ(logic->GetState(), GameLogicBase::LevelPlaying);
    EXPECT_GT(logic->GetHintTimer(), 0.0f);

    logic.reset();
    EXPECT_EQ(engine->m_models->GetRegistry().GetLiveCount(), models);
    EXPECT_EQ(engine->m_particleSystems->GetRegistry().GetLiveCount(), systems);
    EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount(), windows);
}

// Budgets of one swap and of the level as made: the state changes once, to 3 when out of energy, to 2 when won,
// and only when no butterfly is out of the pool any more. Every removal restarts the hint's wait: each lands in a
// frame without input, once the swapped or refilled butterflies have come to rest.
TEST_F(GameLogicTest, SwappingEndsTheLevelOnceItsButterfliesAreBack)
{
    KeystrelEngine::RandomSeed = 11;
    const float madeFactor = level->levelFactor;
    for (const float factor : {0.1f, madeFactor}) {
        level->levelFactor = factor;
        LoadLevel();
        Start();
        if (factor != madeFactor) {
            ASSERT_EQ(logic->GetBoard().GetEnergyBudget(), 1u);
        }
        const Run run = PlayToTheEnd(6000);
        const Wispfold::Board& board = logic->GetBoard();
        ASSERT_LT(run.frames, 6000) << "mana " << board.GetManaProgress() << " of " << board.GetManaTarget()
                                    << ", energy " << board.GetEnergyLeft();
        EXPECT_TRUE(logic->IsChanged());
        EXPECT_FALSE(logic->GetItemManager().AnyItemBusy());
        EXPECT_GT(run.removals, 0);
        EXPECT_EQ(run.removalsWithTimer, 0);
        EXPECT_EQ(run.restingOffset, 0.0f) << "every swapped butterfly lands on its cell";
        if (board.IsLevelWon()) {
            EXPECT_EQ(logic->GetState(), GameLogicBase::LevelWon);
            EXPECT_TRUE(logic->GetCameraControl().IsEnding());
            EXPECT_GT(run.wonWhileBusy, 0) << "the released butterflies fly away first";
        } else {
            EXPECT_TRUE(board.IsOutOfEnergy());
            EXPECT_EQ(logic->GetState(), GameLogicBase::LevelLost);
        }
        EXPECT_TRUE(factor == madeFactor || !board.IsLevelWon()) << "one swap does not win the level";
        // A decided level stays where it ended.
        const GameLogicBase::LevelState state = logic->GetState();
        for (int frame = 0; frame < 20; ++frame)
            Play(nullptr, false);
        EXPECT_EQ(logic->GetState(), state);
        logic.reset();
    }
}

// The hint comes 14 s after the last removal when a pair exists, never on a board without pairs; a paused level
// (state 1) only moves its texts; the profile's relax flag (game flag 0) reaches the board.
TEST_F(GameLogicTest, HintPauseAndRelaxMode)
{
    profile->SetFlag(Wispfold::Profile::RelaxMode, true);
    Start();
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

    logic->SetState(GameLogicBase::LevelPaused);
    const float hint = logic->GetHintTimer();
    const float camera = logic->GetCameraControl().GetTransitionTimer();
    for (int frame = 0; frame < 20; ++frame)
        Play(nullptr, false);
    EXPECT_EQ(logic->GetHintTimer(), hint);
    EXPECT_EQ(logic->GetCameraControl().GetTransitionTimer(), camera);
    logic->SetState(GameLogicBase::LevelPlaying);
    Play(nullptr, false);
    EXPECT_GT(logic->GetHintTimer(), hint);

    // Two cells make no pair however the board refills them: the wait runs on without a hint.
    logic.reset();
    WriteLevel({".1", "1."}, 1.0f);
    LoadLevel();
    Start();
    for (int frame = 0; frame < 200; ++frame)
        Play(nullptr, false);
    EXPECT_EQ(logic->GetBoard().GetMoveCount(), 0u);
    EXPECT_NEAR(logic->GetHintTimer(), 200 * kFrame, 0.01f);

    // On this board and seed the refills make new rows more than once: such cascades remove butterflies without
    // input, and every removal restarts the wait.
    logic.reset();
    KeystrelEngine::RandomSeed = 3;
    WriteLevel({".1.1.", "1.1.1", ".1.1.", "1.1.1", ".1.1.", "1.1.1", ".1.1.", "1.1.1"}, 1.0f);
    LoadLevel();
    Start();
    const Run run = PlayToTheEnd(1000);
    EXPECT_GT(run.cascades, 0);
    EXPECT_EQ(run.removalsWithTimer, 0);
}

// The guide's phrases of a level's beginning and of the make-swap topic, one short line each.
std::string LevelTexts()
{
    std::string table = "[CHARACTER_LEVEL_BEGIN_SIZE]\r\n1\r\n[CHARACTER_LEVEL_BEGIN_0]\r\nHello!\r\n";
    for (int phrase = 0; phrase < 8; ++phrase) {
        const std::string key = "CHARACTER_TUTORIAL_MAKE_SWAP_" + std::to_string(phrase);
        table += "[" + key + "_SIZE]\r\n1\r\n[" + key + "_0]\r\nSwap " + std::to_string(phrase) + "\r\n";
    }
    return table;
}

// A level written by the test from its catalogue entry to its ground, played with the mouse: with its own budget
// the make-swap topic runs first (the player follows the tip and listens to the end, which clears the topic's
// flag in the saved profile), then the level is played until it is won; with a budget of one swap it is lost.
TEST_F(GameLogicTest, AWrittenLevelIsPlayedByMouseToItsEnd)
{
    AppTesting::ReplaceDataFile("ui\\texts\\en\\level.ini", LevelTexts());
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\level.ini");
    KeystrelEngine::RandomSeed = 6;
    for (const float factor : {4.0f, 0.5f}) {
        WriteLevel(kGlade, factor);
        LoadLevel();
        ASSERT_EQ(levelData->GetEnvironmentModels().size(), 1u);
        profile->SetTutorialHintPending(0, true);
        profile->Save();
        Start();
        const Wispfold::Board& board = logic->GetBoard();
        ASSERT_EQ(board.GetCells().size(), 15u);
        ASSERT_EQ(board.GetManaTarget(), 3u);
        if (factor < 1.0f) {
            ASSERT_EQ(board.GetEnergyBudget(), 1u);
            ASSERT_LT(PlayToTheEnd(1000).frames, 1000);
            EXPECT_EQ(logic->GetState(), GameLogicBase::LevelLost);
            EXPECT_EQ(board.GetEnergyLeft(), 0u);
            EXPECT_EQ(SavedFlag(*profile, 4), 1) << "a lost level keeps the topic for later";
            logic.reset();
            continue;
        }
        const Wispfold::Tutorial& tutorial = logic->GetTutorial();
        Play(nullptr, false);
        EXPECT_EQ(tutorial.GetTopic(), Wispfold::Tutorial::kMakeSwap);
        int frames = 0;
        for (; frames < 1500 && tutorial.GetTopic() != Wispfold::Tutorial::kNoTopic; ++frames) {
            if (tutorial.GetStep() == 5 && TestSupport::BoardSolver::IsSettled(board) && board.GetMoveCount() > 0)
                Swap(board.GetMoveCount() - 1);
            else
                Play(nullptr, false);
        }
        ASSERT_LT(frames, 1500) << "step " << tutorial.GetStep();
        EXPECT_EQ(logic->GetState(), GameLogicBase::LevelPlaying);
        EXPECT_FALSE(profile->IsTutorialHintPending(0));
        EXPECT_EQ(SavedFlag(*profile, 4), 0);
        EXPECT_GT(board.GetEnergyLeft(), 0u);

        ASSERT_LT(PlayToTheEnd(3000).frames, 3000) << "mana " << board.GetManaProgress();
        EXPECT_EQ(logic->GetState(), GameLogicBase::LevelWon);
        EXPECT_TRUE(board.IsLevelWon());
        logic.reset();
    }
}

// The swap that follows the make-swap tip wins the level: from the board's decision on, the guide's level-end
// phrase is the one shown and the tip is gone, through the butterflies' flight away until the level ends.
TEST_F(GameLogicTest, AWinDuringATopicKeepsTheEndPhraseAndHidesTheTip)
{
    AppTesting::ReplaceDataFile("ui\\texts\\en\\level.ini", LevelTexts());
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\level.ini");
    SetPhrase("CHARACTER_LEVEL_END", {u"Home!"}, "1");
    KeystrelEngine::RandomSeed = 5;
    WriteLevel(kGlade, 4.0f);
    LoadLevel();
    profile->SetTutorialHintPending(0, true);
    profile->Save();
    Start();
    Wispfold::Board& board = logic->GetBoard();
    const Wispfold::Tutorial& tutorial = logic->GetTutorial();
    for (int frame = 0; frame < 1500 && (tutorial.GetStep() != 5 || !TestSupport::BoardSolver::IsSettled(board));
         ++frame)
        Play(nullptr, false);
    ASSERT_EQ(tutorial.GetStep(), 5u);
    // A layer on every cell: the swap's first removal fills the level's three.
    for (const auto& cell : board.GetCells())
        cell->m_kind = 1;
    Swap(board.GetMoveCount() - 1);
    int endShown = 0;
    for (int frame = 0; frame < 1000 && logic->GetState() == GameLogicBase::LevelPlaying; ++frame) {
        Play(nullptr, false);
        if (!board.IsLevelWon())
            continue;
        const std::u16string said = character->IsSilent() ? u"" : character->GetPrinter(0, 0).GetShownText();
        EXPECT_TRUE(std::u16string_view(u"Home!").starts_with(said)) << frame;
        EXPECT_FALSE(tutorial.GetTip().m_flags & KeystrelEngine::Model::kShown) << frame;
        endShown += said == u"Home!" ? 1 : 0;
    }
    EXPECT_EQ(logic->GetState(), GameLogicBase::LevelWon);
    EXPECT_GT(endShown, 0);
}

// The level's last two units spent in one go, the second swap made while the first one's butterflies still fly.
// The level waits for the second swap: its butterflies land on their new cells and its line charges its mana. With
// both layers of the board moved onto that line the level is won; with one of them moved away from both swaps it
// is lost, once that line has been counted.
TEST_F(GameLogicTest, TheLastSwapMadeWhileTheOneBeforeStillFliesIsCounted)
{
    WriteLevel(kMeadow, 1.5f);
    LoadLevel();
    for (const bool completes : {true, false}) {
        SCOPED_TRACE(completes ? "completing" : "not completing");
        // The first seed whose settled board lists two moves apart from each other.
        Cells first, last;
        for (std::uint32_t seed = 1; seed <= 20 && last.empty(); ++seed) {
            KeystrelEngine::RandomSeed = seed;
            logic.reset();
            Start();
            std::tie(first, last) = SettleWithTwoMovesApart();
        }
        ASSERT_FALSE(last.empty()) << "two moves apart";
        Wispfold::Board& board = logic->GetBoard();
        ASSERT_EQ(board.GetEnergyBudget(), 2u);
        for (const auto& cell : board.GetCells())
            cell->m_kind = 0;
        const auto elsewhere = std::find_if(board.GetCells().begin(), board.GetCells().end(), [&](const auto& cell) {
            return Apart(board, {cell.get()}, first) && Apart(board, {cell.get()}, last);
        });
        ASSERT_NE(elsewhere, board.GetCells().end());
        for (const Wispfold::Cell* layered : {last[0], completes ? last[1] : elsewhere->get()})
            board.GetCells()[layered->m_cellIndex]->m_kind = 1;

        for (const Cells& move : {first, last}) {
            for (const Wispfold::Cell* cell : {move[move.size() - 2], move.back()}) {
                Play(cell, true);
                Play(cell, false);
            }
        }
        EXPECT_EQ(board.GetEnergyLeft(), 0u);
        EXPECT_TRUE(board.GetItem(first.back())->IsInFlight()) << "the first swap still flies";
        const std::vector<const Wispfold::Item*> lastItems{board.GetItem(last[last.size() - 2]),
                                                           board.GetItem(last.back())};
        std::vector<bool> landed(2, false);
        for (int frame = 0; frame < 400 && logic->GetState() == GameLogicBase::LevelPlaying; ++frame) {
            Play(nullptr, false);
            for (std::size_t i = 0; i < 2; ++i) {
                const Wispfold::Item* item = board.GetItem(last[last.size() - 2 + i]);
                landed[i] = landed[i] || (item == lastItems[i] && item->IsAtRest());
            }
        }
        EXPECT_EQ(logic->GetState(), completes ? GameLogicBase::LevelWon : GameLogicBase::LevelLost);
        EXPECT_EQ(landed, std::vector<bool>(2, true)) << "the last swap's butterflies landed";
        EXPECT_EQ(board.GetManaProgress(), completes ? 2u : 1u);
    }
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
        GameLogicBase::LevelState state;
    };
    for (const Case& c :
         {Case{{0, 0}, Aim::Win, GameLogicBase::LevelWon}, Case{{0, 1}, Aim::Lose, GameLogicBase::LevelLost}}) {
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

// Every level of the generated catalogue, with every tutorial topic pending: its data load, its board, environment,
// camera and tutorial are made and run for a few seconds; the camera holds the whole board in view, the log holds
// no warning or error, neither of the shared data nor of the level's own files, and (on the first level) the
// tutorial's first phrase is in the character's text table.
TEST_F(GameLogicTest, EveryLevelOfTheCatalogueRunsOnTheGeneratedDataWithoutWarnings)
{
    // The first line of the shown bubble as typed so far; the text table shows a missing key as "UNKNOWN".
    const auto saysKnownText = [&] {
        for (std::uint32_t bubble = 0; bubble < Wispfold::kBubbleCount; ++bubble) {
            if (character->GetBubble(bubble)->GetFlags() & KeystrelEngine::GUIWindow::kShown) {
                const std::u16string& shown = character->GetPrinter(bubble, 0).GetShownText();
                return !shown.empty() && !std::u16string_view(u"UNKNOWN").starts_with(shown);
            }
        }
        return false;
    };
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\character.ini");
    std::size_t played = 0;
    for (std::uint32_t stage = 0; stage < levels->GetStageCount(); ++stage) {
        for (const auto& record : levels->GetStageLevels(stage)) {
            SCOPED_TRACE(static_cast<Wispfold::LevelRecord&>(*record).boardName);
            for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
                profile->SetTutorialHintPending(hint, true);
            level = static_cast<Wispfold::LevelRecord*>(record.get());
            LoadLevel();
            ASSERT_FALSE(levelData->GetLevelData().cellRecords.empty());
            EXPECT_FALSE(levelData->GetEnvironmentModels().empty());
            Start();
            EXPECT_EQ(logic->GetBoard().GetCells().size(), levelData->GetLevelData().cellRecords.size());
            // The camera's intro flight takes 2.2 s; the first level runs on until its first topic speaks, after 7 s.
            for (int frame = 0; frame < (played == 0 ? 80 : 25); ++frame)
                Play(nullptr, false);
            EXPECT_EQ(logic->GetState(), GameLogicBase::LevelPlaying);
            // The camera file frames the board within the screen.
            for (const auto& cell : logic->GetBoard().GetCells()) {
                const Wispfold::ScreenPosition point = logic->GetScene().GetScreenPosition(*cell);
                EXPECT_TRUE(point.x > 0.0f && point.x < 800.0f && point.y > 0.0f && point.y < 600.0f)
                    << "cell " << cell->m_cellIndex << " at " << point.x << ", " << point.y;
            }
            EXPECT_NE(logic->GetTutorial().GetTopic(), Wispfold::Tutorial::kNoTopic);
            EXPECT_TRUE(played > 0 || saysKnownText());
            KeepProblems();
            EXPECT_EQ(problems, std::vector<std::string>{});
            problems.clear();
            logic.reset();
            ++played;
        }
    }
    std::size_t designed = 0;
    for (const Content::StageDesign& design : Content::LevelGenerator::Stages())
        designed += design.levels.size();
    EXPECT_EQ(played, designed);
}

} // namespace
