// The help, high-score and exit windows over the generated models: the help page's layout, the table's rows
// and its highlighted entry, the relax offer after a lost game, and the exit that waits until its frame has gone.
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "framework/HighScoresTable.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIExitWindow.h"
#include "game/app/GUIHelpWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "tests/game/app/MenuWindowFixture.h"

#include <algorithm>

using Wispfold::GUIExitWindow;
using Wispfold::GUIHelpWindow;
using Wispfold::GUIHighScoresWindow;
using Wispfold::Profile;

namespace {

using namespace AppTesting;
using KeystrelEngine::GUITextRecord;

class GUIMenuLevelWindowsTest : public MenuWindowFixture
{
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        profiles->m_current = profiles->AddProfile(u"Ann");
        table =
            std::make_unique<GameFramework::HighScoresTable>(engine->m_log.get(), engine->m_files.get(), userFolder);
        table->Clear();
    }

    void TearDown() override
    {
        windowsMade.clear();
        table.reset();
        MenuWindowFixture::TearDown();
    }

    template <class Window, class... Args> Window& Make(Args... args)
    {
        auto window =
            std::make_unique<Window>(engine.get(), player.get(), args..., manager.get(), data->GetChildWindow());
        Window& made = *window;
        windowsMade.push_back(std::move(window));
        return made;
    }

    GUIHighScoresWindow& HighScores()
    {
        return Make<GUIHighScoresWindow>(static_cast<GameFramework::ProfileManagerBase*>(profiles.get()),
                                         static_cast<const Wispfold::GameData*>(data.get()),
                                         static_cast<const GameFramework::HighScoresTable*>(table.get()));
    }

    Profile& Current() const { return *static_cast<Profile*>(profiles->m_current); }

    std::unique_ptr<GameFramework::HighScoresTable> table;
    std::vector<std::unique_ptr<Wispfold::GUIMenuWindow>> windowsMade;
};

TEST_F(GUIMenuLevelWindowsTest, HelpShowsTwelveLinesWithHeadingsAndItsStepsAndBackReturns)
{
    GUIHelpWindow& help = Make<GUIHelpWindow>(static_cast<const Wispfold::GameData*>(data.get()));
    help.Open();
    OpenFully(help);
    const std::vector<GUITextRecord>& lines = Texts(help.GetFrameWidget());
    ASSERT_EQ(lines.size(), 12u);
    const float steps[] = {19, 18, 18, 24, 19, 24, 19, 24, 19, 24, 19};
    float y = 250.0f;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].key, "HELP_TEXT_");
        EXPECT_EQ(lines[i].number, static_cast<std::int32_t>(i));
        EXPECT_EQ(lines[i].position.y, y);
        EXPECT_EQ(lines[i].flags, 1u);
        const bool heading = i == 0 || i == 4 || i == 6 || i == 8 || i == 10;
        EXPECT_EQ(lines[i].fontId, heading ? 3u : 2u);
        if (i < 11)
            y -= steps[i];
    }
    EXPECT_EQ(Texts(help.GetBackButton()->GetWidget())[0].key, "BACK");
    EXPECT_EQ(Click(help, *help.GetBackButton()->GetWidget()), GameFramework::RequestBack);
}

TEST_F(GUIMenuLevelWindowsTest, AnEmptyTableShowsOnlyTheNoRecordsLineAndBackInTheMainMenuMode)
{
    GUIHighScoresWindow& scores = HighScores();
    scores.Open(GUIHighScoresWindow::kModeMainMenu, nullptr);
    OpenFully(scores);
    const std::vector<GUITextRecord>& lines = Texts(scores.GetFrameWidget());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].key, "HIGH_SCORES_NO_RECORDS");
    EXPECT_EQ(lines[0].fontId, 3u);
    for (int column = 0; column < GUIHighScoresWindow::ColumnCount; ++column)
        EXPECT_TRUE(Texts(scores.GetColumn(static_cast<GUIHighScoresWindow::Column>(column))).empty());
    EXPECT_EQ(Texts(scores.GetButton()->GetWidget())[0].key, "BACK");
}

TEST_F(GUIMenuLevelWindowsTest, TenEntriesRunDownFromTheTopAndOnlyTheGivenEntryIsHighlighted)
{
    const GameFramework::HighScoreEntry* highlighted = nullptr;
    for (std::uint32_t i = 0; i < 10; ++i) {
        const GameFramework::HighScoreEntry* added = table->Add(u"P" + KeystrelEngine::FormatUnsignedW(i), 100 + i);
        if (i == 4)
            highlighted = added;
    }
    for (const std::int32_t mode : {2, 9, 10}) {
        SCOPED_TRACE(mode);
        GUIHighScoresWindow& scores = HighScores();
        scores.Open(mode, mode == 2 ? nullptr : highlighted);
        OpenFully(scores);
        EXPECT_TRUE(Texts(scores.GetFrameWidget()).empty());
        const auto& ranks = Texts(scores.GetColumn(GUIHighScoresWindow::Rank));
        const auto& names = Texts(scores.GetColumn(GUIHighScoresWindow::Name));
        const auto& points = Texts(scores.GetColumn(GUIHighScoresWindow::Score));
        ASSERT_EQ(ranks.size(), 10u);
        ASSERT_EQ(names.size(), 10u);
        ASSERT_EQ(points.size(), 10u);
        EXPECT_EQ(ranks[0].position.y, 358.0f);
        EXPECT_EQ(ranks[9].position.y, 169.0f);
        EXPECT_EQ(ranks[9].text, u"10.");
        EXPECT_EQ(ranks[0].flags, 8u);
        EXPECT_EQ(names[0].flags, 4u);
        EXPECT_EQ(points[0].flags, 8u);
        for (std::size_t row = 0; row < 10; ++row) {
            const bool isHighlighted = names[row].text == highlighted->name && mode != 2;
            EXPECT_EQ(names[row].fontId, isHighlighted ? 4u : 3u) << row;
            EXPECT_EQ(points[row].fontId, names[row].fontId);
            EXPECT_EQ(points[row].text, KeystrelEngine::FormatUnsignedW(table->GetEntries()[row]->score));
        }
        EXPECT_EQ(Texts(scores.GetButton()->GetWidget())[0].key, mode == 2 ? "BACK" : "OK");
        scores.Close();
        RunUntilGone(scores);
    }
}

TEST_F(GUIMenuLevelWindowsTest, TheRelaxOfferAfterALostGameIsUsedUpAndSavedOnce)
{
    struct Case
    {
        std::int32_t mode;
        bool offer;
        bool relax;
        std::uint32_t request;
    };
    const Case cases[] = {{10, true, false, GUIHighScoresWindow::kRequestRelaxOffer},
                          {10, false, false, GameFramework::RequestBack},
                          {10, true, true, GameFramework::RequestBack},
                          {9, true, false, GameFramework::RequestBack},
                          {2, true, false, GameFramework::RequestBack}};
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.mode << test.offer << test.relax);
        Current().SetFlag(Profile::RelaxOfferPending, test.offer);
        Current().SetFlag(Profile::RelaxMode, test.relax);
        Current().Save();
        GUIHighScoresWindow& scores = HighScores();
        scores.Open(test.mode, nullptr);
        OpenFully(scores);
        EXPECT_EQ(Click(scores, *scores.GetButton()->GetWidget()), test.request);
        const bool usedUp = test.request == GUIHighScoresWindow::kRequestRelaxOffer;
        EXPECT_EQ(Current().GetFlag(Profile::RelaxOfferPending), test.offer && !usedUp);
        // What the profile file holds.
        Wispfold::ProfileManager reread(engine->m_log.get(), engine->m_files.get(), player.get(), userFolder);
        reread.LoadAll();
        const auto* saved = static_cast<const Profile*>(reread.FindProfile(u"Ann"));
        ASSERT_NE(saved, nullptr);
        EXPECT_EQ(saved->GetFlag(Profile::RelaxOfferPending), test.offer && !usedUp);
        scores.Close();
        RunUntilGone(scores);
    }
}

TEST_F(GUIMenuLevelWindowsTest, YesQuitsOnlyOnceTheFrameHasGone)
{
    GUIExitWindow& exit = Make<GUIExitWindow>(static_cast<const Wispfold::GameData*>(data.get()));
    exit.Open(2);
    OpenFully(exit);
    const std::vector<GUITextRecord>& lines = Texts(exit.GetFrameWidget());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].key, "EXIT_TEXT_");
    EXPECT_EQ(lines[1].position.y, 124.0f);
    EXPECT_EQ(Texts(exit.GetYesButton()->GetWidget())[0].key, "YES");

    EXPECT_EQ(Click(exit, *exit.GetYesButton()->GetWidget()), 0u); // the release frame: closing
    EXPECT_TRUE(exit.IsConfirmed());
    EXPECT_FALSE(exit.IsShown());
    int frames = 0;
    while (exit.m_result == 0 && frames < 40) {
        EXPECT_FALSE(manager->m_frameFree);
        Step(exit);
        ++frames;
    }
    EXPECT_EQ(exit.m_result, GameFramework::RequestExitProgram);
    EXPECT_GT(frames, 2);
    EXPECT_TRUE(manager->m_frameFree);
}

TEST_F(GUIMenuLevelWindowsTest, NoGoesBackToTheCallerAndAnUnknownCallerIgnoresIt)
{
    const std::pair<std::int32_t, std::uint32_t> cases[] = {{1, GameFramework::RequestWelcome},
                                                            {2, GameFramework::RequestBack},
                                                            {3, GameFramework::RequestNewProfile},
                                                            {4, GameFramework::RequestNone}};
    GUIExitWindow& exit = Make<GUIExitWindow>(static_cast<const Wispfold::GameData*>(data.get()));
    for (const auto& [caller, request] : cases) {
        SCOPED_TRACE(caller);
        exit.Open(caller);
        OpenFully(exit);
        EXPECT_EQ(Click(exit, *exit.GetNoButton()->GetWidget()), request);
        EXPECT_TRUE(exit.IsShown()); // the game's handler closes it
        exit.Close();
        RunUntilGone(exit);
    }
}

} // namespace
