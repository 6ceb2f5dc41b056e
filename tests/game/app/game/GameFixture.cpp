#include "tests/game/app/game/GameFixture.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "framework/GUIContinueGameLogicWindowBase.h"
#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIExitWindowBase.h"
#include "framework/GUIGameCompleteWindowBase.h"
#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicPauseWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
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
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIIntroductionWindow.h"
#include "game/app/GUILogosWindow.h"
#include "game/app/GUIRelaxWindow.h"
#include "game/app/GUIUpgradeWindow.h"
#include "game/app/GameLoader.h"
#include "game/app/Profile.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"
#include "tests/game/app/game/FrameLoop.h"

#include <SDL_mouse.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <utility>

namespace GameTesting {
namespace {

using Wispfold::GameLoader;

// The game's loader whose loop runs the steps between frames.
class ScriptedLoader : public GameLoader
{
public:
    explicit ScriptedLoader(std::vector<Step> steps)
        : GameLoader(nullptr, nullptr, "", SW_SHOWNORMAL, DeferRun{}), m_steps(std::move(steps))
    {
        Run();
        // A game that ends well on its own before the script's last step leaves the checks of the steps after it
        // unrun; a last step without an action only waits for that end. (An error's end shows in the exit code.)
        const bool waitsForTheEnd = m_next + 1 == m_steps.size() && !m_steps.back().then;
        if (frames > 0 && GetExitCode() == 0 && m_next < m_steps.size() && !waitsForTheEnd)
            ADD_FAILURE() << "the game ended before step \"" << m_steps[m_next].name << "\"";
    }

    void CreateGame() override
    {
        auto game = std::make_unique<TestedGame>();
        // The offscreen window gets no focus by itself.
        PlatformTesting::InjectWindowEvent(game->Window().m_handle, PlatformTesting::WindowEvent::FocusGained);
        m_game = std::move(game);
    }

    void MessageLoop() override
    {
        RunFrameLoop(*m_game, kFrameTime, [this] {
            ++frames;
            if (m_game->GetEngine()->IsExitRequested())
                return false;
            RunSteps(static_cast<TestedGame&>(*m_game));
            return true;
        });
    }

    int frames = 0;

private:
    // The steps whose conditions hold now act, in order; the game ends after the last or at a step's limit.
    void RunSteps(TestedGame& game)
    {
        while (m_next < m_steps.size() && m_steps[m_next].until(game)) {
            if (m_steps[m_next].then)
                m_steps[m_next].then(game);
            ++m_next;
            m_waited = 0;
        }
        if (m_next == m_steps.size()) {
            game.GetEngine()->RequestExit();
        } else if (++m_waited > m_steps[m_next].frameLimit) {
            ADD_FAILURE() << "step \"" << m_steps[m_next].name << "\" not reached in " << m_steps[m_next].frameLimit
                          << " frames";
            game.GetEngine()->RequestExit();
        }
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_waited = 0;
};

class ProbedLogosWindow : public Wispfold::GUILogosWindow
{
public:
    ProbedLogosWindow(KeystrelEngine::Engine* engine, const std::function<void()>& probe)
        : GUILogosWindow(engine), m_probe(probe)
    {
    }

    void Update() override
    {
        if (m_probe)
            m_probe();
        GUILogosWindow::Update();
    }

private:
    const std::function<void()>& m_probe; // the game's
};

// Where the control's widget takes clicks, in the window's pixels (y down).
POINT PixelOf(TestedGame& game, const Wispfold::GUIControl& control)
{
    const auto [x, y] = AppTesting::ClickPoint(*control.GetWidget());
    const KeystrelEngine::Window& window = game.Window();
    const KeystrelEngine::Camera& screen = *game.GetEngine()->m_gui->m_camera;
    return {static_cast<LONG>(std::lround(x / screen.m_width * static_cast<float>(window.m_width))),
            static_cast<LONG>(std::lround(static_cast<float>(window.m_height) * (1.0f - y / screen.m_height)))};
}

} // namespace

TestedGame::TestedGame() : Game(GameLoader::kProductName, GameLoader::kMakerName, DeferInitialize{})
{
    StartUp();
}

std::unique_ptr<GameFramework::GUILogosWindowBase> TestedGame::CreateLogosWindow()
{
    return std::make_unique<ProbedLogosWindow>(m_engine.get(), frameworkWindowsProbe);
}

std::vector<std::uint32_t*> TestedGame::ResultFields() const
{
    std::vector<std::uint32_t*> fields;
    const auto add = [&fields](const auto&... windows) {
        ((windows ? fields.push_back(&windows->m_result) : void()), ...);
    };
    add(GetUpgradeWindow(), GetIntroductionWindow(), GetRelaxWindow());
    add(m_logosWindow, m_gameLoadingWindow, m_welcomeWindow, m_exitWindow, m_mainMenuWindow, m_profilesWindow,
        m_gameLogicLoadingWindow, m_newProfileWindow, m_renameProfileWindow, m_deleteProfileWindow,
        m_profileNameConflictWindow, m_startGameLogicWindow, m_continueGameLogicWindow, m_highScoresWindow,
        m_optionsWindow, m_helpWindow, m_gameLogicWindow, m_gameLogicPauseWindow, m_gameLogicMenuWindow,
        m_gameLogicMenuExitWindow, m_gameLogicGameExitWindow, m_levelCompleteWindow, m_stageCompleteWindow,
        m_gameCompleteWindow, m_gameOverWindow);
    return fields;
}

std::array<const Wispfold::GUIMenuWindow*, TestedGame::kMenuNames.size()> TestedGame::MenuWindows() const
{
    const auto menus = [](const auto*... windows) {
        return std::array{dynamic_cast<const Wispfold::GUIMenuWindow*>(windows)...};
    };
    return menus(m_welcomeWindow.get(), m_exitWindow.get(), m_mainMenuWindow.get(), m_profilesWindow.get(),
                 m_newProfileWindow.get(), m_renameProfileWindow.get(), m_deleteProfileWindow.get(),
                 m_profileNameConflictWindow.get(), m_startGameLogicWindow.get(), m_continueGameLogicWindow.get(),
                 m_highScoresWindow.get(), m_optionsWindow.get(), m_helpWindow.get(), m_gameCompleteWindow.get(),
                 GetIntroductionWindow(), GetRelaxWindow(), m_gameLogicPauseWindow.get(), m_gameLogicMenuWindow.get(),
                 m_gameLogicMenuExitWindow.get(), m_gameLogicGameExitWindow.get(), m_levelCompleteWindow.get(),
                 m_gameOverWindow.get());
}

void TestedGame::UpdateWindows()
{
    Game::UpdateWindows();
    if (windowsUpdatedProbe)
        windowsUpdatedProbe();
}

bool Clicker::Step(TestedGame& game, const Wispfold::GUIControl& control)
{
    if (m_phase == 0) {
        const POINT at = PixelOf(game, control);
        PlatformTesting::InjectMouseMotion(game.Window().m_handle, at.x, at.y, 1, 1);
    } else {
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, m_phase == 1);
    }
    m_phase = (m_phase + 1) % 3;
    return m_phase == 0;
}

bool Always(TestedGame&)
{
    return true;
}

std::function<bool(TestedGame&)> Frames(int count)
{
    return [count, asked = 0](TestedGame&) mutable { return ++asked == count; };
}

std::function<bool(TestedGame&)> NextFrame()
{
    return Frames(2);
}

std::vector<Step> ClickAfter(Step step)
{
    const auto button = [](bool down) {
        return [down](TestedGame&) { PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, down); };
    };
    const std::string name = step.name;
    return {std::move(step),
            {name + ": press", NextFrame(), button(true)},
            {name + ": release", NextFrame(), button(false)}};
}

std::vector<Step> Join(std::vector<std::vector<Step>> parts)
{
    std::vector<Step> steps;
    for (auto& part : parts)
        steps.insert(steps.end(), part.begin(), part.end());
    return steps;
}

bool LevelRuns(TestedGame& game)
{
    return game.m_gameLogic != nullptr;
}

Wispfold::Profile& Current(const TestedGame& game)
{
    return static_cast<Wispfold::Profile&>(*game.m_profileManager->m_current);
}

Step NewPlayer(bool toldTheStory)
{
    return {"profile", Always, [toldTheStory](TestedGame& game) {
                game.m_profileManager->m_current = game.m_profileManager->AddProfile(u"Ann");
                game.m_profileManager->Save(); // the list names the new player, as the game's windows save it
                Current(game).SetFlag(Wispfold::Profile::IntroductionPending, !toldTheStory);
            }};
}

std::vector<Step> StartLevel(const std::string& name, const std::function<void(TestedGame&)>& then)
{
    return {Request(name + ": main menu", MainMenuShown, &TestedGame::m_mainMenuWindow, GameFramework::RequestStart),
            Request(name + ": map", &TestedGame::m_startGameLogicWindow, GameFramework::RequestStart),
            {name, LevelRuns, then}};
}

bool MainMenuShown(TestedGame& game)
{
    return FullyShown(game.m_mainMenuWindow);
}

GameFixture::GameFixture()
{
    PlatformTesting::RecordMessageBoxes(true);
    AppTesting::LinkDataFolder();
    std::filesystem::create_directories(UserFolder());
}

GameFixture::~GameFixture()
{
    PlatformTesting::RecordMessageBoxes(false);
}

int GameFixture::Play(std::vector<Step> steps)
{
    const ScriptedLoader loader(std::move(steps));
    frames = loader.frames;
    return loader.GetExitCode();
}

bool GameFixture::HadNoRenderDevice() const
{
    const auto& boxes = PlatformTesting::RecordedMessageBoxes();
    return frames == 0 && !boxes.empty() &&
           std::ranges::all_of(boxes, [](const auto& box) { return TestSupport::IsNoRenderDevice(box.text); });
}

std::string GameFixture::MessageBoxTexts()
{
    std::string texts;
    for (const PlatformTesting::MessageBoxRecord& box : PlatformTesting::RecordedMessageBoxes())
        texts += (texts.empty() ? "" : "; ") + box.caption + ": " + box.text;
    return texts;
}

std::string GameFixture::UserFolder()
{
    std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Tarrowby Games/Quellhaven/";
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder;
}

std::string GameFixture::ReadUserFile(const std::string& name)
{
    const TestSupport::Bytes bytes = TestSupport::ReadFile(UserFolder() + name);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace GameTesting
