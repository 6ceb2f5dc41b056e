// The board's visible objects on the 91-cell hexagon of the board tests, over the recording device, on one core:
// every butterfly resting (and flapping when its idle countdown runs out) with its shadow, a token on every
// fifth butterfly, a selected cell with its ring. Prints the microseconds per frame of the objects' update (the
// cells' tints and the rings, the butterflies and their shadows, the tokens), median and mean against the
// target, and the engine's model pass beside it.
#include "bench/BenchSupport.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/SpriteGroupManager.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/BonusManager.h"
#include "game/play/GUIGameLogicTextManager.h"
#include "game/play/GameBoardWorld.h"
#include "game/play/ItemManager.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/play/support/HexagonLevel.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ParticleFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <vector>

using namespace KeystrelEngine;
using BenchSupport::EngineName;
using BenchSupport::Median;

namespace {

constexpr int kFrames = 1200; // 20 s: the tokens live 25
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr double kTargetMicroseconds = 500.0;

void WriteBytes(const std::filesystem::path& path, const Formats::Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The model and an untextured description beside it; returns the engine name.
std::string WriteModel(const std::filesystem::path& folder, const std::string& stem, const Formats::ModelFile& file)
{
    WriteBytes(folder / (stem + ".mlf"), Formats::BuildModelFile(file));
    WriteBytes(folder / (stem + ".srf"), Formats::BuildShaderFile({}));
    return EngineName(folder / (stem + ".mlf"));
}

std::string WriteParticles(const std::filesystem::path& folder, const std::string& stem)
{
    Formats::ParticleFile file;
    file.rate = {4, 4, 4, 4, 4, 4};
    file.interpolate = 1;
    WriteBytes(folder / (stem + ".psf"), Formats::BuildParticleFile(file));
    WriteBytes(folder / (stem + ".srf"), Formats::BuildShaderFile({}));
    return EngineName(folder / (stem + ".psf"));
}

// A cell: two triangles spanning a hexagon's box of radius 1, 0.2 high.
Formats::ModelFile CellFile()
{
    Formats::ModelFile file;
    file.flags = Model::kStatic | Model::kTriangleList | Model::kShown;
    file.indices = {0, 1, 2, 0, 2, 3};
    file.vertices = {{0, 0, {0, 0, 1}, {-1, -0.87f, 0.2f}},
                     {1, 0, {0, 0, 1}, {1, -0.87f, 0.2f}},
                     {1, 1, {0, 0, 1}, {1, 0.87f, 0.2f}},
                     {0, 1, {0, 0, 1}, {-1, 0.87f, 0.2f}}};
    file.boxes = {{{-1, -0.87f, 0}, {1, 0.87f, 0.2f}}};
    return file;
}

// 76 frames of a small fan of four triangles, as the butterfly, its shadow and the ring animate.
Formats::ModelFile AnimatedFile()
{
    Formats::ModelFile file;
    file.flags = Model::kMorph | Model::kTriangleList;
    file.frameCount = 76;
    file.speed = 30.0f;
    file.indices = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5};
    for (int frame = 0; frame < 76; ++frame) {
        const float lift = 0.01f * static_cast<float>(frame % 10);
        file.vertices.push_back({0, 0, {0, 0, 1}, {0, 0, 0}});
        file.vertices.push_back({1, 0, {0, 0, 1}, {0.4f, -0.3f, lift}});
        file.vertices.push_back({1, 1, {0, 0, 1}, {0.5f, 0.2f, lift}});
        file.vertices.push_back({0, 1, {0, 0, 1}, {-0.5f, 0.2f, lift}});
        file.vertices.push_back({0, 1, {0, 0, 1}, {-0.4f, -0.3f, lift}});
        file.vertices.push_back({0, 1, {0, 0, 1}, {0, -0.5f, 0}});
        file.boxes.push_back({{-0.5f, -0.5f, 0}, {0.5f, 0.3f, 0.1f}});
    }
    return file;
}

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    PlatformTesting::UseRecordingDevice(true);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_board_objects";
    std::filesystem::create_directories(folder);

    MessageManager log("", "bench_board_objects", "", false, false);
    FileManager files(&log, "", "Data");
    Config config("bench_board_objects", "", &log, &files, "1024x768x32", true, true, false);
    Window window(&log, &config, "bench_board_objects", nullptr, 0, false, 1024, 768, false, true, 0, 0);
    std::unique_ptr<RenderSystem_D3D7> render;
    try {
        render = std::make_unique<RenderSystem_D3D7>(&log, &config, &window, true);
    } catch (const Error& error) {
        std::printf("bench_board_objects: no device (%s)\n", error.GetText().c_str());
        return 0;
    }
    render->m_clearFlags = 0;
    TimerManager timers(false);
    timers.m_frameTime = kFrameTime;
    CameraManager cameras(&log, &window, render.get());
    LightManager lights(&log, render.get());
    ShaderManager shaders(&log, &files, &timers, &config, render.get());
    ModelManager models({&log, &files, &timers, render.get(), &cameras, &lights, &shaders});
    SpriteGroupManager spriteGroups(&cameras, &models);
    ParticleSystemManager particles({&log, &files, &timers, &spriteGroups});
    Controls controls(&log, &timers, &config, &window);
    GUIManager gui(&log, &files, &window, &timers, &cameras, &shaders, &models, &controls, nullptr);
    GameFramework::AudioPlayer audio(&config, nullptr, &timers, 1.0f, 1.0f);

    // The shared resources, unmanaged as the game loads them.
    const std::unique_ptr<Model> cell(models.LoadModelUnmanaged(WriteModel(folder, "cell", CellFile()), 0x20));
    const std::unique_ptr<Model> animated(
        models.LoadModelUnmanaged(WriteModel(folder, "animated", AnimatedFile()), 0x20));
    const std::unique_ptr<ParticleSystem> effect(
        particles.LoadParticleSystem(WriteParticles(folder, "effect"), nullptr));
    Wispfold::CellResources cellResources;
    cellResources.empty = cellResources.single = cellResources.twin = cellResources.block = cell.get();
    cellResources.select = animated.get();
    cellResources.manaBurst = effect.get();
    Wispfold::PlayResources playResources;
    playResources.butterfly = playResources.shadow = animated.get();
    for (const Model*& bonus : playResources.bonusModels)
        bonus = cell.get();
    playResources.butterflyAppear = playResources.butterflyDisappear = playResources.butterflySwap = effect.get();

    RandomSeed = 20240601;
    const Wispfold::PlayServices services{&timers, &models, &particles};
    const Wispfold::ScreenServices screen{&cameras, &window, 800.0f, 600.0f};
    Wispfold::LevelData level = TestSupport::MakeHexagonLevel(1.0f, true);
    Wispfold::LevelRecord record;
    record.colourCount = level.colourCount;
    GameFramework::ScoreKeeper keeper;
    Wispfold::GUIGameLogicTextManager texts(timers, gui, nullptr);
    Wispfold::BonusManager bonuses(services, playResources);
    Wispfold::ItemManager items(services, bonuses, playResources, record);
    Wispfold::BoardScene scene(services, screen, cellResources, level);
    Wispfold::GameBoardWorld world(scene, items, bonuses, texts, audio);
    Wispfold::Board board(world, level, keeper);

    // The fill lands; then a token on every fifth butterfly and one cell selected.
    const auto resting = [&] {
        std::uint32_t count = 0;
        for (const auto& c : board.GetCells()) {
            const Wispfold::Item* item = board.GetItem(c.get());
            count += item && item->IsAtRest() ? 1 : 0;
        }
        return count;
    };
    std::uint32_t butterflies = 0;
    for (const auto& c : board.GetCells())
        butterflies += board.GetItem(c.get()) ? 1 : 0;
    for (int frame = 0; frame < 2000 && resting() < butterflies; ++frame) {
        board.Update(nullptr, false, false);
        items.Update();
        bonuses.Update();
    }
    std::uint32_t n = 0;
    for (const auto& c : board.GetCells()) {
        if (Wispfold::Item* item = board.GetItem(c.get()); item && n++ % 5 == 0)
            item->m_bonus = world.CreateBonus(Wispfold::BonusKind::ItemDestruction);
    }
    const Wispfold::Cell* selected = board.GetCells()[45].get();
    // Looking straight down on the whole board.
    cameras.GetDefaultCamera()->m_position = scene.GetBoundingBox().m_centre + Vector3{0.0f, 0.0f, 20.0f};

    std::vector<double> updates;
    std::vector<double> passes;
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        scene.Update(selected, nullptr);
        items.Update();
        bonuses.Update();
        const auto updated = std::chrono::steady_clock::now();
        cameras.Update();
        particles.UpdateAll();
        spriteGroups.UpdateAll();
        models.RenderAll();
        const auto drawn = std::chrono::steady_clock::now();
        updates.push_back(std::chrono::duration<double, std::micro>(updated - start).count());
        passes.push_back(std::chrono::duration<double, std::micro>(drawn - updated).count());
    }
    const double median = Median(updates);
    const double mean = std::accumulate(updates.begin(), updates.end(), 0.0) / static_cast<double>(updates.size());
    std::printf("bench_board_objects: %zu cells, %u butterflies (%u resting) with shadows, %zu tokens, one ring\n",
                board.GetCells().size(), butterflies, resting(), bonuses.GetBonuses().size());
    std::printf("  objects' update   %8.1f us/frame median, %8.1f mean\n", median, mean);
    std::printf("  update / target   %8.2f (target: under %.0f us on one core)\n", median / kTargetMicroseconds,
                kTargetMicroseconds);
    std::printf("  model pass        %8.1f us/frame median, %u models drawn (recording device)\n", Median(passes),
                models.m_drawnModels);
    return 0;
}
