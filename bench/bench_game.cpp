// The whole game through its loader at 1024 x 768 on the GL back end (SDL offscreen, llvmpipe), over the content
// tool's data of this build (brought up to date at run time).
//
// Cold start: a child process of this program starts the game on the real clock, timed from just before the spawn
// to the first presented frame and to the main menu having appeared in full (it takes clicks then; the logo's
// fixed 2.5 s lie on the way), with the shared data's load (RunLoading) timed where the loading window runs it,
// and the start's parts (window and GL context, fonts, text tables, ..., the main menu's fade-in) in wall-clock
// and main-thread processor milliseconds.
// Level: this process plays on a fake clock, 1/60 s a frame: main menu, map, level 1-1 in the oblique view, where
// the butterflies idle and a scripted player swaps the first usable pair through the mouse once a second, or as
// soon as the board has settled when the last swap's removals and refills take longer. 600 frames after 120
// warm-up frames, each ended by glFinish, against the same window presenting cleared frames only; beside the
// wall clock, the processor time of all threads per frame. Full screen: the same level once more in the 1920 x
// 1080 desktop-size window that shows the 1024 x 768 picture scaled to fit, against its own cleared frames.
// Memory: the peak resident set from the map's start to the level's last frame, and the resident set back in the
// main menu after each of five visits to the level.
// Prints the figures; never fails.
#include "bench/BenchSupport.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderSystem.h"
#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "framework/GUILogosWindowBase.h"
#include "framework/GUIMainMenuWindowBase.h"
#include "framework/GUIStartGameLogicWindowBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIGameCursor.h"
#include "game/app/GUIGameLoadingWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/Game.h"
#include "game/app/GameLoader.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "platform/testing.h"
#include "tests/game/app/LevelSession.h"
#include "tests/game/app/game/FrameLoop.h"
#include "tests/game/play/support/BoardSolver.h"
#include "tests/support/LinkedDataFolder.h"
#include "tools/content/ContentTool.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using BenchSupport::Median;
using BenchSupport::Milliseconds;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWarmUpFrames = 120;
constexpr int kMeasuredFrames = 600;
constexpr int kFramesPerSwap = 60; // a swap a second
constexpr int kLevelVisits = 5;
constexpr int kMapFrames = 120; // the map shows before its start is taken
constexpr double kFrameTime = 1.0 / 60.0;
constexpr double kTargetFps = 60.0;
constexpr double kTargetColdStartMs = 1000.0;
constexpr const char* kColdStartArgument = "--cold-start";

// A line of /proc/self/status ("VmHWM", "VmRSS") in megabytes.
double StatusMegabytes(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    }
    return 0.0;
}

// From now on VmHWM counts the peak of the resident set anew.
void ResetPeakResidentSet()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string oneMinute;
    file >> oneMinute;
    return oneMinute;
}

std::int64_t Nanoseconds(Clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

// The shared-data load, timed where the loading window runs it.
class TimedLoadingWindow : public Wispfold::GUIGameLoadingWindow
{
public:
    TimedLoadingWindow(KeystrelEngine::Engine* engine, Wispfold::GUIBackgroundWindow* background,
                       Wispfold::GUIGameCursor* cursor, double& seconds)
        : GUIGameLoadingWindow(engine, background, cursor), m_seconds(seconds)
    {
    }

    void Update() override
    {
        const bool loaded = IsDone();
        const Clock::time_point start = Clock::now();
        GUIGameLoadingWindow::Update();
        if (!loaded && IsDone())
            m_seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }

private:
    double& m_seconds;
};

// The main thread's processor time so far, in milliseconds: beside the wall clock, it shows a part's own work
// however loaded the machine is.
double ThreadMilliseconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_nsec) / 1e6;
}

// One part of the start: wall-clock and main-thread processor milliseconds.
struct StartPart
{
    std::string name;
    double wallMs = 0.0;
    double threadMs = 0.0;
};

// The start's parts in the order they run.
using StartParts = std::vector<StartPart>;

// The real game with what the scripts read and request; its start's parts timed where they run.
class BenchGame : public Wispfold::Game
{
public:
    BenchGame() : Game(Wispfold::GameLoader::kProductName, Wispfold::GameLoader::kMakerName, DeferInitialize{})
    {
        StartUp();
    }

    // The engine (window, GL context, devices) is made between these two.
    void FillEngineSettings(KeystrelEngine::EngineSettings& settings) override
    {
        Game::FillEngineSettings(settings);
        m_mark = Clock::now();
    }
    void RegisterConsoleCommands() override
    {
        EndPart("window and GL context");
        Game::RegisterConsoleCommands();
    }
    void LoadFonts() override
    {
        Timed("fonts", [this] { Game::LoadFonts(); });
    }
    void LoadTexts() override
    {
        Timed("text tables", [this] { Game::LoadTexts(); });
    }
    std::unique_ptr<GameFramework::LevelManagerBase> CreateLevelManager() override
    {
        std::unique_ptr<GameFramework::LevelManagerBase> made;
        Timed("level lists", [&] { made = Game::CreateLevelManager(); });
        return made;
    }
    std::unique_ptr<GameFramework::GUILogosWindowBase> CreateLogosWindow() override
    {
        std::unique_ptr<GameFramework::GUILogosWindowBase> made;
        Timed("logo", [&] { made = Game::CreateLogosWindow(); });
        return made;
    }
    void LoadSounds() override
    {
        Timed("sounds and music", [this] { Game::LoadSounds(); });
    }
    void OnLogosResult(GameFramework::GUILogosWindowBase* window) override
    {
        if (window->m_result == GameFramework::RequestDone)
            EndPart("logo shown");
        Game::OnLogosResult(window);
    }
    void OnGameLoadingResult(GameFramework::GUILoadingWindowBase* window) override
    {
        if (window->m_result != GameFramework::RequestDone) {
            Game::OnGameLoadingResult(window);
            return;
        }
        EndPart("\"LOADING\" and shared data");
        Timed("menus made", [&] { Game::OnGameLoadingResult(window); });
    }
    // The first frame has been presented, or the main menu has appeared in full.
    void MarkFirstFrame() { EndPart("first frame"); }
    void MarkMenuShown() { EndPart("main menu faded in"); }
    const StartParts& GetStartParts() const { return m_parts; }

    std::unique_ptr<GameFramework::GUILoadingWindowBase> CreateGameLoadingWindow() override
    {
        // makes the menu background the loading window shows
        Timed("menu background", [this] { Game::CreateGameLoadingWindow(); });
        return std::make_unique<TimedLoadingWindow>(m_engine.get(), m_background.get(), &Cursor(), m_loadingSeconds);
    }

    // A player past the introduction and the tutorial's hints.
    void AddPlayer()
    {
        auto* profile = static_cast<Wispfold::Profile*>(m_profileManager->AddProfile(u"Bench"));
        profile->SetFlag(Wispfold::Profile::IntroductionPending, false);
        for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
            profile->SetTutorialHintPending(hint, false);
        m_profileManager->m_current = profile;
    }

    // The main menu has appeared in full and takes the player's requests.
    bool MainMenuShown() const
    {
        if (!m_mainMenuWindow)
            return false;
        const auto& menu = static_cast<const Wispfold::GUIMainMenuWindow&>(*m_mainMenuWindow);
        return menu.m_shown && menu.m_colour.a >= 1.0f;
    }

    void StartFromMainMenu() { m_mainMenuWindow->m_result = GameFramework::RequestStart; }
    void StartFromMap() { m_startGameLogicWindow->m_result = GameFramework::RequestStart; }
    void LeaveLevel() { m_gameLogicMenuExitWindow->m_result = GameFramework::RequestBack; }
    const Wispfold::GameLogic* Level() const { return static_cast<const Wispfold::GameLogic*>(m_gameLogic.get()); }
    double LoadingSeconds() const { return m_loadingSeconds; }

private:
    // The time since the last part ended becomes the named part.
    void EndPart(const char* name)
    {
        const Clock::time_point now = Clock::now();
        const double thread = ThreadMilliseconds();
        m_parts.push_back({name, Milliseconds(now - m_mark), thread - m_threadMark});
        m_mark = now;
        m_threadMark = thread;
    }
    // The timed part counts in neither neighbour.
    template <class Work> void Timed(const char* name, Work work)
    {
        const Clock::time_point start = Clock::now();
        const double thread = ThreadMilliseconds();
        work();
        const StartPart part{name, Milliseconds(Clock::now() - start), ThreadMilliseconds() - thread};
        m_parts.push_back(part);
        m_mark += Clock::now() - start;
        m_threadMark += part.threadMs;
    }

    double m_loadingSeconds = 0.0;
    StartParts m_parts;
    Clock::time_point m_mark = Clock::now();
    double m_threadMark = 0.0; // from the process's start
};

// Runs after every frame; false ends the game.
using Script = std::function<bool(BenchGame&)>;

// The game's loader whose loop ends each frame with glFinish and runs the script after it.
class BenchLoader : public Wispfold::GameLoader
{
public:
    BenchLoader(Script script, bool fakeClock)
        : GameLoader(nullptr, nullptr, "", SW_SHOWNORMAL, DeferRun{}), m_script(std::move(script)),
          m_fakeClock(fakeClock)
    {
        Run();
    }

    void CreateGame() override
    {
        auto game = std::make_unique<BenchGame>();
        // The offscreen window gets no focus by itself.
        PlatformTesting::InjectWindowEvent(game->GetEngine()->m_window->m_handle,
                                           PlatformTesting::WindowEvent::FocusGained);
        m_game = std::move(game);
    }

    void MessageLoop() override
    {
        GameTesting::RunFrameLoop(*m_game, m_fakeClock ? kFrameTime : 0.0, [this] {
            glFinish();
            if (m_game->GetEngine()->IsExitRequested())
                return false;
            if (!m_script(static_cast<BenchGame&>(*m_game)))
                m_game->GetEngine()->RequestExit();
            return true;
        });
    }

private:
    Script m_script;
    bool m_fakeClock;
};

// A press and a release on both cells of a usable pair, a step per frame: the mouse moves onto the cell, the left
// button goes down, then up.
class SwapPlayer
{
public:
    // Starts a swap when the board has settled and has a usable pair; whether it did.
    bool Start(const Wispfold::GameLogic& level)
    {
        using AppTesting::LevelSession;
        const Wispfold::Board& board = level.GetBoard();
        const std::optional<std::uint32_t> pair =
            TestSupport::BoardSolver::IsSettled(board) ? LevelSession::UsableMove(board) : std::nullopt;
        if (!pair)
            return false;
        m_cells = {board.GetMoveFirstCell(*pair), board.GetMoveSecondCell(*pair)};
        m_step = 0;
        return true;
    }

    void Step(const Wispfold::GameLogic& level, const KeystrelEngine::Engine& engine)
    {
        if (m_step >= kSteps)
            return;
        const int action = m_step % 3;
        if (action == 0)
            PointAt(level, *m_cells[m_step / 3], engine);
        else
            PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, action == 1);
        ++m_step;
    }

private:
    static constexpr int kSteps = 6;

    // The cell's centre in the GUI's virtual screen (y up) as pixels (y down) of the window's picture, which a
    // full-screen window shows scaled to fit, centred.
    static void PointAt(const Wispfold::GameLogic& level, const Wispfold::Cell& cell,
                        const KeystrelEngine::Engine& engine)
    {
        const Wispfold::ScreenPosition position = level.GetScene().GetScreenPosition(cell);
        const KeystrelEngine::Window& window = *engine.m_window;
        const KeystrelEngine::Camera& screen = *engine.m_gui->m_camera;
        int shownWidth = 0;
        int shownHeight = 0;
        SDL_GetWindowSize(SDL_GL_GetCurrentWindow(), &shownWidth, &shownHeight);
        const double scale = std::min(static_cast<double>(shownWidth) / window.m_width,
                                      static_cast<double>(shownHeight) / window.m_height);
        const double left = (shownWidth - window.m_width * scale) / 2.0;
        const double top = (shownHeight - window.m_height * scale) / 2.0;
        const double x = position.x / screen.m_width * window.m_width;
        const double y = window.m_height - 1 - position.y / screen.m_height * window.m_height;
        PlatformTesting::InjectMouseMotion(window.m_handle, static_cast<int>(std::lround(left + x * scale)),
                                           static_cast<int>(std::lround(top + y * scale)), 0, 0);
    }

    std::array<const Wispfold::Cell*, 2> m_cells{};
    int m_step = kSteps;
};

// Presents cleared frames in the game's window through its render system; ms per frame.
std::vector<double> ClearedFrames(KeystrelEngine::RenderSystem& render, int count)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count));
    for (int frame = 0; frame < count; ++frame) {
        const Clock::time_point start = Clock::now();
        render.Refresh();
        render.BeginScene();
        render.EndScene();
        render.SwapBuffers();
        glFinish();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return times;
}

// The processor time of every thread of the process so far (llvmpipe's included), in milliseconds: the work a
// frame costs, which the machine's load does not stretch as it does the wall clock.
double ProcessMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto milliseconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
    };
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

struct LevelFigures
{
    std::vector<double> levelMs;
    std::vector<double> clearedMs;
    double levelProcessMs = 0.0; // over the measured frames
    double clearedProcessMs = 0.0;
    double levelThreadMs = 0.0; // the main thread's part of levelProcessMs
    int swaps = 0;
    std::string level;
    bool stillRunning = false;
    double peakMegabytes = 0.0;
    double menuMegabytes = 0.0;        // before the first level
    std::vector<double> leftMegabytes; // after each level left
};

// Main menu, map, level, back to the main menu, as many times as asked; the first level is measured.
class LevelScript
{
public:
    LevelScript(LevelFigures& figures, int visits) : m_figures(figures), m_visits(visits)
    {
        m_figures.levelMs.reserve(kMeasuredFrames);
    }

    bool operator()(BenchGame& game)
    {
        const Clock::time_point now = Clock::now();
        const double frameMs = Milliseconds(now - m_last);
        m_last = now;
        switch (m_phase) {
        case Phase::Start:
            game.AddPlayer();
            m_phase = Phase::Menu;
            return true;
        case Phase::Menu:
            return InMenu(game);
        case Phase::Map:
            if (++m_frames < kMapFrames)
                return true;
            if (m_figures.leftMegabytes.empty()) {
                m_figures.menuMegabytes = StatusMegabytes("VmRSS");
                ResetPeakResidentSet();
            }
            game.StartFromMap();
            m_phase = Phase::Loading;
            return true;
        case Phase::Loading:
            if (game.Level()) {
                m_phase = Phase::Level;
                m_frames = 0;
                m_player = SwapPlayer(); // no swap of the last level goes on
                m_swapDue = false;
            }
            return true;
        case Phase::Level:
            return InLevel(game, frameMs);
        }
        return false;
    }

private:
    enum class Phase
    {
        Start,
        Menu,
        Map,
        Loading,
        Level
    };

    bool InMenu(BenchGame& game)
    {
        if (!game.MainMenuShown())
            return true;
        if (m_left > 0 && m_figures.leftMegabytes.size() < static_cast<std::size_t>(m_left))
            m_figures.leftMegabytes.push_back(StatusMegabytes("VmRSS"));
        if (m_left == m_visits)
            return false;
        game.StartFromMainMenu();
        m_phase = Phase::Map;
        m_frames = 0;
        return true;
    }

    bool InLevel(BenchGame& game, double frameMs)
    {
        const Wispfold::GameLogic& level = *game.Level();
        const bool measured = m_left == 0;
        if (measured && m_frames == kWarmUpFrames) {
            m_figures.levelProcessMs = -ProcessMilliseconds();
            m_figures.levelThreadMs = -ThreadMilliseconds();
        }
        if (measured && m_frames >= kWarmUpFrames)
            m_figures.levelMs.push_back(frameMs);
        ++m_frames;
        // A swap falls due every second and starts once the board has settled from the last one.
        m_swapDue = m_swapDue || m_frames % kFramesPerSwap == 0;
        if (m_swapDue && level.GetState() == GameFramework::GameLogicBase::LevelPlaying && m_player.Start(level)) {
            m_swapDue = false;
            m_figures.swaps += measured && m_frames > kWarmUpFrames ? 1 : 0;
        }
        m_player.Step(level, *game.GetEngine());
        if (m_frames < (measured ? kWarmUpFrames + kMeasuredFrames : kWarmUpFrames))
            return true;
        if (measured) {
            m_figures.peakMegabytes = StatusMegabytes("VmHWM");
            m_figures.stillRunning = level.GetState() == GameFramework::GameLogicBase::LevelPlaying;
            const GameFramework::LevelId id = level.GetLevel()->id;
            m_figures.level = std::to_string(id.stage + 1) + "-" + std::to_string(id.level + 1);
            const double cleared = ProcessMilliseconds();
            m_figures.levelProcessMs += cleared;
            m_figures.levelThreadMs += ThreadMilliseconds();
            m_figures.clearedMs = ClearedFrames(*game.GetEngine()->m_renderSystem, kMeasuredFrames);
            m_figures.clearedProcessMs = ProcessMilliseconds() - cleared;
        }
        game.LeaveLevel();
        ++m_left;
        m_phase = Phase::Menu;
        return true;
    }

    LevelFigures& m_figures;
    int m_visits;
    Phase m_phase = Phase::Start;
    int m_frames = 0;
    int m_left = 0; // levels entered and left
    SwapPlayer m_player;
    bool m_swapDue = false;
    Clock::time_point m_last = Clock::now();
};

// HOME and the XDG folders below base/user; the program file in base, so its data folder is base/Data.
void UseOwnFolders(const fs::path& base, const char* user)
{
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const fs::path folder = base / user / variable;
        fs::create_directories(folder);
        ::setenv(variable, folder.c_str(), 1);
    }
    PlatformTesting::SetModuleFileName((base / "bench_game").string());
    PlatformTesting::SetDesktopSize(1920, 1080);
    PlatformTesting::RecordMessageBoxes(true);
}

// A 1024 x 768 configuration without vertical sync in the user folder, windowed or in full screen (the
// desktop-size window showing the picture scaled to fit).
void WriteConfiguration(bool fullScreen)
{
    std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Tarrowby Games/Quellhaven/";
    std::replace(folder.begin(), folder.end(), '\\', '/');
    fs::create_directories(folder);
    std::ofstream(folder + "Quellhaven.ini")
        << "v_mode 1024x768x32\r\nv_fullscreen " << (fullScreen ? 1 : 0) << "\r\nv_vsync 0\r\n";
}

// The build's data brought up to date, then linked file by file below base/Data.
void PrepareData(const fs::path& base)
{
    const fs::path from = fs::path(KEYSTREL_BUILD_FOLDER) / "Data";
    const Content::ContentTool tool;
    tool.Run(from, tool.Identity(KEYSTREL_CONTENT_TOOL));
    TestSupport::LinkDataFolder(from, base / "Data");
}

// The box the loader showed instead of playing, if any.
bool ReportFailure(const BenchLoader& loader)
{
    if (loader.GetExitCode() == 0)
        return false;
    for (const PlatformTesting::MessageBoxRecord& box : PlatformTesting::RecordedMessageBoxes())
        std::printf("bench_game: the game failed (%s)\n", box.text.c_str());
    return true;
}

// The child's side of the cold start: the steady clock's readings at the first presented frame and when the main
// menu takes a click, and the seconds of RunLoading, written to the file.
int RunColdStart(const fs::path& base, const fs::path& results)
{
    UseOwnFolders(base, "cold");
    std::int64_t firstFrame = 0;
    std::int64_t menuReady = 0;
    double loading = 0.0;
    StartParts parts;
    const BenchLoader loader(
        [&](BenchGame& game) {
            if (firstFrame == 0) {
                firstFrame = Nanoseconds(Clock::now());
                game.MarkFirstFrame();
                game.AddPlayer();
            }
            if (!game.MainMenuShown())
                return true;
            menuReady = Nanoseconds(Clock::now());
            loading = game.LoadingSeconds();
            game.MarkMenuShown();
            parts = game.GetStartParts();
            return false;
        },
        false);
    if (ReportFailure(loader))
        return 0;
    std::ofstream file(results);
    file << firstFrame << ' ' << menuReady << ' ' << loading << '\n';
    for (const StartPart& part : parts)
        file << part.wallMs << ' ' << part.threadMs << ' ' << part.name << '\n';
    return 0;
}

struct ColdStartFigures
{
    double firstFrameMs = 0.0;
    double loadingMs = 0.0;
    double menuMs = 0.0;
    StartParts parts;
};

// Spawns this program for the cold start; false when it gave no figures.
bool MeasureColdStart(const fs::path& base, ColdStartFigures& figures)
{
    const fs::path results = base / "cold_start.txt";
    fs::remove(results);
    UseOwnFolders(base, "cold");
    WriteConfiguration(false);
    std::string program = fs::read_symlink("/proc/self/exe").string();
    std::string argument = kColdStartArgument;
    std::string resultPath = results.string();
    char* arguments[] = {program.data(), argument.data(), resultPath.data(), nullptr};
    pid_t child = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream file(results);
    std::int64_t firstFrame = 0;
    std::int64_t menuReady = 0;
    double loading = 0.0;
    if (!(file >> firstFrame >> menuReady >> loading))
        return false;
    figures.firstFrameMs = static_cast<double>(firstFrame - Nanoseconds(start)) / 1e6;
    figures.menuMs = static_cast<double>(menuReady - Nanoseconds(start)) / 1e6;
    figures.loadingMs = loading * 1000.0;
    StartPart part;
    while (file >> part.wallMs >> part.threadMs && std::getline(file >> std::ws, part.name))
        figures.parts.push_back(part);
    return true;
}

// The parts, four to a line: wall-clock milliseconds, the main thread's processor milliseconds in brackets.
void PrintStartParts(const StartParts& parts)
{
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::printf("%s%s %.0f (%.0f)", i % 4 == 0 ? "    " : ", ", parts[i].name.c_str(), parts[i].wallMs,
                    parts[i].threadMs);
        if (i % 4 == 3 || i + 1 == parts.size())
            std::printf("\n");
    }
}

double Mean(const std::vector<double>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double Percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() * 99 / 100];
}

void PrintProcessTime(const LevelFigures& level)
{
    const double frames = static_cast<double>(kMeasuredFrames);
    std::printf("  processor time    %8.2f ms/frame in the level (%.2f of them the main thread's), %.2f cleared (all "
                "threads; ratio %.2f)\n",
                level.levelProcessMs / frames, level.levelThreadMs / frames, level.clearedProcessMs / frames,
                level.levelProcessMs / std::max(level.clearedProcessMs, 1e-3));
}

// False, after saying so, when the level was never reached and there is nothing to print.
bool Reached(const LevelFigures& level, const char* label)
{
    if (!level.levelMs.empty() && !level.clearedMs.empty())
        return true;
    std::printf("  %-17s no figures (the level was not reached)\n", label);
    return false;
}

// Beside the windowed figures: the same level in the 1920 x 1080 desktop-size window.
void PrintFullScreen(const LevelFigures& level)
{
    if (!Reached(level, "full screen"))
        return;
    const double levelMean = Mean(level.levelMs);
    const double clearedMean = Mean(level.clearedMs);
    std::printf("  full screen       %8.1f fps level %s, %.1f fps cleared frames (1024x768 scaled into 1920x1080); "
                "level / cleared %.2f; target >= %.0f fps: %s\n",
                1000.0 / levelMean, level.level.c_str(), 1000.0 / clearedMean, levelMean / clearedMean, kTargetFps,
                1000.0 / levelMean >= kTargetFps ? "met" : "not met");
    PrintProcessTime(level);
}

void PrintFigures(const ColdStartFigures& cold, bool coldMeasured, const LevelFigures& level,
                  const std::string& renderer, const std::string& loadBefore)
{
    std::printf("bench_game: 1024x768 windowed, %s, LP_NUM_THREADS=%s, %u cores, load average %s before, %s after\n",
                renderer.c_str(), std::getenv("LP_NUM_THREADS"), std::thread::hardware_concurrency(),
                loadBefore.c_str(), LoadAverage().c_str());
    if (coldMeasured) {
        std::printf("  cold start        %8.0f ms to the first presented frame + %.0f ms RunLoading = %.0f ms "
                    "(target <= %.0f)\n",
                    cold.firstFrameMs, cold.loadingMs, cold.firstFrameMs + cold.loadingMs, kTargetColdStartMs);
        std::printf("  main menu ready   %8.0f ms after the spawn (the logo's fixed 2.5 s included)\n", cold.menuMs);
        PrintStartParts(cold.parts);
    } else {
        std::printf("  cold start        no figures (the child process failed)\n");
    }
    if (!Reached(level, "level"))
        return;
    const double levelMean = Mean(level.levelMs);
    const double clearedMean = Mean(level.clearedMs);
    std::printf("  level %-4s        %8.1f fps, %6.2f ms/frame mean, %6.2f median, %6.2f 99th percentile; %zu frames "
                "after %d, %d swaps, %s (oblique view)\n",
                level.level.c_str(), 1000.0 / levelMean, levelMean, Median(level.levelMs), Percentile99(level.levelMs),
                level.levelMs.size(), kWarmUpFrames, level.swaps, level.stillRunning ? "still running" : "ended");
    std::printf("  cleared frames    %8.1f fps, %6.2f ms/frame mean, %6.2f median\n", 1000.0 / clearedMean, clearedMean,
                Median(level.clearedMs));
    std::printf("  level / cleared   %8.2f; target >= %.0f fps: %s\n", levelMean / clearedMean, kTargetFps,
                1000.0 / levelMean >= kTargetFps ? "met" : "not met");
    PrintProcessTime(level);
    std::printf("  memory            %8.1f MB resident in the main menu, peak %.1f MB in the level\n",
                level.menuMegabytes, level.peakMegabytes);
    std::printf("  after each visit  ");
    for (const double megabytes : level.leftMegabytes)
        std::printf(" %.1f", megabytes);
    std::printf(" MB resident in the main menu; growth per visit");
    for (std::size_t visit = 1; visit < level.leftMegabytes.size(); ++visit)
        std::printf(" %+.1f", level.leftMegabytes[visit] - level.leftMegabytes[visit - 1]);
    std::printf("\n");
}

// The game on the fake clock in its own user folder, the level visited as often as asked; the first renderer's
// name goes to renderer.
void PlayLevel(const fs::path& base, bool fullScreen, int visits, LevelFigures& figures, std::string& renderer)
{
    UseOwnFolders(base, fullScreen ? "full_screen" : "level");
    WriteConfiguration(fullScreen);
    PlatformTesting::UseFakeClock();
    {
        LevelScript script(figures, visits);
        const BenchLoader loader(
            [&](BenchGame& game) {
                if (const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
                    name && renderer.empty())
                    renderer = name;
                return script(game);
            },
            true);
        ReportFailure(loader);
    }
    PlatformTesting::UseRealClock();
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    ::setenv("LP_NUM_THREADS", "8", 0);
    const fs::path base = fs::temp_directory_path() / "bench_game";
    if (argc == 3 && std::string(argv[1]) == kColdStartArgument)
        return RunColdStart(base, argv[2]);

    const std::string loadBefore = LoadAverage();
    try {
        fs::remove_all(base);
        PrepareData(base);
    } catch (const std::exception& error) {
        std::printf("bench_game: no data (%s)\n", error.what());
        return 0;
    }
    ColdStartFigures cold;
    const bool coldMeasured = MeasureColdStart(base, cold);

    LevelFigures windowed;
    LevelFigures fullScreen;
    std::string renderer;
    PlayLevel(base, false, kLevelVisits, windowed, renderer);
    PlayLevel(base, true, 1, fullScreen, renderer);
    PrintFigures(cold, coldMeasured, windowed, renderer, loadBefore);
    PrintFullScreen(fullScreen);
    return 0;
}
