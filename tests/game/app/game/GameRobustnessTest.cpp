// The game under ten thousand frames of random input from a fresh start in an 800x600 window; whenever the input
// happens to quit, the game starts again until the frames are played. Nothing may crash, log an error, show a
// message box or "UNKNOWN", and the profiles and the high scores left on disk must load.
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/PrintedTextAudit.h"
#include "tests/game/app/game/RandomPlayer.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "framework/GUIContinueGameLogicWindowBase.h"
#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIExitWindowBase.h"
#include "framework/GUIGameCompleteWindowBase.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHelpWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUILoadingWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIProfileNameConflictWindowBase.h"
#include "framework/GUIProfilesWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIStageCompleteWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/HighScoresTable.h"
#include "framework/ProfileManagerBase.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUIRelaxWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/ProfileManager.h"
#include "platform/testing.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

namespace {

using namespace GameTesting;

using GameRobustness = GameFixture;

constexpr int kFrames = 10000;
constexpr std::uint32_t kSeed = 28;
// A level's loading window erases the old text, types "LOADING" and loads within a few seconds.
constexpr int kLongestLoading = 300;

std::string TypeName(const Wispfold::GUIMenuWindow& window)
{
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(window).name(), nullptr, nullptr, &status);
    const std::string readable = status == 0 ? name : typeid(window).name();
    std::free(name);
    return readable;
}

template <class... Windows> void NoteShown(std::set<std::string>& screens, const Windows*... windows)
{
    const auto note = [&](const auto* window) {
        const auto* menu = dynamic_cast<const Wispfold::GUIMenuWindow*>(window);
        if (menu && menu->m_shown)
            screens.insert(TypeName(*menu));
    };
    (note(windows), ...);
}

// The menu windows on show by their classes, the upgrade window, and the level with its outcome.
void NoteScreens(TestedGame& game, std::set<std::string>& screens)
{
    NoteShown(screens, game.m_welcomeWindow.get(), game.m_exitWindow.get(), game.m_mainMenuWindow.get(),
              game.m_profilesWindow.get(), game.m_newProfileWindow.get(), game.m_renameProfileWindow.get(),
              game.m_deleteProfileWindow.get(), game.m_profileNameConflictWindow.get(),
              game.m_startGameLogicWindow.get(), game.m_continueGameLogicWindow.get(), game.m_highScoresWindow.get(),
              game.m_optionsWindow.get(), game.m_helpWindow.get(), game.m_gameLogicPauseWindow.get(),
              game.m_gameLogicMenuWindow.get(), game.m_gameLogicMenuExitWindow.get(),
              game.m_gameLogicGameExitWindow.get(), game.m_levelCompleteWindow.get(), game.m_stageCompleteWindow.get(),
              game.m_gameCompleteWindow.get(), game.m_gameOverWindow.get(), game.GetIntroductionWindow(),
              game.GetRelaxWindow());
    if (game.GetUpgradeWindow() && game.GetUpgradeWindow()->GetWindow()->IsVisible())
        screens.insert("upgrade window");
    if (game.m_gameLogic) {
        const char* outcomes[] = {"level playing", "level paused", "level won", "level lost"};
        screens.insert(outcomes[std::min<std::uint32_t>(game.m_gameLogic->GetState(), 3)]);
    }
}

// The lines of the log that report an error.
std::vector<std::string> ErrorLines(const std::string& log)
{
    std::vector<std::string> errors;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("Error: ") != std::string::npos || line.find("PROGRAM ABORTING") != std::string::npos)
            errors.push_back(line);
    }
    return errors;
}

TEST_F(GameRobustness, SurvivesTenThousandFramesOfRandomInput)
{
    TestSupport::WriteFile(UserFolder() + "Quellhaven.ini", "v_mode 800x600x32\n");
    RandomPlayer player(kSeed);
    PrintedTextAudit audit;
    std::set<std::string> screens;
    int played = 0;
    int games = 0;
    int loadingFrames = 0;
    int longestLoading = 0;
    while (played < kFrames) {
        const int budget = kFrames - played;
        int frame = 0;
        const auto randomInput = [&](TestedGame& game) {
            if (!game.frameworkWindowsProbe)
                game.frameworkWindowsProbe = [&] { audit.Read(*game.GetEngine()->m_gui); };
            NoteScreens(game, screens);
            const bool loading = game.m_gameLogicLoadingWindow && game.m_gameLogicLoadingWindow->GetKeeper();
            loadingFrames = loading ? loadingFrames + 1 : 0;
            longestLoading = std::max(longestLoading, loadingFrames);
            player.Act(game);
            return ++frame >= budget;
        };
        EXPECT_EQ(Play({{"random input", randomInput, {}, budget + 1}}), 0);
        played += frames;
        ++games;
        player.Forget();
        for (const std::string& error : ErrorLines(ReadUserFile("Quellhaven.html")))
            ADD_FAILURE() << "game " << games << ": " << error;
    }
    EXPECT_TRUE(PlatformTesting::RecordedMessageBoxes().empty());
    for (const std::string& finding : audit.Findings())
        ADD_FAILURE() << finding;

    // What the play left on disk loads without a complaint.
    KeystrelEngine::MessageManager log{"", "Check", "", false, false};
    KeystrelEngine::FileManager files{&log, "", "Data"};
    const std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "\\Tarrowby Games\\Quellhaven";
    Wispfold::ProfileManager profiles(&log, &files, nullptr, folder);
    profiles.LoadAll();
    const GameFramework::HighScoresTable scores(&log, &files, folder);
    for (const auto& record : log.m_history)
        EXPECT_LT(record.kind, KeystrelEngine::MessageManager::KindError) << record.text;
    // The player may have deleted every profile; the list itself is still on disk and loaded above.
    EXPECT_TRUE(std::filesystem::exists(UserFolder() + "profiles.pmf"));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(UserFolder()))
        EXPECT_NE(entry.path().extension(), ".bad") << entry.path();

    // The input gets the game into its levels, and no level's loading waits for ever: a menu closed before it had
    // faded in, and a double click on the closing map that kept starting the level, once left it waiting on this
    // seed.
    EXPECT_TRUE(screens.contains("level playing"));
    EXPECT_LT(longestLoading, kLongestLoading);
    std::string reached;
    for (const std::string& screen : screens)
        reached += "\n  " + screen;
    std::cout << "[ robustness ] " << games << " games, " << scores.GetEntries().size() << " high scores, "
              << profiles.GetProfiles().size() << " profiles, longest loading " << longestLoading
              << " frames; screens reached:" << reached << std::endl;
}

} // namespace
