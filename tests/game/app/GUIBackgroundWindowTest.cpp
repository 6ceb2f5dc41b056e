// The menu background on the fake clock over the generated data: the start-up steps with the typed "LOADING",
// the wait for the shared data and the menus, the panel's request, arrival and release, the stage themes, the
// text area's fades and the glow over a new stage's themes; and the theme files it refuses.
#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "game/app/BackgroundThemes.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/GUIMenuWindowManager.h"
#include "tests/game/app/AppFixture.h"

#include <cmath>
#include <functional>
#include <utility>

using KeystrelEngine::GUIWindow;
using Wispfold::BackgroundThemes;
using Wispfold::GUIBackgroundWindow;

namespace {

using namespace AppTesting;

class GUIBackgroundWindowTest : public AppFixture
{
protected:
    // Started, with the shared data loaded and handed over once step 3 is reached, and the menus ready.
    void RunToStep(std::uint32_t step)
    {
        if (!data) {
            data = MakeSharedData();
            LoadSharedData(*data);
        }
        background->Start();
        ASSERT_TRUE(FramesUntil([&] {
            const std::uint32_t now = background->GetStartUpStep();
            if (now == 3)
                background->SetSharedData(data.get());
            if (now == 4)
                background->SetMenusReady();
            return now >= step;
        }));
    }

    const GUIBackgroundWindow::Layer* FindTheme(const std::string& name) const
    {
        for (const auto* list : {&background->GetBaseThemes(), &background->GetStageThemes()}) {
            for (const GUIBackgroundWindow::Layer& theme : *list) {
                if (theme.window->GetQuad()->GetName() == "ui\\menus\\background\\models\\" + name + ".mlf")
                    return &theme;
            }
        }
        return nullptr;
    }

    void TearDown() override
    {
        background.reset();
        data.reset();
        AppFixture::TearDown();
    }

    std::unique_ptr<Wispfold::GameData> data;
};

TEST_F(GUIBackgroundWindowTest, StartUpRunsItsStepsInOrderAndTypesLoading)
{
    MakeBackground();
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 0u) << "nothing happens before the start";
    EXPECT_FALSE(background->GetPanelWindow()->IsVisible());

    background->Start();
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 1u);
    EXPECT_TRUE(background->GetDecorationRoot()->GetChildren()[0]->IsVisible()) << "the frame";
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 2u);
    EXPECT_TRUE(background->GetPanelWindow()->IsVisible());

    // "Loading..." typed at 28 characters a second (1.4 a frame), from the frame after the one in which step 2
    // asked for it (that one erases the empty text before).
    const std::u16string loading = engine->m_gui->m_texts->GetText("LOADING", -1);
    ASSERT_EQ(loading, u"Loading...");
    std::vector<std::size_t> shown;
    while (background->GetStartUpStep() == 2) {
        Frame();
        shown.push_back(background->GetTextPrinter().GetShownText().size());
    }
    const std::vector<std::size_t> expected{0, 0, 1, 2, 4, 5, 7, 8, 9, 10};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(background->GetStartUpStep(), 3u);

    // Step 3 waits for the shared data, whatever the time.
    for (int i = 0; i < 20; ++i)
        Frame();
    EXPECT_EQ(background->GetStartUpStep(), 3u);
    EXPECT_TRUE(background->IsLoadingShown());
    EXPECT_TRUE(background->GetStageThemes().empty());
    data = MakeSharedData();
    LoadSharedData(*data);
    background->SetSharedData(data.get());
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 4u);
    EXPECT_NE(background->GetGlow(), nullptr);
    EXPECT_FALSE(background->GetGlow()->m_emitting);

    // Step 4 waits for the menus, step 5 for the text area, step 6 for a menu's request.
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_EQ(background->GetStartUpStep(), 4u);
    background->SetMenusReady();
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 5u);
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 6u);
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 6u);

    // The panel unfolds in front of the menus, then returns among the decorations.
    background->RequestPanel();
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 7u);
    EXPECT_EQ(background->GetPanelWindow()->GetParent(), data->GetRootWindow());
    EXPECT_TRUE(background->GetPanelWindow()->GetQuad()->GetAnimationControl().m_playing);
    EXPECT_FALSE(background->IsPanelPresent());
    ASSERT_TRUE(FramesUntil([&] { return background->GetStartUpStep() == 8; }));
    EXPECT_TRUE(background->IsPanelPresent());
    EXPECT_TRUE(background->HasPanelJustArrived());
    EXPECT_FALSE(background->IsPanelRequested());
    EXPECT_EQ(background->GetPanelWindow()->GetParent(), background->GetDecorationRoot());
    background->ClearPanelArrival();

    // The release: back to step 5 while the scene dims away and is gone once the text area has faded out.
    background->ReleasePanel();
    Frame();
    EXPECT_EQ(background->GetStartUpStep(), 5u);
    EXPECT_FALSE(background->IsPanelPresent());
    EXPECT_FALSE(background->IsPanelReleaseRequested());
    ASSERT_TRUE(FramesUntil([&] { return !background->IsPanelWindowVisible(); }));
    for (const GUIBackgroundWindow::Layer& theme : background->GetBaseThemes())
        EXPECT_FALSE(theme.window->IsVisible());
    Frame();
    EXPECT_TRUE(background->GetTextPrinter().GetShownText().empty());
    EXPECT_TRUE(background->IsTextAreaShown());
}

// The stage themes, made after the decorations, still lie under them; the text area is its model's rectangle; and
// the name fades in whole even when the menus come before it has.
TEST_F(GUIBackgroundWindowTest, TheSceneStandsInItsOrderAndItsNameComesWhole)
{
    MakeBackground();
    const std::unique_ptr<KeystrelEngine::Model> area(
        engine->m_models->LoadModelUnmanaged(GUIBackgroundWindow::kTextAreaModel, 0));
    const GUIWindow* text = background->GetTextAreaWindow();
    EXPECT_FLOAT_EQ(text->m_position.x, area->m_boundingBox.m_localMin.x);
    EXPECT_FLOAT_EQ(text->m_size.height, area->m_boundingBox.m_localMax.y - area->m_boundingBox.m_localMin.y);

    // The data come at once, so step 5 comes before the name stands whole.
    RunToStep(5);
    EXPECT_EQ(FindTheme("meadow")->window->GetLayer(), 3) << "its place in the file";
    EXPECT_LT(background->GetDecorationRoot()->GetDepth(), FindTheme("bloom")->window->GetDepth());
    const GUIWindow* lastTitle = nullptr;
    for (const GUIWindow* child : background->GetDecorationRoot()->GetChildren()) {
        if (child->GetQuad() && child->GetQuad()->GetName() == "ui\\menus\\models\\background\\title_3.mlf")
            lastTitle = child;
    }
    ASSERT_NE(lastTitle, nullptr);
    EXPECT_LT(lastTitle->GetColour().a, 0.5f);
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(lastTitle->GetColour().a, 1.0f);
}

// The publisher's small logo takes layer 3 and fades in with the name only when both its pictures exist.
TEST_F(GUIBackgroundWindowTest, WithoutTheSmallPublisherLogoLayerThreeStaysEmpty)
{
    for (const char* missing : {"", "data\\ui\\menus\\textures\\publisher_logo_small.jpg",
                                "data\\ui\\menus\\textures\\publisher_logo_small_alpha.jpg"}) {
        SCOPED_TRACE(missing);
        ResetDataFolder();
        if (*missing)
            RemoveDataFile(missing);
        MakeBackground();
        background->Start();
        ASSERT_TRUE(FramesUntil([&] { return background->GetStartUpStep() == 3; }));
        int onLayer3 = 0;
        for (const GUIWindow* child : background->GetDecorationRoot()->GetChildren())
            onLayer3 += child->GetLayer() == 3 ? 1 : 0;
        EXPECT_EQ(onLayer3, *missing ? 0 : 1);
        EXPECT_EQ(background->GetExtraLogo() != nullptr, !*missing);
        if (!*missing) {
            EXPECT_EQ(background->GetExtraLogo()->GetColour().a, 1.0f);
        }
        background.reset();
    }
}

TEST_F(GUIBackgroundWindowTest, StageThemesShowFromTheirStageOn)
{
    // The last level of the catalogue.
    const std::uint32_t lastStage = 2;
    MakeBackground();
    const GameFramework::LevelId last{lastStage, levels->GetStage(lastStage).levelCount - 1};
    background->UpdateStageTheme();
    EXPECT_EQ(background->GetStageThemeIndex(), 0u) << "no profile";

    struct Case
    {
        GameFramework::LevelId current;
        GameFramework::LevelId best;
        bool finished;
        std::uint32_t index;
    };
    const Case cases[] = {{{1, 2}, {1, 3}, false, 1},
                          {last, last, false, 2},
                          {last, {lastStage, 0}, true, 2},
                          {{lastStage, 0}, {lastStage, 0}, true, 2},
                          {last, last, true, 3}};
    for (const Case& test : cases) {
        MakeCurrentProfile(test.current, test.best, test.finished);
        background->UpdateStageTheme();
        EXPECT_EQ(background->GetStageThemeIndex(), test.index) << test.current.stage << "-" << test.current.level;
    }

    // spring (stage 2) stays hidden at theme indices 0 and 1; grove (stage 1) shows from 1 on.
    for (std::uint32_t stage : {0u, 1u, 2u}) {
        SCOPED_TRACE(stage);
        background.reset();
        MakeCurrentProfile({stage, 0}, {stage, 0}, false);
        MakeBackground();
        RunToStep(5);
        ASSERT_TRUE(FramesUntil([&] { return FindTheme("meadow")->alpha == 1.0f; }));
        EXPECT_EQ(FindTheme("spring")->window->IsVisible(), stage >= 2);
        EXPECT_EQ(FindTheme("grove")->window->IsVisible(), stage >= 1);
        EXPECT_EQ(FindTheme("grove")->alpha, stage >= 1 ? 1.0f : 0.0f);
        EXPECT_FALSE(FindTheme("bloom")->window->IsVisible());
        background->ShowAll();
        Frame();
        EXPECT_EQ(FindTheme("spring")->window->IsVisible(), stage >= 2);
    }
}

TEST_F(GUIBackgroundWindowTest, ANewStagesThemesFadeInUnderOneGlow)
{
    MakeCurrentProfile({1, 0}, {1, 0}, false);
    MakeBackground();
    player->AddSound(GUIBackgroundWindow::kGlowSound, "audio\\game\\deselect.wav", 1, false);
    const double& glowSoundStart = player->GetVoices().back()->startTime;
    RunToStep(5);
    ASSERT_TRUE(FramesUntil([&] { return FindTheme("meadow")->alpha == 1.0f; }));
    const GUIBackgroundWindow::Layer& spring = *FindTheme("spring");
    EXPECT_FALSE(spring.window->IsVisible());

    MakeCurrentProfile({2, 0}, {2, 0}, false);
    background->UpdateStageTheme();
    background->StartNewStageTheme();
    Frame();
    EXPECT_TRUE(spring.window->IsVisible());
    EXPECT_NEAR(spring.alpha, 0.1f, 1e-5f);
    ASSERT_TRUE(FramesUntil([&] { return background->GetGlow()->m_emitting; }));
    EXPECT_GT(glowSoundStart, 0.0);
    // The new-theme clock runs at half the frame time and bursts at 0.8: 1.6 s after the start.
    EXPECT_EQ(spring.alpha, 1.0f);
    // Over the theme's rectangle (which sways a little from frame to frame), its rates scaled by its area.
    const KeystrelEngine::BoundingBox& box = spring.window->GetQuad()->m_boundingBox;
    EXPECT_NEAR(background->GetGlow()->m_position.x, (box.m_localMin.x + box.m_localMax.x) * 0.5f, 2.0f);
    EXPECT_NEAR(background->GetGlow()->m_position.y, (box.m_localMin.y + box.m_localMax.y) * 0.5f, 2.0f);
    const float area = (box.m_localMax.x - box.m_localMin.x) * (box.m_localMax.y - box.m_localMin.y);
    const float expected = data->GetParticleSystem(GUIBackgroundWindow::kGlowSystem)->GetParameters().rate[0] *
                           std::min(area, 160000.0f) / 160000.0f;
    EXPECT_NEAR(background->GetGlow()->GetParameters().rate[0], expected, expected * 0.02f);

    // Once: the glow is not started again.
    background->GetGlow()->m_emitting = false;
    const double burstTime = glowSoundStart;
    for (int i = 0; i < 40; ++i)
        Frame();
    EXPECT_FALSE(background->GetGlow()->m_emitting);
    EXPECT_EQ(glowSoundStart, burstTime);
}

TEST_F(GUIBackgroundWindowTest, TheTextAreaFadesInAndOut)
{
    MakeBackground();
    RunToStep(5);
    background->ShowAll();
    EXPECT_FALSE(background->IsFadeComplete());
    // 2 a second: whole after half a second.
    std::vector<float> alphas;
    while (!background->IsFadeComplete()) {
        Frame(0.1f);
        alphas.push_back(background->GetTextAlpha());
    }
    EXPECT_EQ(alphas.size(), 5u);
    EXPECT_NEAR(background->GetTextPrinter().GetColour().a, 1.0f, 1e-5f);

    background->ShowScene();
    EXPECT_FALSE(background->IsFadeComplete());
    EXPECT_TRUE(background->IsTextAreaShown());
    ASSERT_TRUE(FramesUntil([&] { return background->IsFadeComplete(); }));
    EXPECT_LT(background->GetTextAlpha(), 0.0001f);
    EXPECT_LT(background->GetTextPrinter().GetColour().a, 0.0001f);
    EXPECT_LT(background->GetPanelWindow()->GetColour().a, 0.0001f) << "no empty title plate over the landscape";
    // The scene itself stays.
    EXPECT_TRUE(FindTheme("sky")->window->IsVisible());
}

// A window shown over a running level (the scene gone) brings in the panel before its frame unfolds, and gives
// it back once its frame has gone, with the real scene on the other side.
TEST_F(GUIBackgroundWindowTest, APanelWindowBringsInTheScenesPanelAndGivesItBack)
{
    MakeBackground();
    engine->m_gui->m_texts->LoadTexts("ui\\texts\\en\\new_profile.ini");
    RunToStep(6);
    // The scene goes as when a level starts: the text area hides and everything with it.
    background->RequestPanel();
    ASSERT_TRUE(FramesUntil([&] { return background->GetStartUpStep() == 8; }));
    background->ReleasePanel();
    ASSERT_TRUE(FramesUntil([&] { return !background->IsPanelWindowVisible(); }));

    Wispfold::GUIMenuWindowManager manager(background.get());
    manager.m_frameFree = true;
    Wispfold::GUIMenuWindow window(engine.get(), player.get(), data.get(), &manager, Wispfold::FrameKind::SmallWindow,
                                   background->GetTopRoot());
    window.SetTitle("NEW_PROFILE_TITLE");
    window.RequestOpenOverPanel();
    const auto frame = [&] { Frame(kFrameTime, [&] { window.Update(); }); };
    const auto framesUntil = [&](const std::function<bool()>& condition) {
        for (int i = 0; i < 200 && !condition(); ++i)
            frame();
        return condition();
    };
    frame();
    EXPECT_TRUE(window.HoldsPanel());
    EXPECT_TRUE(background->IsPanelRequested());
    frame();
    EXPECT_EQ(background->GetStartUpStep(), 7u);
    EXPECT_EQ(background->GetPanelWindow()->GetParent(), data->GetRootWindow());
    EXPECT_FALSE(window.GetFrame()->GetModelWindow()->IsVisible()) << "the frame waits for the panel";
    EXPECT_FALSE(background->GetTextPrinter().IsFinished()) << "the title types while the panel unfolds";

    ASSERT_TRUE(framesUntil([&] { return window.GetFrame()->GetModelWindow()->IsVisible(); }));
    EXPECT_EQ(background->GetStartUpStep(), 8u);
    EXPECT_TRUE(background->IsPanelPresent());
    EXPECT_FALSE(background->HasPanelJustArrived()) << "taken by the window";
    ASSERT_TRUE(framesUntil([&] { return background->GetTextPrinter().IsFinished(); }));
    EXPECT_EQ(background->GetTextPrinter().GetShownText(), window.GetTitle());

    // Closed: the panel goes back once the frame has gone, and the text area hides with it.
    window.GivePanelBackOnceGone();
    window.CloseFrame();
    ASSERT_TRUE(framesUntil([&] { return background->GetStartUpStep() != 8; }));
    EXPECT_EQ(background->GetStartUpStep(), 5u);
    EXPECT_TRUE(manager.m_frameFree);
    EXPECT_FALSE(window.HoldsPanel());
    EXPECT_FALSE(background->IsPanelPresent());
    EXPECT_FALSE(background->IsTextAreaShown());
    EXPECT_TRUE(framesUntil([&] { return !background->IsPanelWindowVisible(); }));
}

// A panel asked for while the scene dims away (a window opened right after a level starts, or right after another
// gave the panel back) comes once the scene has gone, and stays with the text area back.
TEST_F(GUIBackgroundWindowTest, APanelAskedForWhileTheSceneDimsAwayComesAfterIt)
{
    MakeBackground();
    RunToStep(6);
    background->RequestPanel();
    ASSERT_TRUE(FramesUntil([&] { return background->IsPanelPresent(); }));
    const std::pair<const char*, std::function<void()>> dims[] = {
        {"given back", [&] { background->ReleasePanel(); }},
        {"level start after the scene has gone", [&] {
             background->ReleasePanel();
             ASSERT_TRUE(FramesUntil([&] { return !background->IsPanelWindowVisible(); }));
             background->LeaveForLevel();
         }}};
    for (const auto& [name, dim] : dims) {
        SCOPED_TRACE(name);
        background->ClearPanelArrival();
        dim();
        Frame();
        ASSERT_FALSE(background->IsTextAreaShown());
        background->RequestPanel();
        ASSERT_TRUE(FramesUntil([&] { return background->IsPanelPresent(); }));
        EXPECT_TRUE(background->IsTextAreaShown()) << "the scene went first";
        for (int i = 0; i < 20; ++i)
            Frame();
        EXPECT_TRUE(background->IsPanelWindowVisible());
        EXPECT_EQ(background->GetStartUpStep(), 8u);
    }
}

// A file without base themes, and files that end before their count, leave no window behind.
TEST_F(GUIBackgroundWindowTest, RefusedThemeFilesLeaveNothingBehind)
{
    struct Case
    {
        const char* file;
        const char* error;
    };
    const Case cases[] = {
        {"2\nmeadow\n0\n0\ngrove\n0\n1\n", "Background have no thematic models"},
        {"0\n", "Background have no thematic models"},
        {"3\nsky\n1\n0\nmeadow\n0 0\n",
         "Incorrect \"data\\ui\\menus\\background\\background.ini\" file format: theme 3's name is missing"},
        {"2000000000\nsky\n1 0\n",
         "Incorrect \"data\\ui\\menus\\background\\background.ini\" file format: theme 2's name is missing"}};
    const std::uint32_t windows = engine->m_gui->m_windows.GetLiveCount();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        ReplaceDataFile(BackgroundThemes::kPath, test.file);
        try {
            MakeBackground();
            ADD_FAILURE() << "made";
        } catch (const KeystrelEngine::FileError& error) {
            EXPECT_EQ(error.GetText(), test.error);
        }
        EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount(), windows);
    }
    // A missing decoration fails after the themes were made: they go again.
    ResetDataFolder();
    RemoveDataFile("ui\\menus\\models\\background\\title_2.mlf");
    EXPECT_THROW(MakeBackground(), KeystrelEngine::Error);
    EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount(), windows);
}

} // namespace
