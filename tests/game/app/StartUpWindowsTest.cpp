// The windows of the start-up and level-loading path on the fake clock: the publisher's logo and its fade, the
// game-loading window behind the background's "LOADING" (once, and with a failing file's error on the main
// thread), the game cursor's sparks, and the level's loading window, which waits for the free screen and the
// typed text.
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/SpriteGroup.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIGameCursor.h"
#include "game/app/GUIGameLoadingWindow.h"
#include "game/app/GUIGameLogicLoadingWindow.h"
#include "game/app/GUILogosWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/play/GameLogicData.h"
#include "tests/game/app/AppFixture.h"

#include <SDL.h>

using KeystrelEngine::Model;
using Wispfold::GUIGameCursor;
using Wispfold::GUIGameLoadingWindow;
using Wispfold::GUILogosWindow;

namespace {

using namespace AppTesting;

class StartUpWindowsTest : public AppFixture
{
protected:
    void TearDown() override
    {
        loading.reset();
        cursor.reset();
        background.reset();
        data.reset();
        AppFixture::TearDown();
    }

    // The background started, the cursor and the game-loading window opened with fresh shared data.
    void StartLoading()
    {
        MakeBackground();
        cursor = std::make_unique<GUIGameCursor>(engine.get());
        loading = std::make_unique<GUIGameLoadingWindow>(engine.get(), background.get(), cursor.get());
        data = MakeSharedData();
        loading->Open(data.get());
        background->Start();
    }

    // Frames with the loading window's update until it reports; the number of the frame that did (0: none).
    int FramesUntilLoaded(int limit = 100)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            Frame(kFrameTime, [&] { loading->Update(); });
            if (loading->m_result == GameFramework::RequestDone)
                return frame;
        }
        return 0;
    }

    std::unique_ptr<Wispfold::GameData> data;
    std::unique_ptr<GUIGameCursor> cursor;
    std::unique_ptr<GUIGameLoadingWindow> loading;
};

TEST_F(StartUpWindowsTest, TheLogoShowsWholeThenFadesOutAndReports)
{
    // Without the picture: no window, and the report on the first update after Open.
    RemoveDataFile(GUILogosWindow::kPicture);
    {
        GUILogosWindow logos(engine.get());
        EXPECT_EQ(logos.GetLogoWindow(), nullptr);
        logos.Update();
        EXPECT_EQ(logos.m_result, GameFramework::RequestNone) << "not open yet";
        logos.Open();
        logos.Update();
        EXPECT_EQ(logos.m_result, GameFramework::RequestDone);
    }

    ResetDataFolder();
    const std::uint32_t windows = engine->m_gui->m_windows.GetLiveCount();
    GUILogosWindow logos(engine.get());
    ASSERT_NE(logos.GetLogoWindow(), nullptr);
    EXPECT_TRUE(logos.GetLogoWindow()->IsVisible());
    EXPECT_FLOAT_EQ(logos.GetLogoWindow()->GetDepth(), -20.0f);
    EXPECT_FLOAT_EQ(logos.GetLogoWindow()->m_size.width, 800.0f);
    logos.Open();
    // 0.1 s a frame: whole up to 1.5 s, then down by 0.1 a frame, gone after 2.5 s.
    std::vector<float> alphas;
    std::vector<std::uint32_t> results;
    for (int frame = 0; frame < 26; ++frame) {
        Frame(0.1f, [&] { logos.Update(); });
        alphas.push_back(logos.GetLogoWindow()->GetColour().a);
        results.push_back(logos.m_result);
    }
    for (int frame = 0; frame < 14; ++frame)
        EXPECT_EQ(alphas[frame], 1.0f) << frame;
    EXPECT_NEAR(alphas[19], 0.5f, 0.01f);
    EXPECT_LT(alphas[25], 0.0001f);
    // The first report at 2.5 s, repeated until the window is closed.
    EXPECT_EQ(std::find(results.begin(), results.end(), GameFramework::RequestDone) - results.begin(), 24);
    EXPECT_EQ(results.back(), GameFramework::RequestDone);
    logos.Close();
    EXPECT_EQ(logos.GetLogoWindow(), nullptr);
    EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount(), windows);
    logos.Update();
    EXPECT_EQ(logos.m_result, GameFramework::RequestNone) << "closed";
}

TEST_F(StartUpWindowsTest, TheSharedDataLoadOnceBehindTheTypedLoadingText)
{
    StartLoading();
    const int frame = FramesUntilLoaded();
    ASSERT_GT(frame, 0);
    // Not before the background has typed "LOADING" and waits in step 3.
    EXPECT_EQ(background->GetStartUpStep(), 3u);
    EXPECT_EQ(background->GetTextPrinter().GetShownText(), u"Loading...");
    EXPECT_TRUE(loading->IsDone());
    EXPECT_TRUE(background->IsDataLoaded());
    EXPECT_EQ(data->GetBorders().size(), Wispfold::GameData::kBorderCount);
    ASSERT_NE(cursor->GetTrail(), nullptr);
    EXPECT_NE(cursor->GetClick(), nullptr);

    // Only once: afterwards the window reports nothing and loads nothing more.
    const std::size_t themes = data->GetThemeModels().size();
    EXPECT_EQ(FramesUntilLoaded(20), 0);
    EXPECT_EQ(loading->m_result, GameFramework::RequestNone);
    EXPECT_EQ(data->GetThemeModels().size(), themes);
    EXPECT_EQ(background->GetStartUpStep(), 4u);
}

// What the shell's loader shows in its box: the failing file's error, raised on the main thread.
TEST_F(StartUpWindowsTest, AFailingSharedFileEndsTheLoadWithItsError)
{
    RemoveDataFile("game_objects\\bonuses\\color_destruction.mlf");
    StartLoading();
    try {
        FramesUntilLoaded();
        ADD_FAILURE() << "loaded";
    } catch (const KeystrelEngine::Error& error) {
        EXPECT_NE(error.GetText().find("color_destruction.mlf"), std::string::npos) << error.GetText();
    }
    EXPECT_FALSE(background->IsDataLoaded());
    EXPECT_EQ(cursor->GetTrail(), nullptr);
}

TEST_F(StartUpWindowsTest, TheCursorsSparksFollowTheMouse)
{
    StartLoading();
    ASSERT_GT(FramesUntilLoaded(), 0);
    KeystrelEngine::ParticleSystem& trail = *cursor->GetTrail();
    KeystrelEngine::ParticleSystem& click = *cursor->GetClick();
    for (const KeystrelEngine::ParticleSystem* sparks : {&trail, &click}) {
        const Model& sprites = *sparks->GetSpriteGroup()->GetModel();
        EXPECT_EQ(sprites.m_flags & (Model::kFixedDepth | Model::kShown), Model::kFixedDepth | Model::kShown);
        EXPECT_FLOAT_EQ(sprites.GetSortDepth(), GUIGameCursor::kSparkDepth);
    }
    EXPECT_TRUE(trail.m_emitting);
    EXPECT_FALSE(click.m_emitting);

    cursor->Show(true);
    KeystrelEngine::GUICursor& mouse = *cursor->GetDrawnCursor();
    const auto frameAt = [&](float x, float y) {
        Frame(kFrameTime, [&] {
            mouse.m_x = x;
            mouse.m_y = y;
            cursor->Update();
        });
    };
    frameAt(300.0f, 200.0f);
    EXPECT_FLOAT_EQ(trail.m_position.x, 312.0f);
    EXPECT_FLOAT_EQ(trail.m_position.y, 182.0f);
    EXPECT_FALSE(click.m_emitting);

    // A click bursts where the mouse is, and a later click starts the burst again from its beginning (the
    // frame's particle pass then runs it one frame on).
    for (float x : {400.0f, 420.0f}) {
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
        frameAt(x, 100.0f);
        EXPECT_TRUE(click.m_emitting);
        EXPECT_FLOAT_EQ(click.m_position.x, x);
        EXPECT_FLOAT_EQ(click.m_position.y, 100.0f);
        EXPECT_FLOAT_EQ(click.m_time, kFrameTime);
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
        frameAt(x, 100.0f);
        EXPECT_FLOAT_EQ(click.m_time, 2 * kFrameTime);
    }

    cursor->Show(false);
    EXPECT_FALSE(trail.m_emitting);
    EXPECT_FALSE(mouse.m_visible);
    cursor->Show(true);
    EXPECT_TRUE(trail.m_emitting);
    EXPECT_TRUE(mouse.m_visible);

    // The sparks go with the cursor.
    const std::uint32_t systems = engine->m_particleSystems->GetRegistry().GetLiveCount();
    cursor.reset();
    EXPECT_EQ(engine->m_particleSystems->GetRegistry().GetLiveCount(), systems - 2);
}

TEST_F(StartUpWindowsTest, TheLevelLoadStartsTheFrameAfterLoadingIsTyped)
{
    StartLoading();
    ASSERT_GT(FramesUntilLoaded(), 0);
    Wispfold::GUIMenuWindowManager menus(background.get());
    Wispfold::GUIGameLogicLoadingWindow levelLoading(engine.get(), &menus);
    auto* level = static_cast<const Wispfold::LevelRecord*>(levels->GetLevel({0, 0}));
    Wispfold::GameLogicData levelData(KeeperServices(), &levels->GetStage(0), level);
    background->GetTextPrinter().SetText(u"Options");

    // Closed, or open while a menu frame is on screen: nothing is typed and nothing loads.
    for (bool open : {false, true}) {
        if (open)
            levelLoading.Open(&levelData);
        for (int i = 0; i < 30; ++i)
            Frame(kFrameTime, [&] { levelLoading.Update(); });
        EXPECT_EQ(background->GetTextPrinter().GetShownText(), u"Options");
        EXPECT_FALSE(levelLoading.IsDone());
    }

    // The screen free: "Options" is erased, "Loading..." typed, and the load runs in the next frame.
    menus.m_frameFree = true;
    int typedFrame = 0;
    int loadedFrame = 0;
    for (int frame = 1; frame <= 60 && !loadedFrame; ++frame) {
        Frame(kFrameTime, [&] {
            levelLoading.Update();
            if (levelLoading.m_result == GameFramework::RequestDone)
                loadedFrame = frame;
        });
        if (!typedFrame && background->GetTextPrinter().GetShownText() == u"Loading...")
            typedFrame = frame;
    }
    ASSERT_GT(typedFrame, 1);
    EXPECT_EQ(loadedFrame, typedFrame + 1);
    EXPECT_TRUE(levelLoading.IsDone());
    EXPECT_FALSE(levelData.GetLevelData().cellRecords.empty());

    // Loaded once: until it is closed and opened again.
    Frame(kFrameTime, [&] { levelLoading.Update(); });
    EXPECT_EQ(levelLoading.m_result, GameFramework::RequestNone);
    levelLoading.Close();
    EXPECT_FALSE(levelLoading.IsActive());
    EXPECT_FALSE(levelLoading.IsDone());
    EXPECT_EQ(levelLoading.GetKeeper(), nullptr);
}

} // namespace
