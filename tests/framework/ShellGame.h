// The test game with every window, the level's data and the frame's fields in reach, a catalogue read from
// lists the fixture writes, and a level logic that runs a callback in its update. The shell's own slots that the
// dispatch and frame tests watch write their turn into the journal while `watch` is set.
#pragma once

#include "framework/GameLogicBase.h"
#include "framework/ProfileBase.h"
#include "tests/framework/TestGame.h"
#include "tests/support/TestEnvironment.h"

#include <functional>

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

} // namespace FrameworkTesting
