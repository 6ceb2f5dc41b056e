#include "tests/game/app/CharacterFixture.h"

#include "engine/foundation/Config.h"
#include "engine/render/BoundingBox.h"
#include "engine/render/Model.h"
#include "framework/GUITextPrinter.h"
#include "framework/ScoreKeeper.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/app/ProfileTutorialFlags.h"
#include "game/play/Board.h"
#include "game/play/CameraControl.h"
#include "game/play/CellPlacement.h"
#include "game/play/Tutorial.h"
#include "tests/game/play/support/HexagonLevel.h"
#include "tests/game/play/support/ScriptedBoardWorld.h"

#include <numbers>

namespace {

using KeystrelEngine::Matrix4;
using Wispfold::Tutorial;

// Each cell's model stands at ten times its grid coordinates.
class GridPlacement : public Wispfold::CellPlacement
{
public:
    KeystrelEngine::Matrix4 GetCellMatrix(const Wispfold::Cell& cell) const override
    {
        KeystrelEngine::Matrix4 matrix;
        matrix.MakeTranslation({10.0f * static_cast<float>(cell.m_x), 10.0f * static_cast<float>(cell.m_y), 0.0f});
        return matrix;
    }
};

const char* const kPhrases[] = {
    "CHARACTER_TUTORIAL_MAKE_SWAP_0",   "CHARACTER_TUTORIAL_MAKE_SWAP_1", "CHARACTER_TUTORIAL_MAKE_SWAP_2",
    "CHARACTER_TUTORIAL_MAKE_SWAP_3",   "CHARACTER_TUTORIAL_MAKE_SWAP_4", "CHARACTER_TUTORIAL_MAKE_SWAP_5",
    "CHARACTER_TUTORIAL_MAKE_SWAP_6",   "CHARACTER_TUTORIAL_MAKE_SWAP_7", "CHARACTER_TUTORIAL_CAMERA_0",
    "CHARACTER_TUTORIAL_CAMERA_1",      "CHARACTER_TUTORIAL_CAMERA_2",    "CHARACTER_TUTORIAL_DOUBLE_MANNA_0",
    "CHARACTER_TUTORIAL_CLOSED_CELL_0", "CHARACTER_TUTORIAL_WEB_ITEM_0",  "CHARACTER_LEVEL_BEGIN",
    "CHARACTER_TUTORIAL_BONUS0_0",      "CHARACTER_TUTORIAL_BONUS1_0",    "CHARACTER_TUTORIAL_BONUS2_0"};

class TutorialTest : public AppTesting::CharacterFixture
{
protected:
    static constexpr float kDt = 0.05f;

    void SetUp() override
    {
        CharacterFixture::SetUp();
        KeystrelEngine::Config& config = *engine->m_config;
        config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &m_cameraType, false);
        config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &m_cameraValue, false);
        AppTesting::ReplaceDataFile("data\\boards\\test_camera.ini", "300\n0\n150\n0\n170\n");
        for (const char* key : kPhrases)
            SetPhrase(key, {KeystrelEngine::ToWide(key)}, "1");
        profile = static_cast<Wispfold::Profile*>(profiles->AddProfile(u"Tess"));
        profiles->m_current = profile;
        flags = std::make_unique<Wispfold::ProfileTutorialFlags>(*profiles);
        const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
        for (std::uint32_t event = 0; event < 7; ++event)
            keeper.SetPoints(event, table[event]);
        record.cameraName = "test_camera";
        record.id = {0, 1};
    }

    void TearDown() override
    {
        tutorial.reset();
        camera.reset();
        board.reset();
        engine->m_config->UnregisterVariable("g_camera_type");
        engine->m_config->UnregisterVariable("g_camera_value");
        CharacterFixture::TearDown();
    }

    // Only the listed topics' flags stay set.
    void KeepTopics(std::initializer_list<std::size_t> hints)
    {
        for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
            profile->SetTutorialHintPending(hint, std::find(hints.begin(), hints.end(), hint) != hints.end());
        profile->Save();
    }

    void Start(const Wispfold::LevelData& level)
    {
        tutorial.reset(); // it leaves the old camera as it found it
        board = std::make_unique<Wispfold::Board>(world, level, keeper);
        world.LandAll();
        KeystrelEngine::BoundingBox box;
        box.Set({-100.0f, -100.0f, -5.0f}, {100.0f, 100.0f, 5.0f});
        camera = std::make_unique<Wispfold::CameraControl>(*engine, record, box);
        character->SetState(Wispfold::Character::kStateLevel);
        tutorial = std::make_unique<Tutorial>(*engine, *flags, *data->GetModel("game_objects\\cell\\cell_tip.mlf"),
                                              *character, *camera, *board, placement, record);
    }

    void Step(Wispfold::Cell* pressed = nullptr)
    {
        PlatformTesting::AdvanceFakeClock(kDt);
        engine->Update();
        engine->m_timers->m_frameTime = kDt;
        board->Update(pressed, pressed != nullptr, pressed != nullptr);
        world.LandAll();
        camera->Update();
        tutorial->Update();
        character->Update();
        engine->EndFrame();
    }

    template <class Condition> int StepsUntil(Condition condition, int limit = 2000)
    {
        for (int count = 1; count <= limit; ++count) {
            Step();
            if (condition())
                return count;
        }
        return limit + 1;
    }

    // The first line of the phrase being typed or shown, as far as it is typed.
    std::u16string Saying() const
    {
        return character->IsSilent() ? std::u16string() : character->GetPrinter(0, 0).GetShownText();
    }

    // The character starts the phrase within a few frames.
    void ExpectSaying(const std::string& key)
    {
        Step();
        Step();
        const std::u16string said = Saying();
        EXPECT_FALSE(said.empty()) << key;
        EXPECT_TRUE(KeystrelEngine::ToWide(key).starts_with(said)) << key;
    }

    bool TipShown() const { return tutorial->GetTip().m_flags & KeystrelEngine::Model::kShown; }

    std::int32_t m_cameraType = 1;
    float m_cameraValue = 1.0f;
    Wispfold::Profile* profile = nullptr;
    std::unique_ptr<Wispfold::ProfileTutorialFlags> flags;
    TestSupport::ScriptedBoardWorld world;
    GameFramework::ScoreKeeper keeper;
    Wispfold::LevelRecord record;
    GridPlacement placement;
    std::unique_ptr<Wispfold::Board> board;
    std::unique_ptr<Wispfold::CameraControl> camera;
    std::unique_ptr<Tutorial> tutorial;
};

TEST_F(TutorialTest, MakeSwapPointsAtAMoveAndIsShownOnce)
{
    KeepTopics({0});
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    Step();
    EXPECT_EQ(tutorial->GetTopic(), Tutorial::kMakeSwap);
    EXPECT_FALSE(character->IsPraiseEnabled());
    EXPECT_EQ(SavedFlag(*profile, 4), 1);
    const int waited = StepsUntil([&] { return tutorial->GetStep() == 1; });
    EXPECT_NEAR(waited * kDt, 7.0f, 2 * kDt);
    ExpectSaying(kPhrases[0]);
    StepsUntil([&] { return tutorial->GetStep() == 3; });
    ExpectSaying(kPhrases[1]);
    StepsUntil([&] { return tutorial->GetStep() == 5; });
    ExpectSaying(kPhrases[2]);

    // The tip stands on the last move's first cell, then on its partner once that cell is selected.
    const std::uint32_t last = board->GetMoveCount() - 1;
    ASSERT_GT(board->GetMoveCount(), 1u);
    Wispfold::Cell* first = board->GetMoveFirstCell(last);
    Wispfold::Cell* second = board->GetMoveSecondCell(last);
    EXPECT_TRUE(TipShown());
    EXPECT_TRUE(
        KeystrelEngine::Matrix4::Equals(tutorial->GetTip().GetOwnWorldMatrix(), placement.GetCellMatrix(*first)));
    Step(first);
    EXPECT_EQ(tutorial->GetStep(), 6u);
    EXPECT_TRUE(
        KeystrelEngine::Matrix4::Equals(tutorial->GetTip().GetOwnWorldMatrix(), placement.GetCellMatrix(*second)));
    ExpectSaying(kPhrases[3]);
    Step(second);
    EXPECT_LT(StepsUntil([&] { return tutorial->GetStep() == 7; }, 50), 50);
    ExpectSaying(kPhrases[4]);
    for (int phrase : {5, 6, 7}) {
        StepsUntil([&] { return tutorial->GetStep() == static_cast<std::uint32_t>(2 * phrase - 1); });
        EXPECT_FALSE(TipShown());
        ExpectSaying(kPhrases[phrase]);
    }
    // Finished: the flag is cleared and saved, and in the first frame without a topic praise is back on.
    StepsUntil([&] { return tutorial->GetTopic() == Tutorial::kNoTopic; });
    EXPECT_TRUE(character->IsPraiseEnabled());
    EXPECT_FALSE(profile->IsTutorialHintPending(0));
    EXPECT_EQ(SavedFlag(*profile, 4), 0);
    StepsUntil([] { return false; }, 200);
    EXPECT_EQ(tutorial->GetTopic(), Tutorial::kNoTopic);
}

// A chain before the first hint skips to the praise of the chain and the rest of the topic.
TEST_F(TutorialTest, EarlyChainSkipsToItsPraise)
{
    KeepTopics({0});
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    Step();
    Wispfold::Cell* first = board->GetMoveFirstCell(board->GetMoveCount() - 1);
    Wispfold::Cell* partner = board->GetMoveSecondCell(board->GetMoveCount() - 1);
    Step(first);
    Step();
    Step(partner);
    EXPECT_LT(StepsUntil([&] { return tutorial->GetStep() == 7; }, 50), 50);
    ExpectSaying(kPhrases[4]);
    EXPECT_FALSE(TipShown());
    StepsUntil([&] { return tutorial->GetTopic() == Tutorial::kNoTopic; });
    EXPECT_EQ(SavedFlag(*profile, 4), 0);
}

TEST_F(TutorialTest, CameraTopicTurnsTheBoardBothWaysAndSwitchesTheView)
{
    KeepTopics({7});
    record.id = {0, 0};
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    StepsUntil([] { return false; }, 200);
    EXPECT_EQ(tutorial->GetTopic(), Tutorial::kNoTopic); // never in a stage's first level
    EXPECT_TRUE(character->IsPraiseEnabled());

    record.id = {0, 1};
    tutorial.reset();
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    Step();
    EXPECT_EQ(tutorial->GetTopic(), Tutorial::kCamera);
    StepsUntil([&] { return tutorial->GetStep() == 1; });
    ExpectSaying(kPhrases[8]);
    float widest = 0.0f;
    StepsUntil([&] {
        widest = std::max(widest, camera->GetTurnBias());
        return tutorial->GetStep() == 2;
    });
    EXPECT_NEAR(widest, 2.0f * std::numbers::pi_v<float>, 2 * kDt);
    EXPECT_FLOAT_EQ(camera->GetTurnBias(), 0.0f);
    StepsUntil([&] { return tutorial->GetStep() == 4; });
    ExpectSaying(kPhrases[9]);
    float lowest = 0.0f;
    StepsUntil([&] {
        lowest = std::min(lowest, camera->GetTurnBias());
        return tutorial->GetStep() == 5;
    });
    EXPECT_NEAR(lowest, -2.0f * std::numbers::pi_v<float>, 2 * kDt);
    StepsUntil([&] { return tutorial->GetStep() == 7; });
    ExpectSaying(kPhrases[10]);
    StepsUntil([&] { return tutorial->GetStep() == 9; });
    EXPECT_EQ(camera->GetCameraType(), Wispfold::CameraControl::kTypeTop);
    EXPECT_EQ(engine->m_config->GetValue("g_camera_type"), "0");
    const int shown = StepsUntil([&] { return tutorial->GetStep() == 10; });
    EXPECT_NEAR(shown * kDt, 4.0f, 2 * kDt);
    EXPECT_EQ(camera->GetCameraType(), Wispfold::CameraControl::kTypeOblique);
    StepsUntil([&] { return tutorial->GetTopic() == Tutorial::kNoTopic; });
    EXPECT_EQ(SavedFlag(*profile, 11), 0);
}

// The last energy spent mid-turn or while the view is switched, or the level left then: the camera and the praise
// are as the player had them, and the topic waits for a later level.
TEST_F(TutorialTest, ADroppedCameraTopicGivesTheViewAndThePraiseBack)
{
    KeepTopics({7});
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    const float oneSwap = 1.5f / (0.76f * static_cast<float>(board->GetManaTarget()));
    for (const bool leave : {false, true}) {
        for (const std::uint32_t step : {1u, 9u}) {
            SCOPED_TRACE(testing::Message() << step << (leave ? " left" : " lost"));
            engine->m_config->SetValue("g_camera_type", "1");
            Start(TestSupport::MakeHexagonLevel(oneSwap, false));
            StepsUntil([&] { return tutorial->GetStep() == step && (step == 9 || camera->GetTurnBias() > 1.0f); });
            ASSERT_EQ(tutorial->GetTopic(), Tutorial::kCamera);
            const std::uint32_t last = board->GetMoveCount() - 1;
            Wispfold::Cell* second = board->GetMoveSecondCell(last);
            if (leave) {
                tutorial.reset();
            } else {
                Step(board->GetMoveFirstCell(last));
                Step(second); // spends the last energy
                EXPECT_EQ(tutorial->GetTopic(), Tutorial::kNoTopic);
            }
            EXPECT_FLOAT_EQ(camera->GetTurnBias(), 0.0f);
            EXPECT_EQ(engine->m_config->GetValue("g_camera_type"), "1");
            EXPECT_EQ(camera->GetCameraType(), Wispfold::CameraControl::kTypeOblique);
            EXPECT_TRUE(character->IsPraiseEnabled());
            EXPECT_EQ(SavedFlag(*profile, 11), 1);
        }
    }
}

TEST_F(TutorialTest, CellTopicsSpeakOnlyWhileTheirSubjectHolds)
{
    // A double mana cell: the phrase and the tip on the last such cell.
    KeepTopics({1});
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    Step();
    EXPECT_EQ(tutorial->GetTopic(), Tutorial::kDoubleMana);
    StepsUntil([&] { return tutorial->GetStep() == 1; });
    ExpectSaying(kPhrases[11]);
    EXPECT_TRUE(TipShown());
    const Wispfold::Cell* lastDouble = nullptr;
    for (const auto& cell : board->GetCells())
        lastDouble = cell->m_kind == 2 ? cell.get() : lastDouble;
    EXPECT_TRUE(
        KeystrelEngine::Matrix4::Equals(tutorial->GetTip().GetOwnWorldMatrix(), placement.GetCellMatrix(*lastDouble)));
    StepsUntil([&] { return tutorial->GetTopic() == Tutorial::kNoTopic; });
    EXPECT_EQ(SavedFlag(*profile, 5), 0);
    tutorial.reset();

    // A closed cell that opens before the hint: no phrase, yet the topic ends and its flag is cleared.
    KeepTopics({2});
    Start(TestSupport::MakeHexagonLevel(1.0f, false));
    Step();
    EXPECT_EQ(tutorial->GetTopic(), Tutorial::kClosedCell);
    for (const auto& cell : board->GetCells())
        cell->m_closed = false;
    const int ended = StepsUntil([&] {
        EXPECT_NE(Saying(), KeystrelEngine::ToWide(kPhrases[12]));
        return tutorial->GetTopic() == Tutorial::kNoTopic;
    });
    EXPECT_NEAR(ended * kDt, 8.0f, 3 * kDt);
    EXPECT_EQ(SavedFlag(*profile, 6), 0);
    tutorial.reset();

    // A level out of energy drops every topic and keeps its flag; in relax mode only the mana counts.
    KeepTopics({3});
    for (bool relax : {false, true}) {
        SCOPED_TRACE(relax);
        Start(TestSupport::MakeHexagonLevel(0.0f, relax));
        StepsUntil([] { return false; }, 10);
        EXPECT_EQ(tutorial->GetTopic(), relax ? Tutorial::kWebItem : Tutorial::kNoTopic);
        EXPECT_EQ(SavedFlag(*profile, 7), 1);
        tutorial.reset();
    }
}

// Each bonus topic starts once a butterfly carries its kind of bonus, and points at it.
TEST_F(TutorialTest, BonusTopicsPointAtTheirKindOfBonus)
{
    for (std::uint32_t kind = 0; kind < 3; ++kind) {
        KeepTopics({4 + kind});
        Start(TestSupport::MakeHexagonLevel(1.0f, false));
        Wispfold::Cell* centre = board->FindCell(5, 10);
        board->GetItem(centre)->m_bonus = world.CreateBonus(static_cast<Wispfold::BonusKind>(kind));
        StepsUntil([&] { return tutorial->GetStep() == 1; });
        ExpectSaying(kPhrases[15 + kind]);
        EXPECT_TRUE(Matrix4::Equals(tutorial->GetTip().GetOwnWorldMatrix(), placement.GetCellMatrix(*centre)));
        StepsUntil([&] { return tutorial->GetTopic() == Tutorial::kNoTopic; });
        EXPECT_EQ(SavedFlag(*profile, 8 + kind), 0);
        tutorial.reset();
    }
}

} // namespace
