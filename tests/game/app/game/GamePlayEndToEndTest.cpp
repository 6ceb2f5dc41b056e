// The whole game on GL from the program's start to its end, played through the window's mouse and keyboard as a
// player would: the logo, the loading, the welcome (the name "Ann"), the main menu, the introduction page by page,
// the map, level 1-1 won and level 1-2 lost by the solver, the level-complete, game-over and high-score windows,
// the relax offer declined, and EXIT confirmed; the program then ends by itself with 0. Every screen is saved as
// a picture for people to look at. Afterwards the user folder holds what the play left, the level music took
// turns, the log holds no error and no warning about the data, no text ever read "UNKNOWN", and every data file
// the program opened is one the content tool writes.
#include "tests/game/app/AppFixture.h"
#include "tests/game/app/game/GameFixture.h"
#include "tests/game/app/game/ScreenPictures.h"
#include "tests/game/play/support/BoardSolver.h"
#include "tests/game/play/support/RestingPoints.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "framework/GUIHighScoresWindowBase.h"
#include "framework/HighScoresTable.h"
#include "framework/ScoreKeeper.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIExitWindow.h"
#include "game/app/GUIGameOverWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUILevelCompleteWindow.h"
#include "game/app/GUILogosWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIRelaxWindow.h"
#include "game/app/GUIStartGameLogicWindow.h"
#include "game/app/GUIWelcomeWindow.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/play/CameraControl.h"
#include "game/play/GameLogic.h"
#include "platform/testing.h"
#include "tools/content/ContentTool.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

namespace {

using namespace GameTesting;
using Aim = TestSupport::BoardSolver::Aim;
using Wispfold::GUIControl;
using Wispfold::GUIMenuWindow;

constexpr int kLevelFrameLimit = 30 * 180;

// A menu window of the game stands on the screen in full, its controls unfolded and its title typed.
bool Shown(TestedGame& game, const GUIMenuWindow* window)
{
    return window && window->IsShown() && window->m_colour.a >= 1.0f && !window->IsAnyControlAnimating() &&
           game.GetBackground()->GetTextPrinter().IsFinished();
}

template <class Base> bool Shown(TestedGame& game, const std::unique_ptr<Base>& window)
{
    return Shown(game, dynamic_cast<const GUIMenuWindow*>(window.get()));
}

template <class Window, class Base> Window& As(const std::unique_ptr<Base>& window)
{
    return dynamic_cast<Window&>(*window);
}

// The running level once its camera has flown in and its butterflies have settled; null before.
const Wispfold::GameLogic* SettledLevel(TestedGame& game)
{
    const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
    if (!level || level->GetState() != GameFramework::GameLogicBase::LevelPlaying ||
        level->GetCameraControl().GetTransitionTimer() < 1.0f)
        return nullptr;
    return TestSupport::BoardSolver::IsSettled(level->GetBoard()) ? level : nullptr;
}

// The names of the music files playing now.
std::set<std::string> PlayingMusic(TestedGame& game)
{
    std::set<std::string> names;
    for (const KeystrelEngine::Sound* sound : game.GetEngine()->m_soundManager->GetSounds().GetSlots())
        if (sound && sound->GetName().find("music") != std::string::npos &&
            sound->GetState() == KeystrelEngine::Sound::Playing)
            names.insert(sound->GetName());
    return names;
}

// The play as the player goes through it, with what it keeps for the checks afterwards.
class Script
{
public:
    std::vector<Step> steps;
    std::unique_ptr<AppTesting::ScreenPictures> pictures;
    std::vector<std::set<std::string>> levelMusic; // as each level was first seen settled
    std::u16string highlighted;                    // the high-score entry picked out after the game over
    std::uint32_t scoreAtGameOver = 0;
    float restingOffset = 0.0f; // the farthest a resting butterfly stood from its cell's resting point

    // Waits for the screen and saves its picture.
    void Picture(const std::string& name, std::function<bool(TestedGame&)> until, int frameLimit = 900)
    {
        steps.push_back({name, std::move(until), [this, name](TestedGame&) { pictures->Take(name); }, frameLimit});
    }

    // Once ready holds, a click on the control.
    void Click(const std::string& name, std::function<bool(TestedGame&)> ready,
               std::function<GUIControl*(TestedGame&)> control)
    {
        steps.push_back({name, [ready, control, clicker = Clicker(), started = false](TestedGame& game) mutable {
                             started = started || ready(game);
                             return started && clicker.Step(game, *control(game));
                         }});
    }

    // The introduction's pages, each saved once it has faded in and turned with CONTINUE, until the window goes.
    void IntroductionPages()
    {
        steps.push_back(
            {"introduction pages", [this, clicker = Clicker(), page = 0, clicking = false](TestedGame& game) mutable {
                 const Wispfold::GUIIntroductionWindow& window = *game.GetIntroductionWindow();
                 if (clicking) {
                     clicking = !clicker.Step(game, *window.GetContinueButton());
                     return false;
                 }
                 if (!window.IsShown())
                     return page > 0;
                 if (!Shown(game, &window) || window.GetPages().GetShownPage() != page ||
                     window.GetPages().GetPageAlpha() < 1.0f)
                     return false;
                 pictures->Take("introduction_page_" + std::to_string(++page));
                 clicking = !clicker.Step(game, *window.GetContinueButton());
                 return false;
             }});
    }

    // A character a frame, as the edit box takes one key event a frame.
    void Type(const std::string& text)
    {
        steps.push_back({"type " + text, [text, typed = std::size_t{0}](TestedGame&) mutable {
                             PlatformTesting::InjectText(text.substr(typed++, 1));
                             return typed == text.size();
                         }});
    }

    // The level from its settled start (its picture shows every butterfly colour on the board) until the solver
    // has brought it to its end.
    void PlayLevel(const std::string& name, Aim aim)
    {
        steps.push_back({name, [](TestedGame& game) { return SettledLevel(game) != nullptr; },
                         [this, name](TestedGame& game) {
                             pictures->Take(name);
                             pictures->ExpectButterflyColours(*SettledLevel(game));
                             levelMusic.push_back(PlayingMusic(game));
                         },
                         kLevelFrameLimit});
        auto solver = std::make_shared<std::unique_ptr<TestSupport::BoardSolver>>();
        steps.push_back({name + " played to its end",
                         [this, solver, aim](TestedGame& game) {
                             const auto* level = dynamic_cast<const Wispfold::GameLogic*>(game.m_gameLogic.get());
                             if (!*solver)
                                 *solver = std::make_unique<TestSupport::BoardSolver>(*game.GetEngine(), aim);
                             if (level)
                                 restingOffset =
                                     std::max(restingOffset,
                                              TestSupport::LargestRestingOffset(level->GetBoard(), level->GetScene()));
                             return level && (*solver)->Step(*level);
                         },
                         {},
                         kLevelFrameLimit});
    }
};

// Every text record of every widget this frame and every printer's text, resolved.
void ExpectNoUnknownText(TestedGame& game, std::set<std::string>& unknownWhere)
{
    KeystrelEngine::GUIManager& gui = *game.GetEngine()->m_gui;
    const auto check = [&](const auto& registry) {
        for (const KeystrelEngine::GUIWindow* widget : registry.GetSlots()) {
            for (std::uint32_t i = 0; widget && i < widget->GetTextCount(); ++i) {
                const KeystrelEngine::GUITextRecord& record = widget->GetTextRecord(i);
                const std::u16string text =
                    record.isKey ? gui.m_texts->GetText(record.key, record.number) : record.text;
                if (text.find(u"UNKNOWN") != std::u16string::npos)
                    unknownWhere.insert(record.isKey ? record.key : "a literal text");
            }
        }
    };
    check(gui.m_windows);
    check(gui.m_buttons);
    check(gui.m_checkBoxes);
    check(gui.m_editBoxes);
    check(gui.m_scrolls);
}

// The engine names (lower case, backslashes, below the data folder) of the data files opened.
std::vector<std::string> OpenedDataFiles()
{
    std::string data = TestSupport::BaseFolder() + "/data/";
    std::replace(data.begin(), data.end(), '/', '\\');
    std::transform(data.begin(), data.end(), data.begin(), [](unsigned char c) { return std::tolower(c); });
    std::vector<std::string> names;
    for (std::string path : PlatformTesting::RecordedOpenedFiles()) {
        std::replace(path.begin(), path.end(), '/', '\\');
        std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
        if (path.starts_with(data))
            names.push_back(path.substr(data.size()));
    }
    return names;
}

class GamePlay : public GameFixture
{
protected:
    GamePlay()
    {
        PlatformTesting::UseRecordingDevice(false);
        PlatformTesting::RecordOpenedFiles(true);
    }

    ~GamePlay() override { PlatformTesting::RecordOpenedFiles(false); }
};

TEST_F(GamePlay, FromTheLogoThroughTwoLevelsToTheExit)
{
    Script script;
    std::set<std::string> unknownTexts;
    script.steps.push_back({"start-up", Always, [&](TestedGame& game) {
                                script.pictures = std::make_unique<AppTesting::ScreenPictures>(*game.GetEngine());
                                game.windowsUpdatedProbe = [&game, &unknownTexts] {
                                    ExpectNoUnknownText(game, unknownTexts);
                                };
                            }});
    const auto logo = [](TestedGame& game) { return As<Wispfold::GUILogosWindow>(game.m_logosWindow).IsActive(); };
    script.Picture("logo", [logo, frames = 0](TestedGame& game) mutable { return logo(game) && ++frames == 20; });
    script.Picture("loading", [logo, frames = 0](TestedGame& game) mutable { return !logo(game) && ++frames == 10; });

    script.Picture("welcome", [](TestedGame& game) { return Shown(game, game.m_welcomeWindow); });
    script.Type("Ann");
    script.Click("welcome OK", Always, [](TestedGame& game) {
        return As<Wispfold::GUIWelcomeWindow>(game.m_welcomeWindow).GetEntry().GetOkButton();
    });

    const auto mainMenu = [](TestedGame& game) { return Shown(game, game.m_mainMenuWindow); };
    script.Picture("main_menu", mainMenu);
    script.Click("START", Always, [](TestedGame& game) {
        return As<Wispfold::GUIMainMenuWindow>(game.m_mainMenuWindow).GetButton(Wispfold::GUIMainMenuWindow::Start);
    });
    script.IntroductionPages();

    const auto map = [](TestedGame& game) { return Shown(game, game.m_startGameLogicWindow); };
    const auto mapStart = [](TestedGame& game) {
        return As<Wispfold::GUIStartGameLogicWindow>(game.m_startGameLogicWindow).GetStartControl();
    };
    script.Picture("map", map);
    script.Click("map START", Always, mapStart);
    script.PlayLevel("level_1_1", Aim::Win);

    // Once the energy left has been counted up as the bonus: the count has stood still for half a second.
    script.Picture("level_complete", [last = 0u, still = 0](TestedGame& game) mutable {
        const std::uint32_t counted =
            As<Wispfold::GUILevelCompleteWindow>(game.m_levelCompleteWindow).GetCountedEnergy();
        still = counted == last ? still + 1 : 0;
        last = counted;
        return Shown(game, game.m_levelCompleteWindow) && counted > 0 && still == 15;
    });
    script.Click("level complete CONTINUE", Always, [](TestedGame& game) {
        return As<Wispfold::GUILevelCompleteWindow>(game.m_levelCompleteWindow).GetContinueButton();
    });
    script.Picture("map_after_level_1_1", map);
    script.Click("map START", Always, mapStart);
    script.PlayLevel("level_1_2", Aim::Lose);

    script.Picture("game_over", [&](TestedGame& game) {
        // The profile's score with the lost level's points, as the in-game window shows it.
        if (game.m_gameLogic)
            script.scoreAtGameOver =
                game.m_profileManager->m_current->m_score + game.m_gameLogic->GetScoreKeeper()->m_total;
        return Shown(game, game.m_gameOverWindow);
    });
    script.Click("game over CONTINUE", Always, [](TestedGame& game) {
        return As<Wispfold::GUIGameOverWindow>(game.m_gameOverWindow).GetContinueButton();
    });
    script.Picture("high_scores", [&](TestedGame& game) {
        if (!Shown(game, game.m_highScoresWindow))
            return false;
        const auto* entry = game.m_highScoresWindow->m_highlighted;
        script.highlighted = entry ? entry->name : u"(none)";
        return true;
    });
    script.Click("high scores OK", Always, [](TestedGame& game) {
        return As<Wispfold::GUIHighScoresWindow>(game.m_highScoresWindow).GetButton();
    });
    script.Picture("relax_offer", [](TestedGame& game) { return Shown(game, game.GetRelaxWindow()); });
    script.Click("relax NO", Always, [](TestedGame& game) { return game.GetRelaxWindow()->GetNoButton(); });

    script.Picture("main_menu_again", mainMenu);
    script.Click("EXIT", Always, [](TestedGame& game) {
        return As<Wispfold::GUIMainMenuWindow>(game.m_mainMenuWindow).GetButton(Wispfold::GUIMainMenuWindow::Exit);
    });
    script.Picture("exit_question", [](TestedGame& game) { return Shown(game, game.m_exitWindow); });
    script.Click("exit YES", Always,
                 [](TestedGame& game) { return As<Wispfold::GUIExitWindow>(game.m_exitWindow).GetYesButton(); });
    script.steps.push_back({"the game ends by itself", [](TestedGame&) { return false; }});

    const auto started = std::chrono::steady_clock::now();
    const int exitCode = Play(std::move(script.steps));
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (HadNoRenderDevice())
        GTEST_SKIP() << "no GL device: " << MessageBoxTexts();
    std::printf("%d frames in %.1f s\n", frames, seconds);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(MessageBoxTexts(), "");
    EXPECT_EQ(script.highlighted, u"Ann");
    EXPECT_TRUE(unknownTexts.empty()) << *unknownTexts.begin();
    EXPECT_EQ(script.restingOffset, 0.0f) << "every swapped butterfly lands on its cell";

    // The first level plays the first level track on the level channel, the second the other.
    ASSERT_EQ(script.levelMusic.size(), 2u);
    const auto plays = [](const std::set<std::string>& names, const char* track) {
        return std::any_of(names.begin(), names.end(),
                           [track](const std::string& name) { return name.find(track) != std::string::npos; });
    };
    EXPECT_TRUE(plays(script.levelMusic[0], "game0") && !plays(script.levelMusic[0], "game1"));
    EXPECT_TRUE(plays(script.levelMusic[1], "game1") && !plays(script.levelMusic[1], "game0"));

    // What the play left on disk, read afresh: Ann stopped at the second level, introduced and offered relax mode,
    // which she declined; the table holds her score as the level was lost.
    KeystrelEngine::MessageManager reader(TestSupport::BaseFolder(), "reread", "reread", false, false);
    KeystrelEngine::FileManager files(&reader, "", "Data");
    std::string folder = UserFolder();
    folder.pop_back();
    std::vector<std::string> profileFiles;
    for (const auto& entry : std::filesystem::directory_iterator(UserFolder() + "profiles"))
        profileFiles.push_back(entry.path().filename().string());
    ASSERT_EQ(profileFiles.size(), 1u);
    const Wispfold::Profile ann(&reader, &files, folder, profileFiles[0]);
    EXPECT_EQ(ann.GetName(), u"Ann");
    EXPECT_EQ(ann.m_currentLevel.stage * 100 + ann.m_currentLevel.level, 1u);
    EXPECT_EQ(ann.m_bestLevel.stage * 100 + ann.m_bestLevel.level, 1u);
    EXPECT_FALSE(ann.GetFlag(Wispfold::Profile::IntroductionPending));
    EXPECT_FALSE(ann.GetFlag(Wispfold::Profile::RelaxOfferPending));
    EXPECT_FALSE(ann.GetFlag(Wispfold::Profile::RelaxMode));
    const GameFramework::HighScoresTable table(&reader, &files, folder);
    ASSERT_FALSE(table.GetEntries().empty());
    EXPECT_EQ(table.GetEntries()[0]->name, u"Ann");
    EXPECT_GT(script.scoreAtGameOver, 0u);
    EXPECT_EQ(table.GetEntries()[0]->score, script.scoreAtGameOver);

    const std::string log = ReadUserFile("Quellhaven.html");
    EXPECT_EQ(log.find("Error: "), std::string::npos);
    for (std::size_t at = log.find("Warning: "); at != std::string::npos; at = log.find("Warning: ", at + 1)) {
        const std::string line = log.substr(at, log.find('\n', at) - at);
        // Warnings about the data name their file or the manager that read it.
        for (const char* about : {"\"", "Texture", "Model", "Sound", "Text", "Font"})
            EXPECT_EQ(line.find(about), std::string::npos) << "a warning about the data: " << line;
    }

    std::set<std::string> manifest;
    for (const Content::ManifestEntry& entry : Content::ContentTool().Manifest())
        manifest.insert(entry.name);
    const std::vector<std::string> opened = OpenedDataFiles();
    EXPECT_GT(opened.size(), 100u);
    for (const std::string& name : opened)
        EXPECT_TRUE(manifest.count(name)) << name << " is not among the content tool's files";
}

} // namespace
