#include "tests/game/app/game/GameWatch.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/render/Model.h"
#include "framework/GUIGameCompleteWindowBase.h"
#include "framework/GUIGameOverWindowBase.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/GUILevelCompleteWindowBase.h"
#include "framework/GUILoadingWindowBase.h"
#include "framework/GUIStageCompleteWindowBase.h"
#include "framework/HighScoresTable.h"
#include "framework/ProfileBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIGameLogicWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "game/play/Item.h"
#include "game/play/ItemManager.h"
#include "game/play/Tutorial.h"
#include "platform/testing.h"
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/PlayerFiles.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string_view>
#include <utility>

namespace GameTesting {
namespace {

using GameFramework::GameLogicBase;
using Wispfold::GUIMenuWindow;
using Menus = std::array<const GUIMenuWindow*, TestedGame::kMenuNames.size()>;

// What keeps the player waiting, by kind, and for how many frames it may: nothing (a window takes input), the
// start-up, a level's loading, a decided level's way to its window, and nothing at all.
enum Quiet
{
    kInput,
    kStartUp,
    kLoading,
    kLevelEnd,
    kNothing
};
constexpr struct
{
    int bound;
    const char* name;
} kQuiet[] = {{0, ""},
              {GameWatch::kStartUpBound, "the start-up"},
              {GameWatch::kLoadingBound, "a level's loading"},
              {GameWatch::kLevelEndBound, "a decided level's way to its window"},
              {GameWatch::kQuietBound, "no window takes input"}};

template <class Pointer> const GUIMenuWindow* AsMenu(const Pointer& window)
{
    return dynamic_cast<const GUIMenuWindow*>(window.get());
}

// On screen, from its appearance until it is closed.
bool OnScreen(const GUIMenuWindow* window)
{
    return window && window->IsShown() && window->GetFrameWidget()->IsVisible();
}

// On screen with a button out that the player can click.
bool TakesInput(const GUIMenuWindow* window)
{
    return OnScreen(window) && std::ranges::any_of(window->GetControls(), [](const auto& control) {
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

Quiet QuietKind(const TestedGame& game, const Menus& menus)
{
    if (!game.m_mainMenuWindow)
        return kStartUp; // the menus are made once the shared data have loaded
    if (game.m_gameLogicLoadingWindow->GetKeeper())
        return kLoading;
    const GameFramework::GameLogicBase* level = game.m_gameLogic.get();
    if (std::ranges::any_of(menus, TakesInput) ||
        (level && level->GetState() == GameLogicBase::LevelPlaying && Hud(game)->m_active) ||
        (UpgradeShown(game) && game.GetUpgradeWindow()->IsActive()))
        return kInput;
    return level && level->GetState() >= GameLogicBase::LevelWon ? kLevelEnd : kNothing;
}

// Every window that is on screen or on its way, with its state, on one line.
std::string DescribeWindows(const TestedGame& game, const Menus& menus)
{
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(2);
    for (std::size_t index = 0; index < menus.size(); ++index) {
        const GUIMenuWindow* window = menus[index];
        if (!window ||
            !(window->IsOpenRequested() || window->IsShown() || window->HoldsPanel() || window->m_colour.a > 0))
            continue;
        text << "; " << TestedGame::kMenuNames[index] << ": open requested " << window->IsOpenRequested() << ", shown "
             << window->IsShown() << ", alpha " << window->m_colour.a << ", frame visible "
             << window->GetFrameWidget()->IsVisible() << ", wants panel " << window->WantsPanel() << ", holds panel "
             << window->HoldsPanel() << ", gives panel back " << window->IsGivingPanelBack();
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
    if (const Wispfold::GUIMenuWindowManager* manager = game.GetMenuWindowManager())
        text << "; menu frame free " << manager->m_frameFree;
    return text.str().erase(0, 2);
}

// The screen outside a level that stands now, or null.
const char* OutsideScreen(const TestedGame& game, const Menus& menus)
{
    if (UpgradeShown(game))
        return "the upgrade scene";
    if (game.m_stageCompleteWindow && game.m_stageCompleteWindow->m_result == GameFramework::RequestDone)
        return "the stage-complete scene";
    for (std::size_t index = 0; index < TestedGame::kFirstOverLevel; ++index) {
        if (OnScreen(menus[index]))
            return TestedGame::kMenuNames[index];
    }
    return nullptr;
}

bool ButterflyShown(const Wispfold::GameLogic& level)
{
    return std::ranges::any_of(level.GetItemManager().GetItems(), [](const auto& item) {
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

std::string LevelName(GameFramework::LevelId id)
{
    return std::to_string(id.stage + 1) + "-" + std::to_string(id.level + 1);
}

std::string Progress(std::uint32_t score, GameFramework::LevelId current, GameFramework::LevelId best,
                     std::uint8_t finished, std::uint8_t continueFlag)
{
    return "score " + std::to_string(score) + ", level " + LevelName(current) + ", best " + LevelName(best) +
           (finished ? " finished" : "") + ", continue " + std::to_string(continueFlag);
}

// The warnings that are no fault of the game's but tell what the machine it runs on lacks: a sound device (the
// game plays silently) and a graphics device of its own (it draws in software). Every other warning tells of
// something mended or lost: a damaged file kept as ".bad", a value or a setting replaced, saves turned off.
constexpr std::string_view kMachineWarnings[] = {"No audio device could be opened",
                                                 "Switching to the software rasterizer"};

bool IsMachineWarning(std::string_view line)
{
    return std::ranges::any_of(kMachineWarnings,
                               [&](std::string_view warning) { return line.find(warning) != std::string_view::npos; });
}

// Whether the condition holds now but did not the frame before, which it remembers.
bool Begins(bool& before, bool now)
{
    return !std::exchange(before, now) && now;
}

} // namespace

GameWatch::GameWatch(std::string pictureName)
    : m_pictureName(std::move(pictureName)),
      m_log(std::make_unique<KeystrelEngine::MessageManager>("", "Watch", "", false, false)),
      m_files(std::make_unique<KeystrelEngine::FileManager>(m_log.get(), "", "Data"))
{
}

GameWatch::~GameWatch() = default;

void GameWatch::Fail(const std::string& invariant, std::string what, TestedGame* screen)
{
    Failure& failure = m_failures[invariant];
    if (failure.frames++ > 0)
        return;
    if (screen && !m_pictureName.empty()) {
        const std::string picture = m_pictureName + "_frame_" + std::to_string(m_frame) + ".bmp";
        AppTesting::GrabScreen(*screen->GetEngine(), picture);
        what += " (picture " + picture + ")";
    }
    failure.first = "frame " + std::to_string(m_frame) + ": " + what;
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

void GameWatch::AfterFrame(TestedGame& game, int wayBackFrames)
{
    ++m_frame;
    m_menus = game.MenuWindows();
    CountLevel(game);
    CountScenes(game);
    CheckStuck(game);
    CheckOutside(game);
    CheckProgress(game);
    CheckPanel(game);
    if (wayBackFrames > kWayBackBound)
        Fail("always a way back",
             "the main menu is not reached after " + std::to_string(wayBackFrames) +
                 " frames of ESCAPE and the buttons back; on the way: " + DescribeWindows(game, m_menus),
             &game);
}

void GameWatch::CheckStuck(TestedGame& game)
{
    const Quiet kind = QuietKind(game, m_menus);
    m_seen.quietFrames = kind != m_quietKind ? 0 : m_seen.quietFrames + 1;
    m_quietKind = kind;
    if (kind == kInput || m_seen.quietFrames <= kQuiet[kind].bound)
        return;
    Fail(kNeverStuck,
         std::string(kQuiet[kind].name) + " for " + std::to_string(m_seen.quietFrames) +
             " frames; on screen: " + DescribeWindows(game, m_menus),
         &game);
}

void GameWatch::CheckOutside(TestedGame& game)
{
    if (!game.m_gameLogicWindow)
        return;
    // A head-up display closed as the screen changes folds away over the next screen (the level-complete window
    // and the upgrade scene share their first frames with it); one still drawn after its fold was left open.
    const char* screen = OutsideScreen(game, m_menus);
    m_hudFoldFrames = screen && Hud(game)->GetRoot()->IsVisible() ? m_hudFoldFrames + 1 : 0;
    if (!screen)
        return;
    const auto drawn = [&](const char* what) {
        Fail(std::string("nothing of a level outside it: ") + what + " over " + screen, "drawn", &game);
    };
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    if (m_hudFoldFrames > kHudFoldBound)
        drawn("the head-up display");
    if (level && ButterflyShown(*level))
        drawn("butterflies");
    if (LevelBubbleShown(game, level))
        drawn("the level's guide or tip");
}

// Once the main menu stands, the background's panel is no longer held by a window of a level: a hold kept after
// its window closed lets that window, in a later level, start over the panel of another dialog, which then folds
// away and comes back under it.
void GameWatch::CheckPanel(TestedGame& game)
{
    const Wispfold::GUIBackgroundWindow* background = game.GetBackground();
    if (!background || !background->GetPanelHolder() || !MainMenuShown(game))
        return;
    const auto holder = std::find(m_menus.begin() + TestedGame::kFirstOverLevel, m_menus.end(),
                                  background->GetPanelHolder());
    if (holder != m_menus.end())
        Fail("the panel goes back",
             std::string("back in the main menu, still held by ") +
                 TestedGame::kMenuNames[static_cast<std::size_t>(holder - m_menus.begin())],
             &game);
}

void GameWatch::CheckProgress(TestedGame& game)
{
    // The level-complete window reports once its count has ended, and the next screen comes from the report.
    const GameFramework::GUILevelCompleteWindowBase* complete = game.m_levelCompleteWindow.get();
    if (complete && (complete->m_result == GameFramework::RequestDone ||
                     complete->m_result == Wispfold::GUILevelCompleteWindow::kRequestUpgrade))
        CheckSavedProfile(game, "progress kept: a won level");
    if (Begins(m_seen.gameOver, OnScreen(AsMenu(game.m_gameOverWindow)))) {
        CheckSavedProfile(game, "progress kept: a lost level");
        const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
        if (level && level->GetManaTarget() > 0 && level->GetManaProgress() >= level->GetManaTarget())
            Fail("progress kept: a lost level",
                 "level " + LevelName(level->GetLevel()->id) + " was lost with its mana bar full (" +
                     std::to_string(level->GetManaProgress()) + " of " + std::to_string(level->GetManaTarget()) + ")",
                 &game);
    }
    if (Begins(m_seen.highScores, OnScreen(AsMenu(game.m_highScoresWindow))))
        CheckHighScores(game);
}

void GameWatch::CheckSavedProfile(TestedGame& game, const std::string& invariant)
{
    const GameFramework::ProfileBase* current = game.m_profileManager->m_current;
    if (!current)
        return;
    const auto [saved, fault] =
        ReadProfileFile(*m_files, game.GetUserFolder() + "\\profiles\\" + current->GetFileName());
    if (!fault.empty()) {
        Fail(invariant, "the profile on disk is not intact: " + fault, &game);
        return;
    }
    const std::string shown = Progress(current->m_score, current->m_currentLevel, current->m_bestLevel,
                                       current->m_finished, current->m_continue);
    const std::string held = Progress(saved.score, {saved.currentStage, saved.currentLevel},
                                      {saved.bestStage, saved.bestLevel}, saved.finished, saved.continueFlag);
    if (shown != held)
        Fail(invariant, "the game shows " + shown + ", the profile on disk holds " + held, &game);
}

void GameWatch::CheckHighScores(TestedGame& game)
{
    const std::string invariant = "progress kept: the high scores";
    const auto [saved, fault] = ReadHighScoresFile(*m_files, game.m_highScoresTable->GetPath());
    const bool same =
        std::ranges::equal(saved.entries, game.m_highScoresTable->GetEntries(),
                           [](const auto& a, const auto& b) { return a.name == b->name && a.score == b->score; });
    if (!fault.empty())
        Fail(invariant, "the table on disk is not intact: " + fault, &game);
    else if (!same)
        Fail(invariant,
             "the table on disk holds " + std::to_string(saved.entries.size()) + " entries, not those on screen",
             &game);
    const auto& window = *game.m_highScoresWindow;
    if (window.m_highlighted && window.m_mode != Wispfold::GUIHighScoresWindow::kModeMainMenu)
        ++m_counts.highScoreEntries;
}

// The level track turns at every level's start: a level that takes the place of one at the same address (or even
// in the same frame) is a new one all the same.
void GameWatch::CountLevel(TestedGame& game)
{
    const GameFramework::GameLogicBase* level = game.m_gameLogic.get();
    const bool started = level && game.GetLevelMusic() != m_seen.levelMusic;
    if ((started || !level) && m_seen.inLevel && m_seen.levelState < GameLogicBase::LevelWon)
        ++m_counts.left;
    m_seen.levelMusic = game.GetLevelMusic();
    m_seen.inLevel = level != nullptr;
    if (started) {
        const GameFramework::LevelId id = level->GetLevel()->id;
        ++m_counts.levels;
        m_counts.replayed += !m_levelsPlayed.insert(std::uint64_t{id.stage} << 32 | id.level).second;
        m_seen.levelState = GameLogicBase::LevelPlaying;
    }
    if (!level || level->GetState() == m_seen.levelState)
        return;
    m_seen.levelState = level->GetState();
    m_counts.won += m_seen.levelState == GameLogicBase::LevelWon;
    m_counts.lost += m_seen.levelState == GameLogicBase::LevelLost;
    constexpr const char* kStates[] = {"level playing", "level paused", "level won", "level lost"};
    m_screens.insert(kStates[std::min(m_seen.levelState, GameLogicBase::LevelLost)]);
}

void GameWatch::CountScenes(TestedGame& game)
{
    for (std::size_t index = 0; index < m_menus.size(); ++index) {
        if (m_menus[index] && m_menus[index]->IsShown())
            m_screens.insert(TestedGame::kMenuNames[index]);
    }
    if (Begins(m_seen.upgrade, game.GetUpgradeWindow() && game.GetUpgradeWindow()->IsActive())) {
        ++m_counts.upgradeScenes;
        m_screens.insert("upgrade scene");
    }
    if (game.m_stageCompleteWindow && game.m_stageCompleteWindow->m_result == GameFramework::RequestDone) {
        ++m_counts.stageEnds;
        m_screens.insert("stage complete");
    }
    m_counts.gamesCompleted += Begins(m_seen.gameComplete, OnScreen(AsMenu(game.m_gameCompleteWindow)));
}

void GameWatch::AfterGame(int exitCode, const std::string& log)
{
    if (exitCode != 0)
        Fail("a clean run: the exit", "the game ended with " + std::to_string(exitCode));
    // The log's lines end in a line break, its HTML lines in a <BR> as well.
    for (std::size_t line = 0, end = 0; line < log.size(); line = end + (log.compare(end, 4, "<BR>") == 0 ? 4 : 1)) {
        end = std::min({log.find("<BR>", line), log.find('\n', line), log.size()});
        const std::string text = log.substr(line, end - line);
        if (text.find("Error: ") != std::string::npos || text.find("PROGRAM ABORTING") != std::string::npos)
            Fail("a clean run: the log", text);
        else if (text.find("Warning: ") != std::string::npos && !IsMachineWarning(text))
            Fail("a clean run: a warning", text);
    }
    m_seen = {};
}

// The user folder holds what the game saved last, every file whole and intact; the profile list names a profile
// on disk as current whenever there is one.
void GameWatch::AtEnd(const std::string& folder)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".tmp" || extension == ".bad")
            Fail("player's files intact: left over", entry.path().string());
    }
    const std::string engineFolder = KeystrelEngine::FileManager::GetUserFolder() + "\\Tarrowby Games\\Quellhaven";
    std::set<std::u16string> names; // folded as the game compares them
    std::error_code noFolder;       // when no profile was ever made
    for (const auto& entry : std::filesystem::directory_iterator(folder + "profiles", noFolder)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".prf")
            continue;
        const auto [profile, fault] =
            ReadProfileFile(*m_files, engineFolder + "\\profiles\\" + entry.path().filename().string());
        if (!fault.empty())
            Fail("player's files intact: loads", fault);
        names.insert(GameFramework::FoldProfileName(profile.name));
    }
    CheckProfileList(engineFolder, names);
    if (const std::string fault = ReadHighScoresFile(*m_files, engineFolder + "\\high_scores_table.hsf").fault;
        !fault.empty())
        Fail("player's files intact: loads", fault);
    if (!PlatformTesting::RecordedMessageBoxes().empty())
        Fail("a clean run: a message box", PlatformTesting::RecordedMessageBoxes().front().text);
}

// Even a player who deleted every profile keeps a list, which names no current profile only then.
void GameWatch::CheckProfileList(const std::string& engineFolder, const std::set<std::u16string>& names)
{
    const std::string path = engineFolder + "\\profiles.pmf";
    if (!KeystrelEngine::FileManager::FileExistsOnDisk(m_files->MakeDiskPath(path))) {
        Fail("player's files intact: the profile list", "no profile list");
        return;
    }
    const auto [list, fault] = ReadProfileListFile(*m_files, path);
    if (!fault.empty())
        Fail("player's files intact: loads", fault);
    else if (list.current.empty() != names.empty() ||
             (!list.current.empty() && !names.contains(GameFramework::FoldProfileName(list.current))))
        Fail("player's files intact: the profile list", "it names \"" + KeystrelEngine::ToNarrow(list.current) +
                                                            "\" as current, of " + std::to_string(names.size()) +
                                                            " profiles on disk");
}

} // namespace GameTesting
