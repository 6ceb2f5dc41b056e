#include "tests/game/app/LevelFixture.h"

#include "tests/game/app/LevelResources.h"
#include "tests/game/app/LevelSession.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/Model.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/ItemManager.h"
#include "tests/game/play/support/RestingPoints.h"
#include "tests/support/ImageFiles.h"
#include "tools/content/world/BoardMap.h"
#include "tools/content/world/CameraFraming.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <SDL.h>

#include <algorithm>
#include <sstream>

namespace AppTesting {

namespace {

// A square of green ground under the board, 1400 units wide, lit from above.
void WriteGround(const std::string& folder)
{
    TestSupport::Bytes pixels;
    for (int pixel = 0; pixel < 4 * 4; ++pixel)
        pixels.insert(pixels.end(), {40, 120, 60});
    ReplaceDataFile(folder + "ground.bmp", TestSupport::BMPFile(4, 4, pixels).Build());
    Formats::ShaderFile surface;
    surface.stages.push_back({});
    surface.stages[0].texture = "ground.bmp";
    ReplaceDataFile(folder + "ground.srf", Formats::BuildShaderFile(surface));

    Formats::ModelFile ground;
    ground.flags = KeystrelEngine::Model::kStatic | KeystrelEngine::Model::kTriangleList |
                   KeystrelEngine::Model::kZTest | KeystrelEngine::Model::kShown;
    const float reach = 700.0f;
    const float depth = -8.0f;
    ground.vertices = {{0, 0, {0, 0, 1}, {-reach, -reach, depth}},
                       {1, 0, {0, 0, 1}, {reach, -reach, depth}},
                       {1, 1, {0, 0, 1}, {reach, reach, depth}},
                       {0, 1, {0, 0, 1}, {-reach, reach, depth}}};
    ground.indices = {0, 1, 2, 0, 2, 3};
    ground.boxes = {{{-reach, -reach, depth}, {reach, reach, depth}}};
    ReplaceDataFile(folder + "ground.mlf", Formats::BuildModelFile(ground));
}

} // namespace

void LevelFixture::SetUp()
{
    CharacterFixture::SetUp();
    KeystrelEngine::Config& config = *engine->m_config;
    config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &m_cameraType, false);
    config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &m_cameraValue, false);
    profile = static_cast<Wispfold::Profile*>(profiles->AddProfile(u"Tess"));
    profiles->m_current = profile;
    for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
        profile->SetTutorialHintPending(hint, false);
    flags = std::make_unique<Wispfold::ProfileTutorialFlags>(*profiles);
    level = static_cast<Wispfold::LevelRecord*>(levels->GetLevel({0, 0}));
    LoadLevel();
    shared.audio = player.get();
    FillLevelResources(*data, shared.play, shared.cells);
    shared.tutorialTip = data->GetModel("game_objects\\cell\\cell_tip.mlf");
    shared.tutorialFlags = flags.get();
    shared.character = character.get();
}

void LevelFixture::TearDown()
{
    if (!engine)
        return; // the set-up failed or was skipped before it made anything
    logic.reset();
    levelData.reset();
    engine->m_config->UnregisterVariable("g_camera_type");
    engine->m_config->UnregisterVariable("g_camera_value");
    CharacterFixture::TearDown();
}

void LevelFixture::WriteLevel(const std::vector<std::string>& rows, float levelFactor)
{
    const Formats::BoardFile board = Content::BoardMap::Build(rows);
    std::uint32_t mana = 0;
    for (const Formats::BoardFileCell& cell : board.cells)
        mana += cell.kind;
    ReplaceDataFile("data\\boards\\glade.blf", Formats::BuildBoardFile(board));
    ReplaceDataFile("data\\boards\\glade.ini", std::to_string(mana) + "\r\n");
    std::ostringstream camera;
    for (const float value : Content::CameraFraming::Frame(board))
        camera << value << "\r\n";
    ReplaceDataFile("data\\boards\\glade_camera.ini", camera.str());
    ReplaceDataFile("data\\environments\\glade\\environment.ini", "1\r\nground\r\n1\r\n0\r\n0\r\n");
    WriteGround("environments\\glade\\models\\");
    std::ostringstream catalogue;
    catalogue << "1\r\nglade\r\n3\r\nglade\r\n" << levelFactor << "\r\n";
    ReplaceDataFile("data\\levels\\stages_info.ini", "1\r\n");
    ReplaceDataFile("data\\levels\\stage0.ini", catalogue.str());
    levels->Load();
    level = static_cast<Wispfold::LevelRecord*>(levels->GetLevel({0, 0}));
}

void LevelFixture::LoadLevel()
{
    levelData = std::make_unique<Wispfold::GameLogicData>(KeeperServices(), &levels->GetStage(level->id.stage), level);
    levelData->Load();
}

void LevelFixture::Start()
{
    shared.relaxMode = profile->GetFlag(Wispfold::Profile::RelaxMode);
    logic = std::make_unique<Wispfold::GameLogic>(*engine, shared, *levelData, &levels->GetStage(level->id.stage),
                                                  level, 7);
}

// The GUI's 800 x 600 units are the window's pixels, counted from the bottom.
void LevelFixture::Play(const Wispfold::Cell* at, bool held)
{
    const Wispfold::ScreenPosition point =
        at ? logic->GetScene().GetScreenPosition(*at) : Wispfold::ScreenPosition{400.0f, 590.0f};
    PlatformTesting::InjectMouseMotion(engine->m_window->m_handle, static_cast<int>(point.x),
                                       599 - static_cast<int>(point.y), 0, 0);
    if (held != engine->m_controls->IsKeyDown("MOUSE1"))
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, held);
    LevelFrame();
}

void LevelFixture::LevelFrame()
{
    PlatformTesting::AdvanceFakeClock(kFrame);
    KeepProblems();
    engine->Update();
    engine->m_timers->m_frameTime = kFrame;
    logic->Update();
    character->Update();
    engine->EndFrame();
}

void LevelFixture::KeepProblems()
{
    for (const KeystrelEngine::MessageManager::Record& record : engine->m_log->m_history) {
        if (record.kind != KeystrelEngine::MessageManager::KindMessage)
            problems.push_back(record.text);
    }
    engine->m_log->ClearHistory();
}

int LevelFixture::Swap(std::uint32_t pair)
{
    const Wispfold::Board& board = logic->GetBoard();
    const Wispfold::Cell* cells[] = {board.GetMoveFirstCell(pair), board.GetMoveSecondCell(pair)};
    for (const Wispfold::Cell* cell : cells) {
        Play(cell, true);
        Play(cell, false);
    }
    return 4;
}

LevelFixture::Run LevelFixture::PlayToTheEnd(int limit)
{
    Run run;
    bool removedSinceSwap = false;
    while (run.frames < limit && logic->GetState() == GameFramework::GameLogicBase::LevelPlaying) {
        const Wispfold::Board& board = logic->GetBoard();
        const std::optional<std::uint32_t> move =
            TestSupport::BoardSolver::IsSettled(board) ? LevelSession::UsableMove(board) : std::nullopt;
        if (move) {
            run.frames += Swap(*move);
            removedSinceSwap = false;
            continue;
        }
        Play(nullptr, false);
        ++run.frames;
        run.restingOffset = std::max(run.restingOffset, TestSupport::LargestRestingOffset(board, logic->GetScene()));
        if (board.GetRemovedCount() > 0) {
            ++run.removals;
            run.removalsWithTimer += logic->GetHintTimer() != 0.0f ? 1 : 0;
            run.cascades += removedSinceSwap ? 1 : 0;
            removedSinceSwap = true;
        }
        if (logic->GetState() == GameFramework::GameLogicBase::LevelPlaying && board.IsLevelWon() &&
            logic->GetItemManager().AnyItemBusy())
            ++run.wonWhileBusy;
    }
    return run;
}

} // namespace AppTesting
