// The in-game window over a stand-in level whose values the test sets: the keys and buttons give their codes only
// while active, the panels show the level and the score, the bars follow the level's mana and energy (0 over a 0
// count), the view and window-mode buttons, the mana flights, and the fade out after Close. Then over the first
// level of the catalogue itself, played by swaps.
#include "game/app/GUIGameLogicWindow.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Camera.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "framework/GameLogicBase.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "framework/ScoreKeeper.h"
#include "framework/WindowRequest.h"
#include "game/app/GUICollectionOfManaEffect.h"
#include "game/app/GUIControl.h"
#include "game/app/GUIGameLogicProgress.h"
#include "game/play/CameraControl.h"
#include "game/play/GameLogicView.h"
#include "platform/testing.h"
#include "platform/win32/Window.h"
#include "tests/game/app/LevelSession.h"
#include "tests/game/app/MenuWindowFixture.h"

#include <SDL_mouse.h>

using Wispfold::GUIGameLogicWindow;

namespace {

using namespace AppTesting;

class StandInLevel : public GameFramework::GameLogicBase, public Wispfold::GameLogicView
{
public:
    StandInLevel(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, GameFramework::LevelRecord* level)
        : GameLogicBase(engine, player, 0, nullptr, level)
    {
    }
    std::uint32_t GetManaProgress() const override { return manaProgress; }
    std::uint32_t GetManaTarget() const override { return manaTarget; }
    std::uint32_t GetEnergyLeft() const override { return energyLeft; }
    std::uint32_t GetEnergyBudget() const override { return energyBudget; }
    const std::vector<Wispfold::ScreenPosition>& GetManaChargePositions() const override { return charges; }
    bool IsRelaxMode() const override { return relax; }
    std::int32_t GetCameraType() const override { return cameraType; }
    float GetCameraValue() const override { return cameraValue; }
    void SetCameraType(std::int32_t type) override { cameraType = type; }

    std::uint32_t manaProgress = 5, manaTarget = 20, energyLeft = 30, energyBudget = 40;
    std::vector<Wispfold::ScreenPosition> charges;
    bool relax = false;
    std::int32_t cameraType = 1;
    float cameraValue = 1.0f;
};

class GUIGameLogicWindowTest : public MenuWindowFixture
{
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\game_logic.ini");
        MakeCurrentProfile({1, 2}, {1, 2}, false);
        profiles->m_current->m_score = 1000;
        record.id = {1, 2};
        hud = std::make_unique<GUIGameLogicWindow>(engine.get(), profiles.get(), data.get(), manager.get());
    }
    void TearDown() override
    {
        hud.reset();
        session.reset();
        level.reset();
        MenuWindowFixture::TearDown();
    }
    void OpenLevel()
    {
        level = std::make_unique<StandInLevel>(engine.get(), player.get(), &record);
        hud->Open(level.get());
    }
    // One frame; a real level plays first, with the cursor on the cell when one is given.
    void Step(const Wispfold::Cell* at = nullptr, bool held = false)
    {
        PlatformTesting::AdvanceFakeClock(kFrameTime);
        engine->Update();
        if (session)
            session->Drive(at, held);
        hud->Update();
        KeepTexts();
        engine->EndFrame();
    }
    void OpenFully()
    {
        OpenLevel();
        for (int frame = 0; frame < 60 && hud->GetAlpha() < 1.0f; ++frame)
            Step();
        ASSERT_EQ(hud->GetAlpha(), 1.0f);
    }
    std::uint32_t KeyResult(std::initializer_list<SDL_Scancode> keys)
    {
        for (SDL_Scancode key : keys)
            PlatformTesting::InjectKey(key, true);
        Step();
        const std::uint32_t result = hud->m_result;
        for (SDL_Scancode key : keys)
            PlatformTesting::InjectKey(key, false);
        Step();
        return result;
    }
    // Presses and releases the mouse button on the control's widget; the result of the release frame.
    std::uint32_t ClickResult(GUIGameLogicWindow::ControlIndex index)
    {
        Point(*hud->GetControl(index).GetWidget());
        Step();
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
        Step();
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
        Step();
        return hud->m_result;
    }
    std::u16string OnlyText(const KeystrelEngine::GUIWindow* widget)
    {
        const auto& records = Texts(widget);
        return records.size() == 1 ? Resolved(records[0])
                                   : u"(" + std::u16string(records.size() > 1 ? u"many" : u"none") + u")";
    }

    GameFramework::LevelRecord record;
    std::unique_ptr<StandInLevel> level;
    std::unique_ptr<LevelSession> session;
    std::unique_ptr<GUIGameLogicWindow> hud;
};

TEST_F(GUIGameLogicWindowTest, KeysAndButtonsGiveTheirCodesOnlyWhileActive)
{
    OpenFully();
    EXPECT_EQ(KeyResult({SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE}), GameFramework::RequestGameLogicMenu);
    EXPECT_EQ(KeyResult({SDL_SCANCODE_SPACE}), GameFramework::RequestPause);
    EXPECT_EQ(KeyResult({SDL_SCANCODE_P}), GameFramework::RequestPause);
    EXPECT_EQ(KeyResult({SDL_SCANCODE_ESCAPE}), GameFramework::RequestGameLogicMenu);
    EXPECT_EQ(ClickResult(GUIGameLogicWindow::kExit), GameFramework::RequestQuit);
    EXPECT_EQ(ClickResult(GUIGameLogicWindow::kMenu), GameFramework::RequestGameLogicMenu);
    hud->SetActive(false);
    EXPECT_FALSE(hud->GetControl(GUIGameLogicWindow::kMenu).GetButton()->IsEnabled());
    EXPECT_EQ(KeyResult({SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE}), GameFramework::RequestNone);
    EXPECT_EQ(ClickResult(GUIGameLogicWindow::kExit), GameFramework::RequestNone);
}

TEST_F(GUIGameLogicWindowTest, PanelsAndBarsShowTheLevelAndZeroCountsShowEmpty)
{
    OpenLevel();
    level->GetScoreKeeper()->m_total = 234;
    EXPECT_FLOAT_EQ(hud->GetManaBar().GetValue(), 0.25f);
    EXPECT_FLOAT_EQ(hud->GetEnergyBar().GetValue(), 0.75f);
    Step();
    EXPECT_EQ(OnlyText(hud->GetControl(GUIGameLogicWindow::kLevelPanel).GetWidget()), u"2-3");
    EXPECT_EQ(OnlyText(hud->GetControl(GUIGameLogicWindow::kScorePanel).GetWidget()), u"1234");
    EXPECT_EQ(Texts(hud->GetLevelCaption()).at(0).key, "GAME_LOGIC_LEVEL");
    EXPECT_EQ(Texts(hud->GetControl(GUIGameLogicWindow::kCamera).GetWidget()).at(0).key, "GAME_LOGIC_2D");

    // The bars move toward the level's values at 0.1 a second; counts of 0 give empty bars, never NaN.
    level->manaProgress = 20;
    level->energyBudget = 0;
    Step();
    EXPECT_NEAR(hud->GetManaBar().GetValue(), 0.26f, 1e-5f);
    EXPECT_NEAR(hud->GetEnergyBar().GetValue(), 0.74f, 1e-5f);
    EXPECT_TRUE(hud->GetGlow()->m_emitting) << "the mana bar moves";
    level->manaTarget = 0;
    for (int i = 0; i < 100; ++i)
        Step();
    EXPECT_FALSE(hud->GetGlow()->m_emitting) << "the mana bar stands";
    EXPECT_EQ(hud->GetManaBar().GetValue(), 0.0f);
    EXPECT_EQ(hud->GetEnergyBar().GetValue(), 0.0f);

    // Won: the mana bar stands full until the level-complete count starts, then empties at its own speed.
    level->SetState(GameFramework::GameLogicBase::LevelWon);
    Step();
    Step();
    EXPECT_EQ(hud->GetManaBar().GetValue(), 1.0f);
    manager->m_firstCountUp = true;
    Step();
    EXPECT_NEAR(hud->GetManaBar().GetValue(), 1.0f - GUIGameLogicWindow::kWonManaSpeed * kFrameTime, 1e-5f);
}

TEST_F(GUIGameLogicWindowTest, RelaxModeKeepsTheEnergyBarHiddenAndUnshownControlsStayHiddenInTheFold)
{
    level = std::make_unique<StandInLevel>(engine.get(), player.get(), &record);
    level->relax = true;
    hud->Open(level.get());
    for (int i = 0; i < 30; ++i)
        Step();
    EXPECT_FALSE(hud->GetEnergyBar().GetFill()->IsVisible());
    EXPECT_FALSE(hud->GetEnergyBar().GetCaption()->IsVisible());
    EXPECT_FALSE(hud->GetControl(GUIGameLogicWindow::kEnergyFrame).GetWidget()->IsVisible());
    EXPECT_TRUE(hud->GetManaBar().GetFill()->IsVisible());
    const auto unused =
        engine->m_config->v_fullscreen ? GUIGameLogicWindow::kFullScreen : GUIGameLogicWindow::kWindowed;
    hud->Close();
    for (int frame = 0; frame < 60; ++frame, Step())
        for (const auto index : {GUIGameLogicWindow::kEnergyFrame, unused})
            EXPECT_FALSE(hud->GetControl(index).GetModelWindow()->IsVisible()) << frame;
}

TEST_F(GUIGameLogicWindowTest, ViewAndWindowModeButtons)
{
    OpenFully();
    ClickResult(GUIGameLogicWindow::kCamera);
    EXPECT_EQ(level->cameraType, 0) << "from the oblique view to the top view";
    level->cameraType = 2;
    level->cameraValue = 0.00001f;
    ClickResult(GUIGameLogicWindow::kCamera);
    EXPECT_EQ(level->cameraType, 1) << "a free camera at the top counts as the top view";

    const bool fullScreen = engine->m_config->v_fullscreen;
    const auto shown = fullScreen ? GUIGameLogicWindow::kWindowed : GUIGameLogicWindow::kFullScreen;
    for (int i = 0; i < 40 && !hud->GetControl(shown).GetWidget()->IsVisible(); ++i)
        Step();
    Point(*hud->GetControl(shown).GetWidget());
    Step();
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
    Step();
    PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
    PlatformTesting::AdvanceFakeClock(kFrameTime);
    engine->Update();
    hud->Update();
    EXPECT_EQ(engine->m_config->v_fullscreen, !fullScreen);
    EXPECT_NE(SavedConfiguration().find(fullScreen ? "v_fullscreen 0" : "v_fullscreen 1"), std::string::npos);
    EXPECT_EQ(engine->m_config->GetCommandState("v_window_change_mode"), KeystrelEngine::Config::kCommandRaised);
    engine->EndFrame();
    engine->m_config->SetCommandState("v_window_change_mode", KeystrelEngine::Config::kCommandIdle);

    // A mode changed elsewhere swaps the buttons back: the one now wanted unfolds, the other folds away.
    const auto other = fullScreen ? GUIGameLogicWindow::kFullScreen : GUIGameLogicWindow::kWindowed;
    engine->m_config->v_fullscreen = fullScreen;
    for (int i = 0; i < 40 && !hud->GetControl(shown).GetWidget()->IsVisible(); ++i)
        Step();
    EXPECT_TRUE(hud->GetControl(shown).GetWidget()->IsVisible());
    EXPECT_FALSE(hud->GetControl(other).GetWidget()->IsVisible());

    ClickResult(GUIGameLogicWindow::kMinimise);
    MSG message{};
    bool posted = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        posted = posted || (message.message == WM_SYSCOMMAND && message.wParam == SC_MINIMIZE);
        DispatchMessageA(&message);
    }
    EXPECT_TRUE(posted);
    EXPECT_TRUE(PlatformTesting::GetWindowState(engine->m_window->m_handle).minimised);
}

TEST_F(GUIGameLogicWindowTest, FlightsGrowWhileAllFlyAndAreReusedOnceTheirParticlesDied)
{
    OpenFully();
    level->charges = {{100.0f, 100.0f}};
    Step();
    ASSERT_EQ(hud->GetFlights().size(), 1u);
    Step();
    EXPECT_EQ(hud->GetFlights().size(), 2u) << "the first still flies";
    level->charges.clear();
    for (int i = 0; i < 400 && !hud->GetFlights()[0]->IsFree(); ++i)
        Step();
    ASSERT_TRUE(hud->GetFlights()[0]->IsFree());
    level->charges = {{200.0f, 100.0f}};
    Step();
    EXPECT_EQ(hud->GetFlights().size(), 2u) << "a finished flight is reused";
    EXPECT_FALSE(hud->GetFlights()[0]->IsDone());
}

TEST_F(GUIGameLogicWindowTest, StatisticsShowOnlyForANonZeroNumber)
{
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\statistics.ini");
    std::string shown = "0";
    engine->m_config->RegisterVariable("d_show_statistics", "0", KeystrelEngine::Config::TypeString, false, &shown,
                                       false);
    OpenLevel();
    for (const char* value : {"0", "x", "1"}) {
        engine->m_config->SetValue("d_show_statistics", value);
        Step();
        EXPECT_EQ(Texts(hud->GetStatistics()).size(), value == std::string("1") ? 3u : 0u) << value;
    }
    EXPECT_EQ(Texts(hud->GetStatistics()).at(0).text.substr(0, 5), u"FPS: ");
    float below = engine->m_gui->m_camera->m_height; // each line under the one above, the last inside the screen
    for (const KeystrelEngine::GUITextRecord& line : Texts(hud->GetStatistics())) {
        const auto box = engine->m_gui->m_fonts->FindFont(line.fontId)->MeasureText(line.text, 0.0f, -1.0f);
        EXPECT_LE(line.position.y + box.maxY, below);
        below = line.position.y + box.minY;
    }
    EXPECT_GE(below, 0.0f);
    engine->m_config->UnregisterVariable("d_show_statistics");
}

TEST_F(GUIGameLogicWindowTest, CloseFadesOutAndHidesTheRoot)
{
    // The fade in waits until every control has unfolded.
    OpenLevel();
    const auto unfolding = [&] {
        for (int index = 0; index < GUIGameLogicWindow::kOwnCount; ++index)
            if (hud->GetControl(static_cast<GUIGameLogicWindow::ControlIndex>(index)).IsUnfolding())
                return true;
        return false;
    };
    // The bars' frames unfold at their own pace, slower than the other controls.
    for (const auto index : {GUIGameLogicWindow::kManaFrame, GUIGameLogicWindow::kEnergyFrame})
        EXPECT_EQ(hud->GetControl(index).GetModelWindow()->GetQuad()->GetAnimationControl().m_speed,
                  GUIGameLogicWindow::kBarFrameRate);
    int unfoldingFrames = 0;
    for (int frame = 0; frame < 60 && hud->GetAlpha() < 1.0f; ++frame) {
        const bool before = unfolding();
        Step();
        if (before) {
            ++unfoldingFrames;
            EXPECT_EQ(hud->GetAlpha(), 0.0f) << frame;
        }
    }
    EXPECT_GT(unfoldingFrames, 1);
    ASSERT_EQ(hud->GetAlpha(), 1.0f);

    // Won, the window stays and the mana bar is held full; then it closes. The bars fade with the window and are
    // gone once it has faded, while its controls still fold.
    const auto fillsAndCaptions = [&] {
        std::vector<KeystrelEngine::GUIWindow*> windows;
        for (Wispfold::GUIGameLogicProgress* bar : {&hud->GetManaBar(), &hud->GetEnergyBar()})
            windows.insert(windows.end(), {bar->GetFill(), bar->GetCaption()});
        return windows;
    };
    level->SetState(GameFramework::GameLogicBase::LevelWon);
    Step();
    hud->Close();
    Step();
    for (Wispfold::GUIGameLogicProgress* bar : {&hud->GetManaBar(), &hud->GetEnergyBar()})
        EXPECT_NEAR(bar->GetFill()->GetColour().a, hud->GetAlpha(), 1.0f / 255.0f);
    for (int i = 0; i < 60 && hud->GetAlpha() > 0.0f; ++i)
        Step();
    EXPECT_TRUE(hud->GetRoot()->IsVisible());
    for (KeystrelEngine::GUIWindow* window : fillsAndCaptions())
        EXPECT_FALSE(window->IsVisible()) << window;
    for (int i = 0; i < 60 && hud->GetRoot()->IsVisible(); ++i)
        Step();
    EXPECT_FALSE(hud->GetRoot()->IsVisible());
    EXPECT_EQ(hud->GetAlpha(), 0.0f);

    // The next level shows them again.
    OpenFully();
    for (KeystrelEngine::GUIWindow* window : fillsAndCaptions())
        EXPECT_TRUE(window->IsVisible()) << window;
}

// The first level (1-1) as the game plays it: the window reads the level's board, view and score.
TEST_F(GUIGameLogicWindowTest, TheWindowFollowsTheFirstLevelAsItIsPlayed)
{
    session = std::make_unique<LevelSession>(*engine, KeeperServices(), *player, *data, *profiles,
                                             GameFramework::LevelId{0, 0}, data->GetChildWindow());
    Wispfold::GameLogic& logic = session->Logic();
    const Wispfold::Board& board = logic.GetBoard();
    hud->Open(&logic);
    ASSERT_GT(board.GetManaTarget(), 0u);
    EXPECT_EQ(hud->GetManaBar().GetValue(), 0.0f);
    EXPECT_EQ(hud->GetEnergyBar().GetValue(), 1.0f);
    for (int frame = 0; frame < 60 && hud->GetAlpha() < 1.0f; ++frame)
        Step();
    EXPECT_EQ(OnlyText(hud->GetControl(GUIGameLogicWindow::kLevelPanel).GetWidget()), u"1-1");

    EXPECT_TRUE(hud->IsViewOblique());
    ClickResult(GUIGameLogicWindow::kCamera);
    EXPECT_EQ(logic.GetCameraControl().GetCameraType(), Wispfold::CameraControl::kTypeTop);
    Step();
    EXPECT_EQ(Texts(hud->GetControl(GUIGameLogicWindow::kCamera).GetWidget()).at(0).key, "GAME_LOGIC_3D");
    ClickResult(GUIGameLogicWindow::kCamera);
    EXPECT_EQ(logic.GetCameraControl().GetCameraType(), Wispfold::CameraControl::kTypeOblique);

    // Swaps until the board charges mana: a flight starts for every charged place in that frame.
    ASSERT_TRUE(session->PlayUntilManaCharged([&](const Wispfold::Cell* cell, bool held) { Step(cell, held); }, 600));
    const std::size_t charged = board.GetManaChargePositions().size();
    const auto starting = std::count_if(hud->GetFlights().begin(), hud->GetFlights().end(),
                                        [](const auto& flight) { return flight->GetTime() == kFrameTime; });
    EXPECT_EQ(static_cast<std::size_t>(starting), charged);

    // The bars move toward the board's mana and energy; the score adds the level's points to the profile's.
    ASSERT_LT(board.GetEnergyLeft(), board.GetEnergyBudget());
    for (int frame = 0; frame < 20; ++frame)
        Step();
    const float energy = static_cast<float>(board.GetEnergyLeft()) / static_cast<float>(board.GetEnergyBudget());
    EXPECT_LT(hud->GetEnergyBar().GetValue(), 1.0f);
    EXPECT_GE(hud->GetEnergyBar().GetValue(), energy);
    EXPECT_GT(hud->GetManaBar().GetValue(), 0.0f);
    EXPECT_EQ(OnlyText(hud->GetControl(GUIGameLogicWindow::kScorePanel).GetWidget()),
              KeystrelEngine::ToWide(std::to_string(1000 + logic.GetScoreKeeper()->m_total)));
}

} // namespace
