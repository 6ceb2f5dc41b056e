// A small board of the generated data on the GL back end, seen from in front and above: every cell kind and flag,
// the borders around them, butterflies with their shadows, a bonus token, the selection ring on a clicked
// cell and a floating score. Saved for people to look at; the test checks that every cell is picked under its
// own screen position and that the board was drawn.
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Image.h"
#include "engine/render/RenderSystem.h"
#include "engine/render/ShaderDescriptor.h"
#include "framework/ScoreKeeper.h"
#include "game/app/LevelResources.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/BonusManager.h"
#include "game/play/CameraControl.h"
#include "game/play/Character.h"
#include "game/play/Environment.h"
#include "game/play/GUIGameLogicTextManager.h"
#include "game/play/GameBoardWorld.h"
#include "game/play/ItemManager.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"
#include "tests/tools/content/ContentData.h"

#include <cmath>

namespace {

using KeystrelEngine::Image;

constexpr float kFrame = 0.05f;

class BoardPixels : public AppTesting::AppPixelFixture<AppTesting::AppFixture>
{
protected:
    void SetUp() override
    {
        AppPixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        data = MakeSharedData();
        LoadSharedData(*data);
        engine->m_gui->m_camera->m_width = 800.0f;
        engine->m_gui->m_camera->m_height = 600.0f;
        engine->m_gui->m_fonts
            ->LoadFont(10, "ui\\fonts\\points.fnt",
                       KeystrelEngine::ShaderDescriptor::FromTexture("ui\\fonts\\points.jpg", 1, 1,
                                                                     "ui\\fonts\\points_alpha.jpg"))
            ->m_size = 22.0f;
        services = {engine->m_timers.get(), engine->m_models.get(), engine->m_particleSystems.get()};
        Wispfold::FillLevelResources(*data, playResources, cellResources);
    }

    void TearDown() override
    {
        environment.reset();
        board.reset();
        world.reset();
        scene.reset();
        items.reset();
        bonuses.reset();
        texts.reset();
        data.reset();
        AppFixture::TearDown();
    }

    // Seven cells: a double-mana centre and a ring of every other kind and flag. The cells are 40 units wide: columns
    // lie 30 apart, rows (doubled) 17.32.
    void MakeBoard(const KeystrelEngine::Vector3& shift = {})
    {
        struct Place
        {
            std::uint32_t x, y, kind;
            bool closed, blocked;
        };
        const Place places[] = {{1, 2, 2, false, false}, {1, 4, 1, false, false}, {2, 3, 0, false, false},
                                {2, 1, 1, true, false},  {1, 0, 2, false, true},  {0, 1, 1, false, true},
                                {0, 3, 2, true, false}};
        for (const Place& place : places) {
            Wispfold::BoardCellRecord record;
            record.x = place.x;
            record.y = place.y;
            record.kind = place.kind;
            record.closed = place.closed ? 1 : 0;
            record.blocked = place.blocked ? 1 : 0;
            record.position = {30.0f * static_cast<float>(place.x) - shift.x,
                               17.320509f * static_cast<float>(place.y) - shift.y, -shift.z};
            level.cellRecords.push_back(record);
        }
        level.gridWidth = 3;
        level.gridHeight = 5;
        level.colourCount = 2;
        levelRecord.colourCount = 2;
        for (std::uint32_t event = 0; event < 7; ++event)
            keeper.SetPoints(event, 10);

        texts = std::make_unique<Wispfold::GUIGameLogicTextManager>(*engine->m_timers, *engine->m_gui, nullptr);
        bonuses = std::make_unique<Wispfold::BonusManager>(services, playResources);
        items = std::make_unique<Wispfold::ItemManager>(services, *bonuses, playResources, levelRecord);
        const Wispfold::ScreenServices screen{engine->m_cameras.get(), engine->m_window.get(), 800.0f, 600.0f};
        scene = std::make_unique<Wispfold::BoardScene>(services, screen, cellResources, level);
        world = std::make_unique<Wispfold::GameBoardWorld>(*scene, *items, *bonuses, *texts, *player);
        board = std::make_unique<Wispfold::Board>(*world, level, keeper);
        environment = std::make_unique<Wispfold::Environment>(services, *engine->m_lights, cellResources, *board,
                                                              *scene, std::vector<KeystrelEngine::Model*>{},
                                                              std::vector<Wispfold::EnvironmentEntry>{});
    }

    // From in front of the board and above it, tilted toward it.
    void AimCamera()
    {
        const KeystrelEngine::Vector3 centre = scene->GetBoundingBox().m_centre;
        const float tilt = 0.6f;
        const float distance = 170.0f;
        KeystrelEngine::Camera& camera = *engine->m_cameras->GetDefaultCamera();
        camera.m_orientation = KeystrelEngine::Quaternion::FromAxisAngle({1, 0, 0}, tilt);
        camera.m_position =
            centre + KeystrelEngine::Vector3{0.0f, -distance * std::sin(tilt), distance * std::cos(tilt)};
        camera.m_near = 1.0f;
        camera.m_far = 1000.0f;
    }

    // The level's frame between the engine's two halves.
    void Frame(Wispfold::Cell* hovered = nullptr, bool pressed = false)
    {
        PlatformTesting::AdvanceFakeClock(kFrame);
        engine->Update();
        texts->Update();
        board->Update(hovered, pressed, pressed);
        items->Update();
        bonuses->Update();
        engine->EndFrame();
    }

    std::unique_ptr<Wispfold::GameData> data;
    Wispfold::PlayServices services;
    Wispfold::PlayResources playResources;
    Wispfold::CellResources cellResources;
    Wispfold::LevelData level;
    Wispfold::LevelRecord levelRecord;
    GameFramework::ScoreKeeper keeper;
    std::unique_ptr<Wispfold::GUIGameLogicTextManager> texts;
    std::unique_ptr<Wispfold::BonusManager> bonuses;
    std::unique_ptr<Wispfold::ItemManager> items;
    std::unique_ptr<Wispfold::BoardScene> scene;
    std::unique_ptr<Wispfold::GameBoardWorld> world;
    std::unique_ptr<Wispfold::Board> board;
    std::unique_ptr<Wispfold::Environment> environment;
};

TEST_F(BoardPixels, ASmallBoardWithEveryCellKindBordersButterfliesARingAndAScore)
{
    MakeBoard();
    AimCamera();
    // Two colours leave a move on the board, so the fill stays.
    for (int frame = 0; frame < 80; ++frame)
        Frame();
    ASSERT_GT(board->GetMoveCount(), 0u);
    // A token on the centre's butterfly, a click on the cell beside it, and a score over the centre.
    Wispfold::Item* centre = board->GetItem(&*board->GetCells()[0]);
    ASSERT_NE(centre, nullptr);
    centre->m_bonus = world->CreateBonus(Wispfold::BonusKind::ColorDestruction);
    // Every cell is picked under its own screen position; the plain cell is clicked.
    for (const auto& cell : board->GetCells()) {
        const Wispfold::ScreenPosition at = scene->GetScreenPosition(*cell);
        EXPECT_EQ(scene->Pick(board->GetCells(), {at.x, at.y}), cell.get()) << "cell " << cell->m_cellIndex;
    }
    Wispfold::Cell* plain = board->GetCells()[2].get();
    Frame(plain, true);
    EXPECT_EQ(board->GetSelectedCell(), plain);
    world->AddText(150, scene->GetScreenPosition(*board->GetCells()[0]));
    for (int frame = 0; frame < 8; ++frame)
        Frame();

    const Image image = Grab("board.bmp");
    // The board fills the middle of the screen: its centre is not the clear colour.
    const auto middle = RenderTesting::PixelFromBottom(image, 400, 300);
    EXPECT_NE(middle, RenderTesting::PixelFromBottom(image, 2, 2));
}

// A level as the player sees it: the board centred on the origin in the oblique view of the in-level camera, and
// the guide in its corner saying its greeting in a two-line bubble.
TEST_F(BoardPixels, ALevelInTheObliqueViewWithTheCharacterSpeaking)
{
    std::int32_t cameraType = 1;
    float cameraValue = 1.0f;
    KeystrelEngine::Config& config = *engine->m_config;
    config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &cameraType, false);
    config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &cameraValue, false);
    AppTesting::ReplaceDataFile("data\\boards\\picture_camera.ini", "260\n0\n110\n-10\n150\n");
    ContentTesting::LoadFonts(*engine->m_gui->m_fonts, ContentTesting::ReadFontList(*engine->m_files, "en"), true);
    KeystrelEngine::GUITextManager& table = *engine->m_gui->m_texts;
    table.SetText("CHARACTER_LEVEL_BEGIN_SIZE", u"2");
    table.SetText("CHARACTER_LEVEL_BEGIN_0", u"Welcome to the glade!");
    table.SetText("CHARACTER_LEVEL_BEGIN_1", u"Swap two butterflies to make a row.");

    MakeBoard({30.0f, 34.641018f, 0.0f});
    levelRecord.cameraName = "picture_camera";
    Wispfold::CameraControl camera(*engine, levelRecord, scene->GetBoundingBox());
    Wispfold::LevelManager levels(engine->m_log.get(), engine->m_files.get());
    levels.Load();
    Wispfold::Character character(*engine, levels, *profiles, *player,
                                  Wispfold::MakeCharacterResources(*data, data->GetRootWindow()));
    character.SetState(Wispfold::Character::kStateLevel);
    camera.StartIntro();
    int frames = 0;
    for (; frames < 400 && character.GetPrinter(1, 1).GetShownText() != u"Swap two butterflies to make a row.";
         ++frames) {
        PlatformTesting::AdvanceFakeClock(kFrame);
        engine->Update();
        engine->m_timers->m_frameTime = kFrame;
        camera.Update();
        texts->Update();
        board->Update(nullptr, false, false);
        items->Update();
        bonuses->Update();
        character.Update();
        engine->EndFrame();
    }
    EXPECT_LT(frames, 400);
    EXPECT_FLOAT_EQ(camera.GetValue(), 1.0f);

    const Image image = Grab("level_oblique_character.bmp");
    EXPECT_NE(RenderTesting::PixelFromBottom(image, 400, 300), RenderTesting::PixelFromBottom(image, 2, 2));
    config.UnregisterVariable("g_camera_type");
    config.UnregisterVariable("g_camera_value");
}

} // namespace
