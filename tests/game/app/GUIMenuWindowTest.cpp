// The menu frame on the generated models with a stand-in background: one frame on screen at a time, the fade in
// after the unfold and the fade out before the fold, the window sounds, the typed title, a frame of one animation
// frame, the background's panel brought in before a window and given back after it, and the states a window passes
// through on the way.
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "tests/game/app/MenuFixture.h"

#include <filesystem>
#include <ostream>

namespace Wispfold {

// A failure shows a window's states by their numbers in the enumeration.
void PrintTo(GUIMenuWindow::State state, std::ostream* out)
{
    *out << static_cast<int>(state);
}

} // namespace Wispfold

using Wispfold::FrameKind;
using Wispfold::GUIControl;
using Wispfold::GUIMenuWindow;

namespace {

using namespace AppTesting;

class GUIMenuWindowTest : public MenuFixture
{
protected:
    static const KeystrelEngine::AnimationControl& FrameAnimation(const GUIMenuWindow& window)
    {
        return window.GetFrame()->GetModelWindow()->GetQuad()->GetAnimationControl();
    }

    static bool FrameModelVisible(const GUIMenuWindow& window)
    {
        return window.GetFrame()->GetModelWindow()->IsVisible();
    }

    // Opens the window and runs it until it stands open.
    void OpenFully(GUIMenuWindow& window)
    {
        window.RequestOpen();
        ASSERT_LE(FramesUntil([&] { return window.m_colour.a == 1.0f; }, {&window}), 40);
    }
};

TEST_F(GUIMenuWindowTest, AWindowOpenedWhileAnotherFrameIsOnScreenStartsTheFrameAfterThatFrameHasGone)
{
    GUIMenuWindow& first = MakeWindow(FrameKind::SmallWindow);
    GUIMenuWindow& second = MakeWindow(FrameKind::BigWindow);
    OpenFully(first);
    EXPECT_FALSE(manager->m_frameFree);

    first.CloseFrame();
    second.RequestOpen();
    int hiddenAt = 0;
    int shownAt = 0;
    for (int frame = 1; frame <= 30 && shownAt == 0; ++frame) {
        Frame({&second, &first});
        if (second.IsShown())
            shownAt = frame;
        if (hiddenAt == 0 && !FrameModelVisible(first))
            hiddenAt = frame;
        EXPECT_TRUE(hiddenAt != 0 || !second.IsShown()) << frame;
    }
    ASSERT_GT(hiddenAt, 2); // faded out, then folded
    EXPECT_EQ(shownAt, hiddenAt + 1);
    EXPECT_TRUE(FrameModelVisible(second));
    EXPECT_FALSE(manager->m_frameFree);
}

TEST_F(GUIMenuWindowTest, AlphaRisesAfterTheUnfoldAndFallsAfterCloseAndTheFoldStartsWhenItEnds)
{
    GUIMenuWindow& window = MakeWindow(FrameKind::BigWindow);
    GUIControl& button = *window.AddButton("big_window\\button_0", "controls\\button_big");
    window.RequestOpen();
    Frame({&window});
    ASSERT_TRUE(window.IsShown());
    std::vector<float> alphas;
    for (int frame = 0; frame < 12; ++frame) {
        EXPECT_EQ(window.m_colour.a == 0.0f, alphas.empty());
        Frame({&window});
        if (window.m_colour.a > 0.0f)
            alphas.push_back(window.m_colour.a);
        else
            EXPECT_TRUE(window.IsAnyControlAnimating() || !button.GetWidget()->IsVisible()) << frame;
    }
    ASSERT_GE(alphas.size(), 3u);
    EXPECT_NEAR(alphas[0], 0.4f, 1e-4f);
    EXPECT_NEAR(alphas[1], 0.8f, 1e-4f);
    EXPECT_EQ(alphas[2], 1.0f);
    EXPECT_TRUE(button.GetWidget()->IsVisible());

    window.CloseFrame();
    Frame({&window});
    EXPECT_NEAR(window.m_colour.a, 0.2f, 1e-4f);
    EXPECT_EQ(FrameAnimation(window).m_currentAnimation, GUIControl::kUnfold); // not folding yet
    EXPECT_TRUE(button.GetWidget()->IsVisible());
    Frame({&window});
    EXPECT_EQ(window.m_colour.a, 0.0f);
    EXPECT_EQ(FrameAnimation(window).m_currentAnimation, GUIControl::kFold);
    EXPECT_FALSE(button.GetWidget()->IsVisible());
    EXPECT_TRUE(button.GetModelWindow()->IsVisible());
    EXPECT_LE(FramesUntil([&] { return manager->m_frameFree; }, {&window}), 10);
    EXPECT_FALSE(FrameModelVisible(window));
    // The frame folds at 42 frames a second, the button at 32: the screen is free a frame before it has gone.
    EXPECT_TRUE(button.GetModelWindow()->IsVisible());
    Frame({&window});
    EXPECT_FALSE(button.GetModelWindow()->IsVisible());
}

// A window closed before its fade-in began, while its controls unfold or in the frame they have unfolded with the
// alpha still at 0, folds all the same: the screen comes free for the next window (the level's loading waits on it).
TEST_F(GUIMenuWindowTest, AWindowClosedBeforeItFadesInStillFoldsAndFreesTheScreen)
{
    for (const bool unfolded : {false, true}) {
        GUIMenuWindow& window = MakeWindow(FrameKind::BigWindow);
        window.AddButton("big_window\\button_0", "controls\\button_big");
        window.RequestOpen();
        Frame({&window});
        ASSERT_TRUE(window.IsShown());
        if (unfolded) {
            ASSERT_LE(FramesUntil([&] { return !window.IsAnyControlAnimating(); }, {&window}), 40);
        }
        ASSERT_EQ(window.m_colour.a, 0.0f);
        window.CloseFrame();
        EXPECT_LE(FramesUntil([&] { return manager->m_frameFree; }, {&window}), 20) << unfolded;
        EXPECT_FALSE(FrameModelVisible(window)) << unfolded;
    }
}

TEST_F(GUIMenuWindowTest, TheMainMenuIsSilentAndTheOtherFramesSoundOnceEachWayAndTypeTheirTitle)
{
    for (const FrameKind kind :
         {FrameKind::MainMenu, FrameKind::BigWindow, FrameKind::SmallWindow, FrameKind::StartGame}) {
        SCOPED_TRACE(static_cast<int>(kind));
        GUIMenuWindow& window = MakeWindow(kind);
        window.SetTitle("OK");
        const int appear = Plays(GUIMenuWindow::kAppearSound);
        const int disappear = Plays(GUIMenuWindow::kDisappearSound);
        OpenFully(window);
        FramesUntil([&] { return background->printer->IsFinished(); }, {&window});
        EXPECT_EQ(background->printer->GetShownText(), u"OK");
        window.CloseFrame();
        EXPECT_LE(FramesUntil([&] { return manager->m_frameFree; }, {&window}), 10);
        const int sounds = kind == FrameKind::MainMenu ? 0 : 1;
        EXPECT_EQ(Plays(GUIMenuWindow::kAppearSound) - appear, sounds);
        EXPECT_EQ(Plays(GUIMenuWindow::kDisappearSound) - disappear, sounds);
    }
}

TEST_F(GUIMenuWindowTest, AFrameModelOfOneAnimationFrameHasNoModelWindowAndFollowsTheAlpha)
{
    const std::string frame = "ui\\menus\\models\\small_window\\window.mlf";
    const std::filesystem::path still = std::filesystem::path(KEYSTREL_BUILD_FOLDER) / "Data/ui/menus/models";
    ReplaceDataFile(frame, TestSupport::ReadFile((still / "small_window/window_area.mlf").string()));
    data.reset();
    data = MakeSharedData();
    LoadSharedData(*data);
    ASSERT_EQ(data->GetModel(frame)->GetAnimationControl().GetFrameCount(), 1u);

    GUIMenuWindow& window = MakeWindow(FrameKind::SmallWindow);
    EXPECT_EQ(window.GetFrame()->GetModelWindow(), nullptr);
    EXPECT_FALSE(window.GetFrameWidget()->IsVisible());
    window.RequestOpen();
    Frame({&window});
    EXPECT_NEAR(window.m_colour.a, 0.4f, 1e-4f); // nothing unfolds
    EXPECT_TRUE(window.GetFrameWidget()->IsVisible());
    EXPECT_NEAR(window.GetFrameWidget()->GetColour().a, 0.4f, 1e-4f);
    Frame({&window});
    Frame({&window});
    window.CloseFrame();
    Frame({&window});
    EXPECT_TRUE(window.GetFrameWidget()->IsVisible());
    EXPECT_FALSE(manager->m_frameFree);
    Frame({&window});
    EXPECT_FALSE(window.GetFrameWidget()->IsVisible());
    EXPECT_TRUE(manager->m_frameFree);
}

TEST_F(GUIMenuWindowTest, APanelWindowBringsInThePanelBeforeItsControlsAndGivesItBackAfterItHasGone)
{
    GUIMenuWindow& window = MakeWindow(FrameKind::SmallWindow);
    window.RequestOpenOverPanel();
    Frame({&window});
    EXPECT_TRUE(window.IsShown());
    EXPECT_TRUE(window.HoldsPanel());
    EXPECT_FALSE(window.WantsPanel());
    EXPECT_EQ(background->requests, 1);
    EXPECT_FALSE(manager->m_frameFree);                             // taken while the panel comes
    EXPECT_FALSE(window.GetFrame()->GetModelWindow()->IsVisible()); // the controls wait for it
    EXPECT_TRUE(background->present);                               // arrived in the background's update

    Frame({&window});
    EXPECT_FALSE(background->justArrived);
    EXPECT_TRUE(window.GetFrame()->GetModelWindow()->IsVisible());
    EXPECT_EQ(Plays(GUIMenuWindow::kAppearSound), 1);
    EXPECT_EQ(background->requests, 1);
    FramesUntil([&] { return window.m_colour.a == 1.0f; }, {&window});

    // A second panel window waits while the panel of the first is up.
    GUIMenuWindow& next = MakeWindow(FrameKind::BigWindow);
    window.GivePanelBackOnceGone();
    window.CloseFrame();
    next.RequestOpenOverPanel();
    const int gone = FramesUntil([&] { return manager->m_frameFree || background->releases > 0; }, {&next, &window});
    EXPECT_TRUE(manager->m_frameFree);
    EXPECT_EQ(background->releases, 0); // given back only once the frame has gone
    EXPECT_GT(gone, 2);
    Frame({&next, &window});
    EXPECT_FALSE(next.IsShown()); // the panel was still up when it looked
    EXPECT_EQ(background->releases, 1);
    EXPECT_FALSE(window.HoldsPanel());
    EXPECT_FALSE(window.IsGivingPanelBack());
    EXPECT_FALSE(background->present);
    Frame({&next, &window});
    EXPECT_TRUE(next.IsShown());
    EXPECT_TRUE(next.HoldsPanel());
    EXPECT_EQ(background->requests, 2);

    // A shown window whose panel the background took away asks for it again with the screen it holds, and goes
    // on once it is back; closed, it gives it back.
    FramesUntil([&] { return next.m_colour.a == 1.0f; }, {&next});
    background->present = background->windowVisible = false;
    Frame({&next});
    EXPECT_EQ(background->requests, 3);
    EXPECT_FALSE(manager->m_frameFree);
    next.CloseFrame();
    EXPECT_LE(FramesUntil([&] { return manager->m_frameFree && !next.HoldsPanel(); }, {&next}), 40);
    EXPECT_EQ(background->releases, 2);
}

// The states a window passes through, noted after each frame and each Close, in the order of the cycle's moves:
// plainly, over the panel with the panel taken away while it is open, and closed while the panel it called was
// still coming.
TEST_F(GUIMenuWindowTest, AWindowPassesThroughTheStatesOfItsCycleInOrder)
{
    using State = GUIMenuWindow::State;
    GUIMenuWindow& window = MakeWindow(FrameKind::SmallWindow);
    std::vector<State> states{window.GetState()};
    const auto note = [&] {
        if (states.empty() || window.GetState() != states.back())
            states.push_back(window.GetState());
    };
    const auto run = [&](int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            Frame({&window});
            note();
        }
    };
    const auto close = [&] {
        window.CloseFrame();
        note();
    };
    window.RequestOpen();
    run(10);
    close();
    run(10);
    EXPECT_EQ(states, (std::vector{State::Closed, State::Open, State::Closing, State::Folding, State::Closed}));

    states = {window.GetState()};
    window.RequestOpenOverPanel();
    run(10); // the stand-in's panel arrives at the end of the frame that calls it
    background->present = background->windowVisible = false;
    run(10);
    close();
    run(10);
    EXPECT_EQ(states, (std::vector{State::Closed, State::CallingPanel, State::Open, State::RecallingPanel, State::Open,
                                   State::Closing, State::Folding, State::Closed}));
    EXPECT_FALSE(window.HoldsPanel());

    states = {window.GetState()};
    window.RequestOpenOverPanel();
    run(1);
    close();
    run(1);
    EXPECT_EQ(states, (std::vector{State::Closed, State::CallingPanel, State::CallDropped, State::Closed}));
    EXPECT_TRUE(manager->m_frameFree);
    EXPECT_FALSE(window.HoldsPanel());
}

} // namespace
