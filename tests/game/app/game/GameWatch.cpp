#include "tests/game/app/game/GameWatch.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/render/Image.h"
#include "engine/render/Model.h"
#include "engine/render/RenderSystem.h"
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
#include "framework/HighScoresTable.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/GUIRelaxWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "game/play/Item.h"
#include "game/play/ItemManager.h"
#include "game/play/Tutorial.h"
#include "platform/testing.h"
#include "tests/engine/render/gl/PixelFixture.h"
#include "tests/game/app/game/GameFixture.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <sstream>

namespace GameTesting {
namespace {

using Wispfold::GUIMenuWindow;

constexpr std::uint32_t kWon = 2;
constexpr std::uint32_t kLost = 3;

struct MenuEntry
{
    const char* name;
    const GUIMenuWindow* window; // null before the windows are made
    bool inLevel;                // shown over a running level
};

template <class Pointer> const GUIMenuWindow* AsMenu(const Pointer& window)
{
    return dynamic_cast<const GUIMenuWindow*>(window.get());
}

std::array<MenuEntry, 22> MenuWindows(const TestedGame& game)
{
    return {{{"welcome", AsMenu(game.m_welcomeWindow), false},
             {"exit question", AsMenu(game.m_exitWindow), false},
             {"main menu", AsMenu(game.m_mainMenuWindow), false},
             {"profiles", AsMenu(game.m_profilesWindow), false},
             {"new profile", AsMenu(game.m_newProfileWindow), false},
             {"rename profile", AsMenu(game.m_renameProfileWindow), false},
             {"delete profile", AsMenu(game.m_deleteProfileWindow), false},
             {"name conflict", AsMenu(game.m_profileNameConflictWindow), false},
             {"map", AsMenu(game.m_startGameLogicWindow), false},
             {"continue question", AsMenu(game.m_continueGameLogicWindow), false},
             {"high scores", AsMenu(game.m_highScoresWindow), false},
             {"options", AsMenu(game.m_optionsWindow), false},
             {"help", AsMenu(game.m_helpWindow), false},
             {"game complete", AsMenu(game.m_gameCompleteWindow), false},
             {"introduction", game.GetIntroductionWindow(), false},
             {"relax offer", game.GetRelaxWindow(), false},
             {"pause", AsMenu(game.m_gameLogicPauseWindow), true},
             {"in-game menu", AsMenu(game.m_gameLogicMenuWindow), true},
             {"leave question", AsMenu(game.m_gameLogicMenuExitWindow), true},
             {"quit question", AsMenu(game.m_gameLogicGameExitWindow), true},
             {"level complete", AsMenu(game.m_levelCompleteWindow), true},
             {"game over", AsMenu(game.m_gameOverWindow), true}}};
}

// On screen, from its appearance until it is closed.
bool OnScreen(const GUIMenuWindow* window)
{
    return window && window->m_shown && window->GetFrameWidget()->IsVisible();
}

// On screen with a button out that the player can click.
bool TakesInput(const GUIMenuWindow* window)
{
    if (!OnScreen(window))
        return false;
    const auto& controls = window->GetControls();
    return std::any_of(controls.begin(), controls.end(), [](const auto& control) {
        const KeystrelEngine::GUIButton* button = control->GetButton();
        return button && button->IsVisible() && button->IsEnabled();
    });
}

const Wispfold::GUIGameLogicWindow* Hud(const TestedGame& game)
{
    return static_cast<const Wispfold::GUIGameLogicWindow*>(game.m_gameLogicWindow.get());
}

bool UpgradeShown(const TestedGame& game)
{
    return game.GetUpgradeWindow() && game.GetUpgradeWindow()->GetWindow()->IsVisible();
}

// What keeps the player waiting, by kind: 0 nothing (a window takes input), then the start-up, a level's loading,
// a decided level's way to its window, and nothing at all.
enum Quiet
{
    kInput,
    kStartUp,
    kLoading,
    kLevelEnd,
    kNothing
};
constexpr std::array<int, 5> kQuietBounds = {0, GameWatch::kStartUpBound, GameWatch::kLoadingBound,
                                             GameWatch::kLevelEndBound, GameWatch::kQuietBound};
constexpr std::array<const char*, 5> kQuietNames = {"", "the start-up", "a level's loading",
                                                    "a decided level's way to its window", "no window takes input"};

Quiet QuietKind(const TestedGame& game)
{
    if (!game.m_mainMenuWindow)
        return kStartUp; // the menus are made once the shared data have loaded
    if (game.m_gameLogicLoadingWindow->GetKeeper())
        return kLoading;
    const auto menus = MenuWindows(game);
    if (std::any_of(menus.begin(), menus.end(), [](const MenuEntry& entry) { return TakesInput(entry.window); }))
        return kInput;
    const GameFramework::GameLogicBase* level = game.m_gameLogic.get();
    if ((level && level->GetState() == 0 && Hud(game)->m_active) ||
        (UpgradeShown(game) && game.GetUpgradeWindow()->IsActive()))
        return kInput;
    return level && level->GetState() >= kWon ? kLevelEnd : kNothing;
}

// Every window that is on screen or on its way, with its state, on one line.
std::string DescribeWindows(const TestedGame& game)
{
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(2);
    for (const MenuEntry& entry : MenuWindows(game)) {
        const GUIMenuWindow* window = entry.window;
        if (!window || !(window->m_openRequested || window->m_shown || window->m_panelHeld || window->m_colour.a > 0))
            continue;
        text << "; " << entry.name << ": open requested " << window->m_openRequested << ", shown " << window->m_shown
             << ", alpha " << window->m_colour.a << ", frame visible " << window->GetFrameWidget()->IsVisible()
             << ", wants panel " << window->m_wantsPanel << ", holds panel " << window->m_panelHeld
             << ", gives panel back " << window->m_panelReleaseRequested;
    }
    if (const Wispfold::GUIGameLogicWindow* hud = Hud(game))
        text << "; head-up display: visible " << hud->GetRoot()->IsVisible() << ", alpha " << hud->GetAlpha()
             << ", active " << hud->m_active;
    if (const Wispfold::GUIUpgradeWindow* upgrade = game.GetUpgradeWindow())
        text << "; upgrade scene: shown " << UpgradeShown(game) << ", active " << upgrade->IsActive() << ", clock "
             << upgrade->GetClock();
    if (game.m_gameLogic)
        text << "; level: state " << game.m_gameLogic->GetState();
    if (const Wispfold::GUIBackgroundWindow* background = game.GetBackground())
        text << "; background: panel requested " << background->IsPanelRequested() << ", present "
             << background->IsPanelPresent() << ", release requested " << background->IsPanelReleaseRequested()
             << ", text area shown " << background->IsTextAreaShown();
    if (const Wispfold::GUIMenuWindowManager* menus = game.GetMenuWindowManager())
        text << "; menu frame free " << menus->m_frameFree;
    const std::string line = text.str();
    return line.empty() ? line : line.substr(2);
}

// The screen outside a level that stands now, or null.
const char* OutsideScreen(const TestedGame& game)
{
    if (UpgradeShown(game))
        return "the upgrade scene";
    if (game.m_stageCompleteWindow && game.m_stageCompleteWindow->m_result == GameFramework::RequestDone)
        return "the stage-complete scene";
    for (const MenuEntry& entry : MenuWindows(game)) {
        if (!entry.inLevel && OnScreen(entry.window))
            return entry.name;
    }
    return nullptr;
}

bool ButterflyShown(const Wispfold::GameLogic& level)
{
    const auto& items = level.GetItemManager().GetItems();
    return std::any_of(items.begin(), items.end(), [](const auto& item) {
        return item->IsInUse() && item->GetModel() && (item->GetModel()->m_flags & KeystrelEngine::Model::kShown);
    });
}

// The guide speaks in a level's place, or the tutorial points.
bool LevelBubbleShown(const TestedGame& game, const Wispfold::GameLogic* level)
{
    if (level && (level->GetTutorial().GetTip().m_flags & KeystrelEngine::Model::kShown))
        return true;
    const Wispfold::Character* guide = game.GetCharacter();
    if (!guide || guide->GetState() != Wispfold::Character::kStateLevel)
        return false;
    for (std::uint32_t bubble = 0; bubble < Wispfold::kBubbleCount; ++bubble) {
        if (guide->GetBubble(bubble)->IsVisible())
            return true;
    }
    return false;
}

std::string Progress(const GameFramework::ProfileBase& profile)
{
    std::ostringstream text;
    text << "score " << profile.m_score << ", level " << profile.m_currentLevel.stage + 1 << "-"
         << profile.m_currentLevel.level + 1 << ", best " << profile.m_bestLevel.stage + 1 << "-"
         << profile.m_bestLevel.level + 1 << (profile.m_finished ? " finished" : "") << ", continue "
         << int{profile.m_continue};
    return text.str();
}

std::string LevelName(const GameFramework::GameLogicBase& level)
{
    const GameFramework::LevelId id = level.GetLevel()->id;
    return std::to_string(id.stage + 1) + "-" + std::to_string(id.level + 1);
}

// The lines of the log that report an error.
std::vector<std::string> ErrorLines(const std::string& log)
{
    std::vector<std::string> errors;
    for (std::size_t line = 0, end = 0; line < log.size(); line = end + 1) {
        end = std::min(log.find("<BR>", line), log.find('\n', line));
        const std::string text = log.substr(line, end - line);
        if (text.find("Error: ") != std::string::npos || text.find("PROGRAM ABORTING") != std::string::npos)
            errors.push_back(text);
        if (end == std::string::npos)
            break;
    }
    return errors;
}

} // namespace

GameWatch::GameWatch(std::string pictureName)
    : m_pictureName(std::move(pictureName)),
      m_log(std::make_unique<KeystrelEngine::MessageManager>("", "Watch", "", false, false)),
      m_files(std::make_unique<KeystrelEngine::FileManager>(m_log.get(), "", "Data"))
{
}

GameWatch::~GameWatch() = default;

void GameWatch::Fail(const std::string& invariant, const std::string& what)
{
    Failure& failure = m_failures[invariant];
    if (failure.frames++ == 0)
        failure.first = "frame " + std::to_string(m_frame) + ": " + what;
}

// Where the device draws, the screen of an invariant's first failure is kept as a picture.
void GameWatch::Fail(TestedGame& game, const std::string& invariant, const std::string& what)
{
    std::string picture;
    if (!m_pictureName.empty() && !m_failures.contains(invariant)) {
        picture = m_pictureName + "_frame_" + std::to_string(m_frame) + ".bmp";
        KeystrelEngine::Image image;
        game.GetEngine()->m_renderSystem->GrabScreen(image);
        RenderTesting::SaveTestPicture(image, picture, *game.GetEngine()->m_files);
        picture = " (picture " + picture + ")";
    }
    Fail(invariant, what + picture);
}

std::map<std::string, std::string> GameWatch::GetFailures() const
{
    std::map<std::string, std::string> lines;
    for (const auto& [invariant, failure] : m_failures)
        lines[invariant] =
            failure.first +
            (failure.frames > 1 ? " (and in " + std::to_string(failure.frames - 1) + " more frames)" : "");
    return lines;
}

std::string GameWatch::TakeErrors()
{
    std::string errors;
    for (const auto& record : m_log->m_history) {
        if (record.kind >= KeystrelEngine::MessageManager::KindError)
            errors += " " + record.text;
    }
    m_log->m_history.clear();
    return errors;
}

void GameWatch::AfterFrame(TestedGame& game, int wayBackFrames)
{
    ++m_frame;
    CountLevel(game);
    CountScenes(game);
    CheckStuck(game);
    CheckOutside(game);
    CheckProgress(game);
    if (wayBackFrames > kWayBackBound)
        Fail(game, "always a way back",
             "the main menu is not reached after " + std::to_string(wayBackFrames) +
                 " frames of ESCAPE and the buttons back; on the way: " + DescribeWindows(game));
}

void GameWatch::CheckStuck(TestedGame& game)
{
    const Quiet kind = QuietKind(game);
    m_quietFrames = kind != m_quietKind ? 0 : m_quietFrames + 1;
    m_quietKind = kind;
    if (kind == kInput || m_quietFrames <= kQuietBounds[kind])
        return;
    m_stuck = true;
    Fail(game, "never stuck",
         std::string(kQuietNames[kind]) + " for " + std::to_string(m_quietFrames) +
             " frames; on screen: " + DescribeWindows(game));
}

void GameWatch::CheckOutside(TestedGame& game)
{
    if (!game.m_gameLogicWindow)
        return;
    // A head-up display closed as the screen changes folds away over the next screen (the level-complete window
    // and the upgrade scene share their first frames with it); one still drawn after its fold was left open.
    const char* screen = OutsideScreen(game);
    const bool hud = Hud(game)->GetRoot()->IsVisible();
    m_hudFoldFrames = hud && screen ? m_hudFoldFrames + 1 : 0;
    if (!screen)
        return;
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    const std::string over = std::string(" over ") + screen;
    const std::string invariant = "nothing of a level outside it: ";
    if (m_hudFoldFrames > kHudFoldBound)
        Fail(game, invariant + "the head-up display" + over, "drawn");
    if (level && ButterflyShown(*level))
        Fail(game, invariant + "butterflies" + over, "drawn");
    if (LevelBubbleShown(game, level))
        Fail(game, invariant + "the level's guide or tip" + over, "drawn");
}

void GameWatch::CheckProgress(TestedGame& game)
{
    // The level-complete window reports once its count has ended, and the next screen comes from the report.
    const GameFramework::GUILevelCompleteWindowBase* complete = game.m_levelCompleteWindow.get();
    if (complete && (complete->m_result == GameFramework::RequestDone ||
                     complete->m_result == Wispfold::GUILevelCompleteWindow::kRequestUpgrade))
        CheckSavedProfile(game, "a won level");

    const bool over = game.m_gameOverWindow && OnScreen(AsMenu(game.m_gameOverWindow));
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    if (over && !m_gameOverChecked) {
        CheckSavedProfile(game, "a lost level");
        if (level && level->GetManaTarget() > 0 && level->GetManaProgress() >= level->GetManaTarget())
            Fail(game, "progress kept: a lost level",
                 "level " + LevelName(*level) + " was lost with its mana bar full (" +
                     std::to_string(level->GetManaProgress()) + " of " + std::to_string(level->GetManaTarget()) + ")");
    }
    m_gameOverChecked = over;

    const bool scores = game.m_highScoresWindow && OnScreen(AsMenu(game.m_highScoresWindow));
    if (scores && !m_scoresChecked)
        CheckHighScores(game);
    m_scoresChecked = scores;
}

void GameWatch::CheckSavedProfile(TestedGame& game, const std::string& after)
{
    const GameFramework::ProfileBase* current = game.m_profileManager->m_current;
    if (!current)
        return;
    const std::string invariant = "progress kept: " + after;
    try {
        const Wispfold::Profile saved(m_log.get(), m_files.get(), game.GetUserFolder(), current->GetFileName());
        if (Progress(saved) != Progress(*current))
            Fail(game, invariant,
                 "the game shows " + Progress(*current) + ", the profile on disk holds " + Progress(saved));
    } catch (const KeystrelEngine::Error&) {
        Fail(game, invariant, "the profile on disk does not load:" + TakeErrors());
    }
    m_log->m_history.clear();
}

void GameWatch::CheckHighScores(TestedGame& game)
{
    const GameFramework::HighScoresTable saved(m_log.get(), m_files.get(), game.GetUserFolder());
    const std::string errors = TakeErrors();
    if (!errors.empty())
        Fail(game, "progress kept: the high scores", "the table on disk does not load:" + errors);
    const auto& entries = saved.GetEntries();
    const auto& shown = game.m_highScoresTable->GetEntries();
    const bool same =
        std::equal(entries.begin(), entries.end(), shown.begin(), shown.end(),
                   [](const auto& a, const auto& b) { return a->name == b->name && a->score == b->score; });
    const bool sorted = std::is_sorted(entries.begin(), entries.end(),
                                       [](const auto& a, const auto& b) { return a->score > b->score; });
    if (!same || !sorted || entries.size() > GameFramework::HighScoresTable::kCapacity)
        Fail(game, "progress kept: the high scores",
             "the table on disk holds " + std::to_string(entries.size()) + " entries" +
                 (sorted ? "" : ", not best first") + (same ? "" : ", not those on screen"));
    const auto& window = *game.m_highScoresWindow;
    if (window.m_highlighted && window.m_mode != Wispfold::GUIHighScoresWindow::kModeMainMenu)
        ++m_counts.highScoreEntries;
}

// The level track turns at every level's start: a level that takes the place of one at the same address (or even
// in the same frame) is a new one all the same.
void GameWatch::CountLevel(TestedGame& game)
{
    const GameFramework::GameLogicBase* level = game.m_gameLogic.get();
    const bool started = level && game.GetLevelMusic() != m_levelMusic;
    if ((started || !level) && m_inLevel && m_levelState < kWon)
        ++m_counts.left;
    m_levelMusic = game.GetLevelMusic();
    m_inLevel = level != nullptr;
    if (started) {
        const GameFramework::LevelId id = level->GetLevel()->id;
        ++m_counts.levels;
        if (!m_levelsPlayed.insert(std::uint64_t{id.stage} << 32 | id.level).second)
            ++m_counts.replayed;
        m_levelState = 0;
    }
    if (!level || level->GetState() == m_levelState)
        return;
    m_levelState = level->GetState();
    m_counts.won += m_levelState == kWon;
    m_counts.lost += m_levelState == kLost;
    const char* states[] = {"level playing", "level paused", "level won", "level lost"};
    m_screens.insert(states[std::min(m_levelState, kLost)]);
}

void GameWatch::CountScenes(TestedGame& game)
{
    for (const MenuEntry& entry : MenuWindows(game)) {
        if (entry.window && entry.window->m_shown)
            m_screens.insert(entry.name);
    }
    const bool upgrade = game.GetUpgradeWindow() && game.GetUpgradeWindow()->IsActive();
    if (upgrade && !m_upgradeActive) {
        ++m_counts.upgradeScenes;
        m_screens.insert("upgrade scene");
    }
    m_upgradeActive = upgrade;
    if (game.m_stageCompleteWindow && game.m_stageCompleteWindow->m_result == GameFramework::RequestDone) {
        ++m_counts.stageEnds;
        m_screens.insert("stage complete");
    }
    const bool complete = OnScreen(AsMenu(game.m_gameCompleteWindow));
    m_counts.gamesCompleted += complete && !m_gameCompleteShown;
    m_gameCompleteShown = complete;
}

void GameWatch::AfterGame(int exitCode, const std::string& log)
{
    if (exitCode != 0)
        Fail("sound files: the exit", "the game ended with " + std::to_string(exitCode));
    for (const std::string& line : ErrorLines(log))
        Fail("sound files: the log", line);
    m_inLevel = false;
    m_levelMusic = 0;
    m_upgradeActive = m_gameOverChecked = m_scoresChecked = m_gameCompleteShown = false;
    m_quietFrames = 0;
}

void GameWatch::AtEnd(const std::string& folder)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".tmp" || extension == ".bad")
            Fail("sound files: left over", entry.path().string());
    }
    if (!std::filesystem::exists(folder + "profiles.pmf"))
        Fail("sound files: the profile list", "no profile list"); // even a player who deleted every profile keeps one
    const std::string engineFolder = KeystrelEngine::FileManager::GetUserFolder() + "\\Tarrowby Games\\Quellhaven";
    Wispfold::ProfileManager profiles(m_log.get(), m_files.get(), nullptr, engineFolder);
    profiles.LoadAll();
    const GameFramework::HighScoresTable scores(m_log.get(), m_files.get(), engineFolder);
    const std::string errors = TakeErrors();
    if (!errors.empty())
        Fail("sound files: loads", errors);
    if (!PlatformTesting::RecordedMessageBoxes().empty())
        Fail("sound files: a message box", PlatformTesting::RecordedMessageBoxes().front().text);
}

} // namespace GameTesting
