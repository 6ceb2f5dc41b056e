// The dialogs around a level on the generated models: pause and game exit over the panel, the menu exit and
// game over that report only once their frame has gone and the menu scene has faded back, the continue window's
// level and score, the closing text's pages, and the frameless stage step.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIContinueGameLogicWindow.h"
#include "game/app/GUIGameCompleteWindow.h"
#include "game/app/GUIGameLogicGameExitWindow.h"
#include "game/app/GUIGameLogicMenuExitWindow.h"
#include "game/app/GUIGameLogicPauseWindow.h"
#include "game/app/GUIGameOverWindow.h"
#include "game/app/GUIStageCompleteWindow.h"
#include "game/app/ProfileManager.h"
#include "tests/game/app/MenuWindowFixture.h"

namespace {

using namespace AppTesting;
using namespace GameFramework;
using KeystrelEngine::GUITextRecord;

class GUIInLevelDialogsTest : public MenuWindowFixture
{
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        for (const char* table : {"game_logic_pause", "game_logic_exit", "continue_game_logic", "game_over",
                                  "level_complete", "game_complete"})
            engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
        profiles->m_current = profiles->AddProfile(u"Ann");
    }

    template <class Window, class... Args> Window& Make(Args... args)
    {
        auto window = std::make_unique<Window>(engine.get(), player.get(), args...,
                                               static_cast<const Wispfold::GameData*>(data.get()), manager.get(),
                                               data->GetChildWindow());
        Window& made = *window;
        windows.push_back(std::move(window));
        return made;
    }

    // The key and height of each line on the frame.
    void ExpectLines(const Wispfold::GUIMenuWindow& window, const std::string& key, std::vector<float> heights)
    {
        const std::vector<GUITextRecord>& lines = Texts(window.GetFrameWidget());
        ASSERT_EQ(lines.size(), heights.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].key, key);
            EXPECT_EQ(lines[i].position.y, heights[i]);
            EXPECT_EQ(lines[i].flags, 1u);
        }
    }

    // Closes the window over the panel: the panel goes back once the frame has gone.
    void CloseOverPanel(Wispfold::GUIMenuWindow& window)
    {
        RunUntilGone(window);
        for (int frame = 0; frame < 3 && window.HoldsPanel(); ++frame)
            Step(window);
        EXPECT_FALSE(window.HoldsPanel());
        EXPECT_FALSE(background->present);
    }

    std::string Caption(const Wispfold::GUIControl& button) { return Texts(button.GetWidget()).at(0).key; }

    // Steps a leaving window until its frame has gone, checking it reports nothing before the fade ends.
    template <class Window> void ExpectReportAfterFade(Window& window, std::uint32_t request)
    {
        EXPECT_FALSE(window.IsShown());
        EXPECT_EQ(background->showAlls, 1);
        RunUntilGone(window);
        Step(window);
        EXPECT_EQ(window.m_result, RequestNone);
        background->fadeComplete = true;
        Step(window);
        EXPECT_EQ(window.m_result, request);
    }
};

TEST_F(GUIInLevelDialogsTest, PauseAndGameExitAppearOverThePanelReportAndGiveItBack)
{
    auto& pause = Make<Wispfold::GUIGameLogicPauseWindow>();
    pause.Open();
    OpenFully(pause);
    EXPECT_TRUE(pause.HoldsPanel());
    const std::vector<GUITextRecord>& line = Texts(pause.GetFrameWidget());
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].key, "GAME_LOGIC_PAUSED_TEXT");
    EXPECT_EQ(line[0].number, -1);
    EXPECT_EQ(line[0].position.y, 110.0f);
    EXPECT_EQ(Caption(*pause.GetResumeButton()), "GAME_LOGIC_PAUSED_RESUME");
    EXPECT_EQ(Click(pause, *pause.GetResumeButton()->GetWidget()), RequestResume);
    pause.Close();
    EXPECT_TRUE(pause.IsGivingPanelBack());
    CloseOverPanel(pause);

    auto& exit = Make<Wispfold::GUIGameLogicGameExitWindow>();
    for (const bool ok : {true, false}) {
        exit.Open();
        EXPECT_TRUE(exit.WantsPanel());
        OpenFully(exit);
        ExpectLines(exit, "GAME_LOGIC_EXIT_TEXT_", {148.0f, 125.0f, 102.0f});
        const Wispfold::GameLogicExitQuestion& question = exit.GetQuestion();
        EXPECT_EQ(Caption(*question.GetOkButton()), "GAME_LOGIC_EXIT_OK");
        EXPECT_EQ(Caption(*question.GetNoButton()), "NO");
        const auto* button = ok ? question.GetOkButton() : question.GetNoButton();
        EXPECT_EQ(Click(exit, *button->GetWidget()), ok ? RequestExitProgram : RequestResume);
        exit.Close();
        EXPECT_TRUE(exit.IsGivingPanelBack());
        CloseOverPanel(exit);
    }
}

TEST_F(GUIInLevelDialogsTest, MenuExitLeavesOnlyAfterTheFadeAndItsLaterCloseIsSilent)
{
    auto& exit = Make<Wispfold::GUIGameLogicMenuExitWindow>();
    exit.Open();
    EXPECT_FALSE(exit.WantsPanel());
    OpenFully(exit);
    EXPECT_EQ(Click(exit, *exit.GetQuestion().GetNoButton()->GetWidget()), RequestGameLogicMenu);

    const int disappearSounds = Plays(Wispfold::GUIMenuWindow::kDisappearSound);
    EXPECT_EQ(Click(exit, *exit.GetQuestion().GetOkButton()->GetWidget()), RequestNone);
    EXPECT_TRUE(exit.IsLeaving());
    EXPECT_EQ(Plays(Wispfold::GUIMenuWindow::kDisappearSound), disappearSounds + 1);
    ExpectReportAfterFade(exit, RequestBack);
    exit.Close();
    EXPECT_FALSE(exit.IsLeaving());
    EXPECT_EQ(Plays(Wispfold::GUIMenuWindow::kDisappearSound), disappearSounds + 1);
    Step(exit);
    EXPECT_EQ(exit.m_result, RequestNone);
}

TEST_F(GUIInLevelDialogsTest, GameOverReportsOnceTheMenuSceneIsBack)
{
    auto& over = Make<Wispfold::GUIGameOverWindow>();
    over.Open();
    EXPECT_TRUE(over.WantsPanel());
    OpenFully(over);
    ExpectLines(over, "GAME_OVER_TEXT_", {134.0f, 111.0f});
    EXPECT_EQ(Caption(*over.GetContinueButton()), "CONTINUE");
    EXPECT_EQ(Click(over, *over.GetContinueButton()->GetWidget()), RequestNone);
    ExpectReportAfterFade(over, RequestDone);
    over.Close();
    EXPECT_FALSE(over.IsLeaving());
}

TEST_F(GUIInLevelDialogsTest, ContinueShowsTheSavedLevelAndTheScoreAtOpenAndReportsEachButton)
{
    ProfileBase& ann = *profiles->m_current;
    ann.m_currentLevel = {1, 2};
    ann.m_score = 4321;
    using Window = Wispfold::GUIContinueGameLogicWindow;
    auto& window = Make<Window>(static_cast<ProfileManagerBase*>(profiles.get()));
    window.Open();
    ann.m_score = 5; // taken at Open
    OpenFully(window);
    const std::vector<GUITextRecord>& lines = Texts(window.GetFrameWidget());
    ASSERT_EQ(lines.size(), 7u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].key, "CONTINUE_GAME_LOGIC_TEXT_");
        EXPECT_EQ(lines[i].position.y, Window::kFirstLineY - Window::kLineStep * static_cast<float>(i));
    }
    const struct
    {
        std::u16string text;
        std::uint32_t flags;
        std::uint32_t font;
        float y;
    } values[] = {{u"Level:", 4, 2, Window::kLevelY},
                  {u"2-3", 8, 4, Window::kLevelY},
                  {u"Score:", 4, 2, Window::kScoreY},
                  {u"4321", 8, 4, Window::kScoreY}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[3 + i].text, values[i].text);
        EXPECT_EQ(lines[3 + i].flags, values[i].flags);
        EXPECT_EQ(lines[3 + i].fontId, values[i].font);
        EXPECT_EQ(lines[3 + i].position.y, values[i].y);
    }
    EXPECT_EQ(Caption(*window.GetContinueButton()), "CONTINUE_GAME_LOGIC_CONTINUE_GAME");
    EXPECT_EQ(Caption(*window.GetNewGameButton()), "CONTINUE_GAME_LOGIC_NEW_GAME");
    EXPECT_EQ(Caption(*window.GetCancelButton()), "CANCEL");
    EXPECT_EQ(Click(window, *window.GetContinueButton()->GetWidget()), RequestContinueGame);
    EXPECT_EQ(Click(window, *window.GetNewGameButton()->GetWidget()), RequestNewGame);
    EXPECT_EQ(Click(window, *window.GetCancelButton()->GetWidget()), RequestBack);
}

TEST_F(GUIInLevelDialogsTest, TheClosingTextTurnsItsPagesOrPassesStraightThroughWithoutTheShowFlag)
{
    engine->m_gui->m_texts->SetText("GAME_COMPLETE_TEXT_SIZE", u"25");
    auto& window = Make<Wispfold::GUIGameCompleteWindow>();
    window.Open(); // the show flag clear: no frame, the next update reports
    EXPECT_FALSE(window.IsOpenRequested());
    Step(window);
    EXPECT_EQ(window.m_result, RequestDone);
    Step(window);
    EXPECT_EQ(window.m_result, RequestNone);
    EXPECT_TRUE(manager->m_frameFree);
    const int disappearSounds = Plays(Wispfold::GUIMenuWindow::kDisappearSound);
    window.Close();
    EXPECT_EQ(Plays(Wispfold::GUIMenuWindow::kDisappearSound), disappearSounds);

    window.m_show = true;
    window.Open();
    OpenFully(window);
    EXPECT_EQ(Caption(*window.GetContinueButton()), "CONTINUE");
    const std::size_t pageLines[] = {12, 12, 1};
    for (std::int32_t page = 0; page < 3; ++page) {
        SCOPED_TRACE(page);
        for (int frame = 0; frame < 20 && window.GetPages().GetPageAlpha() < 1.0f; ++frame)
            Step(window);
        const std::vector<GUITextRecord>& lines = Texts(window.GetFrameWidget());
        ASSERT_EQ(lines.size(), pageLines[page]);
        EXPECT_EQ(lines[0].key, "GAME_COMPLETE_TEXT_");
        EXPECT_EQ(lines[0].number, page * 12);
        EXPECT_EQ(Click(window, *window.GetContinueButton()->GetWidget()), page == 2 ? RequestDone : RequestNone);
    }

    // A size that reads as no line still leaves one page, so CONTINUE can report.
    for (const std::u16string size : {u"0", u"-3", u"many"}) {
        window.Close();
        RunUntilGone(window);
        engine->m_gui->m_texts->SetText("GAME_COMPLETE_TEXT_SIZE", size);
        window.Open();
        OpenFully(window);
        EXPECT_EQ(window.GetPages().GetPageCount(), 1);
        EXPECT_TRUE(Texts(window.GetFrameWidget()).empty());
        EXPECT_EQ(Click(window, *window.GetContinueButton()->GetWidget()), RequestDone);
    }
}

TEST_F(GUIInLevelDialogsTest, StageCompleteReportsOnceAfterOpen)
{
    Wispfold::GUIStageCompleteWindow stage(engine.get());
    stage.Update();
    EXPECT_EQ(stage.m_result, RequestNone);
    stage.Open();
    stage.Update();
    EXPECT_EQ(stage.m_result, RequestDone);
    stage.Update();
    EXPECT_EQ(stage.m_result, RequestNone);
}

} // namespace
