// The test game with every window, the level's data and the frame's fields in reach, a catalogue read from
// lists the fixture writes, and a level logic that runs a callback in its update. The shell's own slots that the
// dispatch and frame tests watch write their turn into the journal while `watch` is set; the render-system
// reset also runs `onReset` first.
#pragma once

#include "framework/GameLogicBase.h"
#include "framework/ProfileBase.h"
#include "framework/WindowRequest.h"
#include "tests/framework/EnginePlatform.h"
#include "tests/framework/FakeClock.h"
#include "tests/framework/TestGame.h"
#include "tests/support/TestEnvironment.h"

#include <functional>
#include <stdexcept>

namespace FrameworkTesting {

class CallbackLogic : public TestGameLogic
{
public:
    using TestGameLogic::TestGameLogic;

    void Update() override
    {
        TestGameLogic::Update();
        if (onUpdate)
            onUpdate();
    }

    std::function<void()> onUpdate;
};

class ShellGame : public TestGame
{
public:
    explicit ShellGame(Journal& journal) : TestGame(journal), m_journal(&journal) {}

    std::unique_ptr<GameFramework::GameLogicBase> CreateGameLogic(GameFramework::StageRecord* stage,
                                                                  GameFramework::LevelRecord* level,
                                                                  std::uint32_t carriedValue) override
    {
        m_journal->Add("CreateGameLogic");
        return std::make_unique<CallbackLogic>(m_journal, "GameLogic", m_engine.get(), m_audioPlayer.get(),
                                               carriedValue, stage, level);
    }

    void DispatchWindowResults() override
    {
        Watch("dispatch");
        TestGame::DispatchWindowResults();
    }
    void ClearWindowResults() override
    {
        Watch("clear");
        TestGame::ClearWindowResults();
    }
    void OnLevelWon() override
    {
        Watch("OnLevelWon");
        TestGame::OnLevelWon();
    }
    void OnLevelLost() override
    {
        Watch("OnLevelLost");
        TestGame::OnLevelLost();
    }
    void ResetRenderSystem() override
    {
        Watch("ResetRenderSystem");
        if (onReset)
            onReset();
        TestGame::ResetRenderSystem();
    }

    CallbackLogic& Logic() const { return static_cast<CallbackLogic&>(*m_gameLogic); }

    using GameBase::m_continueGameLogicWindow;
    using GameBase::m_controls;
    using GameBase::m_deleteProfileWindow;
    using GameBase::m_exitWindow;
    using GameBase::m_gameCompleteWindow;
    using GameBase::m_gameLogicGameExitWindow;
    using GameBase::m_gameLogicLoadingWindow;
    using GameBase::m_gameLogicMenuExitWindow;
    using GameBase::m_gameLogicMenuWindow;
    using GameBase::m_gameLogicPauseWindow;
    using GameBase::m_gameLogicWindow;
    using GameBase::m_gameOverWindow;
    using GameBase::m_helpWindow;
    using GameBase::m_highScoresWindow;
    using GameBase::m_levelCompleteWindow;
    using GameBase::m_newProfileWindow;
    using GameBase::m_optionsWindow;
    using GameBase::m_pausedByFocus;
    using GameBase::m_profileNameConflictWindow;
    using GameBase::m_profilesWindow;
    using GameBase::m_renameProfileWindow;
    using GameBase::m_renderSystem;
    using GameBase::m_stageCompleteWindow;
    using GameBase::m_startGameLogicWindow;
    using GameBase::m_timerManager;
    using GameBase::m_welcomeWindow;
    using GameBase::m_window;

    bool watch = false;
    std::function<void()> onReset;

private:
    void Watch(const char* slot)
    {
        if (watch)
            m_journal->Add(slot);
    }

    Journal* m_journal;
};

// The files every start-up reads, and a catalogue of two stages: three levels, then two.
inline void WriteShellData(const std::string& stageCounts = "2\n")
{
    const std::string data = TestSupport::BaseFolder() + "/Data/";
    TestSupport::WriteFile(data + "ui/fonts/en.ini", "0 0\n");
    TestSupport::WriteFile(data + "ui/texts/en/common.ini", "");
    TestSupport::WriteFile(data + "levels/stages_info.ini", stageCounts);
    TestSupport::WriteFile(data + "levels/stage0/levels_info.ini", "3\n");
    TestSupport::WriteFile(data + "levels/stage1/levels_info.ini", "2\n");
}

// The test game started on the recording device and the fake clock, with the catalogue loaded. Tests move it on
// by setting a window's code and running a dispatch pass, and read what happened in the journal.
class ShellFixture : public ::testing::Test
{
protected:
    ShellFixture()
    {
        WriteShellData();
        game = std::make_unique<ShellGame>(journal);
        game->m_levelManager->Load();
    }

    // The state after the shared resources were loaded, with one profile.
    void Ready()
    {
        game->CreateWindows();
        profile = game->m_profileManager->AddProfile(u"Ann");
        game->m_profileManager->m_current = profile;
        journal.entries.clear();
    }

    template <class Window> static std::uint32_t* Field(const std::unique_ptr<Window>& window)
    {
        return window ? &window->m_result : nullptr;
    }

    // The window's result field, by the window's journal name.
    std::uint32_t& Result(const std::string& window) const
    {
        ShellGame& g = *game;
        const std::pair<const char*, std::uint32_t*> fields[] = {
            {"LogosWindow", Field(g.m_logosWindow)},
            {"GameLoadingWindow", Field(g.m_gameLoadingWindow)},
            {"WelcomeWindow", Field(g.m_welcomeWindow)},
            {"ExitWindow", Field(g.m_exitWindow)},
            {"MainMenuWindow", Field(g.m_mainMenuWindow)},
            {"ProfilesWindow", Field(g.m_profilesWindow)},
            {"GameLogicLoadingWindow", Field(g.m_gameLogicLoadingWindow)},
            {"NewProfileWindow", Field(g.m_newProfileWindow)},
            {"RenameProfileWindow", Field(g.m_renameProfileWindow)},
            {"DeleteProfileWindow", Field(g.m_deleteProfileWindow)},
            {"ProfileNameConflictWindow", Field(g.m_profileNameConflictWindow)},
            {"StartGameLogicWindow", Field(g.m_startGameLogicWindow)},
            {"ContinueGameLogicWindow", Field(g.m_continueGameLogicWindow)},
            {"HighScoresWindow", Field(g.m_highScoresWindow)},
            {"OptionsWindow", Field(g.m_optionsWindow)},
            {"HelpWindow", Field(g.m_helpWindow)},
            {"GameLogicWindow", Field(g.m_gameLogicWindow)},
            {"GameLogicPauseWindow", Field(g.m_gameLogicPauseWindow)},
            {"GameLogicMenuWindow", Field(g.m_gameLogicMenuWindow)},
            {"GameLogicMenuExitWindow", Field(g.m_gameLogicMenuExitWindow)},
            {"GameLogicGameExitWindow", Field(g.m_gameLogicGameExitWindow)},
            {"LevelCompleteWindow", Field(g.m_levelCompleteWindow)},
            {"StageCompleteWindow", Field(g.m_stageCompleteWindow)},
            {"GameCompleteWindow", Field(g.m_gameCompleteWindow)},
            {"GameOverWindow", Field(g.m_gameOverWindow)},
        };
        for (const auto& [name, field] : fields) {
            if (window == name && field)
                return *field;
        }
        throw std::logic_error("no window " + window);
    }

    // One pass with the window's code, then the results cleared as the frame does; what the journal got.
    std::vector<std::string> Dispatch(const std::string& window, std::uint32_t code)
    {
        journal.entries.clear();
        Result(window) = code;
        game->DispatchWindowResults();
        game->ClearWindowResults();
        return journal.entries;
    }

    // The level the profile stands at, started through the map and the level's loading window.
    void StartLevel(GameFramework::LevelId id)
    {
        profile->m_currentLevel = id;
        Dispatch("StartGameLogicWindow", GameFramework::RequestStart);
        Dispatch("GameLogicLoadingWindow", GameFramework::RequestDone);
        journal.entries.clear();
    }

    // The profile as its file holds it now.
    std::unique_ptr<GameFramework::ProfileBase> Saved() const
    {
        return game->m_profileManager->CreateProfileFromFile(profile->GetFileName());
    }

    struct Row
    {
        const char* window;
        std::uint32_t code;
        std::vector<std::string> expected;
    };

    void ExpectRows(const std::vector<Row>& rows)
    {
        for (const Row& row : rows)
            EXPECT_EQ(Dispatch(row.window, row.code), row.expected) << row.window << " " << row.code;
    }

    FakeClock clock;
    EnginePlatform platform;
    Journal journal;
    std::unique_ptr<ShellGame> game;
    GameFramework::ProfileBase* profile = nullptr;
};

} // namespace FrameworkTesting
