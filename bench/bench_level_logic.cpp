// A level running on the play's largest board, the 91-cell hexagon of the board tests, over the content tool's data
// on the recording device, on one core. A scripted player in relax mode swaps the first usable pair through the GUI
// cursor and the left button whenever the board has settled; a won level starts anew. Prints the microseconds per
// frame of the game logic's update (camera, board, butterflies, bonuses, tutorial, floating texts) with the
// character's, median, mean and 99th percentile against the target, and the engine's model pass beside it with its
// allocations per frame and the draws the device recorded (each recorded draw keeps a copy of its indices, one
// allocation of the recording device's own; the recording is cleared after every frame).
#include "bench/BenchSupport.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/SpriteGroupManager.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem.h"
#include "framework/AudioPlayer.h"
#include "framework/GUILoadingWindowBase.h"
#include "game/app/GameData.h"
#include "game/app/LevelResources.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/app/ProfileTutorialFlags.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/LevelSession.h"
#include "tests/game/play/support/BoardSolver.h"
#include "tests/game/play/support/HexagonLevel.h"
#include "tests/support/LinkedDataFolder.h"
#include "tests/tools/content/FontList.h"
#include "tools/content/ContentTool.h"
#include "tools/content/world/LevelGenerator.h"
#include "tools/content/world/WorldGrid.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <numeric>
#include <optional>
#include <vector>

namespace fs = std::filesystem;
using BenchSupport::Median;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFrames = 3600; // a minute of play
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr double kTargetMicroseconds = 1000.0;
constexpr const char* kBoard = "bench_hexagon";

// The hexagon's cells on the generated boards' grid, centred on the origin as the generated boards are.
Formats::BoardFile HexagonBoard()
{
    const Wispfold::LevelData level = TestSupport::MakeHexagonLevel(1.0f, true);
    Formats::BoardFile board;
    board.gridWidth = level.gridWidth;
    board.gridHeight = level.gridHeight;
    const float middleX = 0.5f * static_cast<float>(level.gridWidth - 1);
    const float middleY = 0.5f * static_cast<float>(level.gridHeight - 1);
    for (const Wispfold::BoardCellRecord& record : level.cellRecords) {
        Formats::BoardFileCell cell;
        cell.kind = record.kind;
        cell.closed = record.closed;
        cell.blocked = record.blocked;
        cell.x = record.x;
        cell.y = record.y;
        cell.position = {Content::WorldGrid::kColumnStep * (static_cast<float>(record.x) - middleX),
                         Content::WorldGrid::kRowStep * (static_cast<float>(record.y) - middleY), 0.0f};
        cell.rotation = {0.0f, 0.0f, 0.0f, 1.0f};
        board.cells.push_back(cell);
    }
    return board;
}

// The build's data brought up to date, then linked file by file below base/Data, with the hexagon's board and
// camera files beside the generated boards.
void PrepareData(const fs::path& base)
{
    const fs::path from = fs::path(KEYSTREL_BUILD_FOLDER) / "Data";
    const Content::ContentTool tool;
    tool.Run(from, tool.Identity(KEYSTREL_CONTENT_TOOL));
    const fs::path to = base / "Data";
    TestSupport::LinkDataFolder(from, to);
    const Formats::BoardFile board = HexagonBoard();
    BenchSupport::WriteBytes(to / "boards" / (std::string(kBoard) + ".blf"), Formats::BuildBoardFile(board));
    const std::string text = Content::LevelGenerator::CameraText(board);
    BenchSupport::WriteBytes(to / "boards" / (std::string(kBoard) + "_camera.ini"), {text.begin(), text.end()});
}

// HOME and the XDG folders below base, so that the profiles and settings stay out of the user's.
void UseOwnFolders(const fs::path& base)
{
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const fs::path folder = base / variable;
        fs::create_directories(folder);
        ::setenv(variable, folder.c_str(), 1);
    }
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    PlatformTesting::UseRecordingDevice(true);
    PlatformTesting::SetDesktopSize(1920, 1080);
    PlatformTesting::UseManualSoundOutput(22050);
}

std::unique_ptr<KeystrelEngine::Engine> MakeEngine(const fs::path& base)
{
    KeystrelEngine::EngineSettings settings;
    settings.applicationName = "Quellhaven";
    settings.version = 100;
    settings.installPath = base.string();
    settings.dataFolder = "Data";
    settings.videoMode = "800x600x32";
    settings.forceVideoMode = true;
    auto engine = std::make_unique<KeystrelEngine::Engine>(settings);
    KeystrelEngine::GUIManager& gui = *engine->m_gui;
    gui.m_camera->m_width = 800.0f;
    gui.m_camera->m_height = 600.0f;
    ContentTesting::LoadFonts(*gui.m_fonts, ContentTesting::ReadFontList(*engine->m_files, "en"), true);
    gui.m_texts->LoadTexts("ui\\texts\\en\\character.ini");
    return engine;
}

struct ModelPass
{
    double microseconds = 0.0;
    std::uint64_t allocations = 0;
    std::size_t draws = 0;
};

// The engine's draw and end of frame as Engine::EndFrame runs them (without presenting), the model pass timed and
// its allocations counted.
ModelPass DrawFrame(KeystrelEngine::Engine& engine)
{
    engine.m_cameras->Update();
    engine.m_particleSystems->UpdateAll();
    engine.m_spriteGroups->UpdateAll();
    engine.m_gui->Draw();
    engine.m_lights->Apply();
    engine.m_shaders->Update();
    PlatformTesting::ClearRecording();
    const std::uint64_t allocations = BenchSupport::Allocations();
    const Clock::time_point start = Clock::now();
    engine.m_models->RenderAll();
    const ModelPass pass{std::chrono::duration<double, std::micro>(Clock::now() - start).count(),
                         BenchSupport::Allocations() - allocations, PlatformTesting::RecordedDraws().size()};
    if (engine.m_soundSystem)
        engine.m_soundSystem->Refresh();
    if (engine.m_soundManager)
        engine.m_soundManager->Update(true);
    engine.m_controls->EndFrame();
    engine.m_config->EndFrame();
    return pass;
}

struct Press
{
    const Wispfold::Cell* cell;
    bool held;
};

// A press and a release on both cells of the first pair whose cells are neither closed nor blocked, once the
// board has settled; nothing otherwise.
void QueueSwap(const Wispfold::Board& board, std::deque<Press>& presses)
{
    using AppTesting::LevelSession;
    const std::optional<std::uint32_t> pair =
        TestSupport::BoardSolver::IsSettled(board) ? LevelSession::UsableMove(board) : std::nullopt;
    if (!pair)
        return;
    const Wispfold::Cell* first = board.GetMoveFirstCell(*pair);
    const Wispfold::Cell* second = board.GetMoveSecondCell(*pair);
    presses.insert(presses.end(), {{first, true}, {first, false}, {second, true}, {second, false}});
}

} // namespace

int main()
{
    KeystrelEngine::RandomSeed = 20240601;
    const fs::path base = fs::temp_directory_path() / "bench_level_logic";
    std::unique_ptr<KeystrelEngine::Engine> engine;
    try {
        UseOwnFolders(base);
        PrepareData(base);
        engine = MakeEngine(base);
    } catch (const std::exception& error) {
        std::printf("bench_level_logic: no data or device (%s)\n", error.what());
        return 0;
    } catch (const KeystrelEngine::Error& error) {
        std::printf("bench_level_logic: no data or device (%s)\n", error.GetText().c_str());
        return 0;
    }

    std::int32_t cameraType = 1;
    float cameraValue = 1.0f;
    KeystrelEngine::Config& config = *engine->m_config;
    config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &cameraType, false);
    config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &cameraValue, false);
    GameFramework::AudioPlayer player(engine->m_config.get(), engine->m_soundManager.get(), engine->m_timers.get(),
                                      1.0f, 1.0f);
    const std::string userFolder = (base / "HOME" / "Quellhaven").string();
    Wispfold::ProfileManager profiles(engine->m_log.get(), engine->m_files.get(), &player, userFolder);
    auto* profile = static_cast<Wispfold::Profile*>(profiles.AddProfile(u"Bench"));
    profiles.m_current = profile;
    for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
        profile->SetTutorialHintPending(hint, false);
    Wispfold::ProfileTutorialFlags flags(profiles);
    const GameFramework::DataKeeperServices services{engine->m_log.get(),          engine->m_files.get(),
                                                     engine->m_shaders.get(),      engine->m_models.get(),
                                                     engine->m_spriteGroups.get(), engine->m_particleSystems.get()};
    Wispfold::GameData data(services, engine->m_gui.get());
    GameFramework::GUILoadingWindowBase loading({engine->m_log.get(), engine->m_timers.get(), engine->m_window.get(),
                                                 engine->m_renderSystem.get(), engine->m_soundManager.get()});
    loading.Open(&data);
    loading.RunLoading();
    Wispfold::LevelManager catalogue(engine->m_log.get(), engine->m_files.get());
    catalogue.Load();
    const KeystrelEngine::Model* noQuad = nullptr;
    KeystrelEngine::GUIWindow* menuTop = engine->m_gui->CreateWindow(
        KeystrelEngine::GUIWindow::kShown | KeystrelEngine::GUIWindow::kLayer20, {}, {}, noQuad, nullptr);
    Wispfold::Character character(*engine, catalogue, profiles, player,
                                  Wispfold::MakeCharacterResources(data, menuTop));

    // The hexagon in the spring's environment with five colours; its stage is the last one of the catalogue.
    Wispfold::LevelRecord level;
    level.id = {catalogue.GetStageCount() - 1, 0};
    level.boardName = kBoard;
    level.cameraName = std::string(kBoard) + "_camera";
    level.colourCount = Wispfold::LevelManager::kMaxColourCount;
    level.environmentName = "spring";
    level.levelFactor = 1.0f;
    GameFramework::StageRecord& stage = catalogue.GetStage(level.id.stage);
    Wispfold::GameLogicData levelData(services, &stage, &level);
    levelData.Load();
    Wispfold::GameLogicShared shared;
    shared.audio = &player;
    Wispfold::FillLevelResources(data, shared.play, shared.cells);
    shared.tutorialTip = data.GetModel("game_objects\\cell\\cell_tip.mlf");
    shared.tutorialFlags = &flags;
    shared.relaxMode = true;
    shared.character = &character;

    std::unique_ptr<Wispfold::GameLogic> logic;
    std::deque<Press> presses;
    std::vector<double> updates;
    std::vector<double> passes;
    std::uint64_t passAllocations = 0;
    std::size_t passDraws = 0;
    updates.reserve(kFrames);
    passes.reserve(kFrames);
    int levels = 0;
    std::uint32_t swaps = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
        if (!logic || logic->GetState() != GameFramework::GameLogicBase::LevelPlaying) {
            logic.reset();
            logic = std::make_unique<Wispfold::GameLogic>(*engine, shared, levelData, &stage, &level, 7);
            presses.clear();
            engine->m_gui->m_defaultCursor.m_x = 400.0f;
            engine->m_gui->m_defaultCursor.m_y = 300.0f;
            ++levels;
        }
        engine->Update();
        engine->m_timers->m_frameTime = kFrameTime;
        if (presses.empty())
            QueueSwap(logic->GetBoard(), presses);
        // Between swaps the cursor hovers where it last pressed.
        const Press press = presses.empty() ? Press{nullptr, false} : presses.front();
        if (!presses.empty()) {
            presses.pop_front();
            swaps += presses.empty() ? 1 : 0;
        }
        KeystrelEngine::GUICursor& cursor = engine->m_gui->m_defaultCursor;
        if (press.cell) {
            const Wispfold::ScreenPosition point = logic->GetScene().GetScreenPosition(*press.cell);
            cursor.m_x = point.x;
            cursor.m_y = point.y;
        }
        engine->m_controls->SetKeyState("MOUSE1", press.held);
        const Clock::time_point start = Clock::now();
        logic->Update();
        character.Update();
        updates.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        const ModelPass pass = DrawFrame(*engine);
        passes.push_back(pass.microseconds);
        passAllocations += pass.allocations;
        passDraws += pass.draws;
    }
    const std::size_t cells = logic->GetBoard().GetCells().size();
    const std::uint32_t mana = logic->GetBoard().GetManaProgress();
    const std::uint32_t target = logic->GetBoard().GetManaTarget();
    const std::uint32_t drawn = engine->m_models->m_drawnModels;
    logic.reset();
    engine->m_gui->DeleteWindow(menuTop);

    const double mean = std::accumulate(updates.begin(), updates.end(), 0.0) / static_cast<double>(updates.size());
    const double median = Median(updates);
    std::sort(updates.begin(), updates.end());
    std::printf("bench_level_logic: %zu cells, %d frames of 1/60 s, %u swaps, %d level starts (relax mode), mana %u of "
                "%u at the end\n",
                cells, kFrames, swaps, levels, mana, target);
    std::printf("  logic update      %8.1f us/frame median, %8.1f mean, %8.1f 99th percentile\n", median, mean,
                updates[updates.size() * 99 / 100]);
    std::printf("  update / target   %8.2f (target: under %.0f us on one core)\n", mean / kTargetMicroseconds,
                kTargetMicroseconds);
    std::printf("  model pass        %8.1f us/frame median, %u models drawn (recording device)\n", Median(passes),
                drawn);
    std::printf("  allocations       %8.1f per frame in the model pass, %.1f draws recorded per frame\n",
                static_cast<double>(passAllocations) / kFrames, static_cast<double>(passDraws) / kFrames);
    return 0;
}
