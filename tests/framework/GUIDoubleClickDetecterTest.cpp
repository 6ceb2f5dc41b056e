#include "framework/GUIDoubleClickDetecter.h"

#include "tests/framework/GUIToolFixture.h"

using GameTools::GUIDoubleClickDetecter;
using KeystrelEngine::GUIWindow;

namespace {

// Two watched windows side by side; the cursor is moved over one of them before each press.
class DoubleClickTest : public FrameworkTesting::GUIToolFixture
{
protected:
    void SetUp() override
    {
        GUIToolFixture::SetUp();
        left = Window(GUIWindow::kShown, {0, 0}, {100, 100});
        right = Window(GUIWindow::kShown, {100, 0}, {100, 100});
        detecter = std::make_unique<GUIDoubleClickDetecter>(timers.get(), controls.get());
        detecter->m_windows = {left.get(), right.get()};
    }

    void TearDown() override
    {
        detecter.reset();
        left.reset();
        right.reset();
        GUIToolFixture::TearDown();
    }

    // The GUI's hit test of the frame at a point of the window (or of neither window with null).
    void Point(const GUIWindow* target)
    {
        const float x = target == left.get() ? 50.0f : target == right.get() ? 150.0f : 500.0f;
        for (GUIWindow* window : {left.get(), right.get()})
            window->Update(x, 50.0f, false, false);
    }

    // The button's state changes in a frame that lasts the seconds; returns whether a double click ended.
    bool Button(bool down, const GUIWindow* target, double seconds = 0.1)
    {
        Frame(seconds);
        Point(target);
        controls->SetKeyState("MOUSE1", down);
        detecter->Update();
        return detecter->IsDoubleClicked();
    }

    // Press and release, each in a frame of the seconds; returns whether the release ended a double click.
    bool Click(const GUIWindow* target, double seconds = 0.1)
    {
        EXPECT_FALSE(Button(true, target, seconds));
        return Button(false, target, seconds);
    }

    std::unique_ptr<GUIWindow> left;
    std::unique_ptr<GUIWindow> right;
    std::unique_ptr<GUIDoubleClickDetecter> detecter;
};

TEST_F(DoubleClickTest, TwoClicksOnOneWindowWithinTheTimeoutMakeOneDoubleClick)
{
    EXPECT_FALSE(Click(left.get()));
    EXPECT_TRUE(Click(left.get())); // 0.3 s from the first press to the second release
    EXPECT_EQ(detecter->GetClickedWindow(), left.get());
    // The flag lasts one update, and a third click only starts a new pending click.
    Frame();
    detecter->Update();
    EXPECT_FALSE(detecter->IsDoubleClicked());
    EXPECT_EQ(detecter->GetClickedWindow(), left.get());
    EXPECT_FALSE(Click(left.get()));
    EXPECT_TRUE(Click(left.get()));
}

TEST_F(DoubleClickTest, ClicksTooFarApartStartANewPendingClick)
{
    // The second release 0.65 s after the first press.
    EXPECT_FALSE(Click(left.get()));
    EXPECT_FALSE(Button(true, left.get()));
    EXPECT_FALSE(Button(false, left.get(), 0.45));
    // A second press 0.7 s after the first is a first press of its own: one more click completes it.
    EXPECT_FALSE(Button(true, left.get(), 0.5));
    EXPECT_FALSE(Button(false, left.get()));
    EXPECT_FALSE(Button(true, left.get(), 0.6));
    EXPECT_FALSE(Button(false, left.get()));
    EXPECT_TRUE(Click(left.get()));
}

TEST_F(DoubleClickTest, APressOnAnotherWindowRestartsAndAPressOnNothingDrops)
{
    EXPECT_FALSE(Click(left.get()));
    EXPECT_FALSE(Click(right.get()));
    EXPECT_EQ(detecter->GetClickedWindow(), right.get());
    EXPECT_TRUE(Click(right.get()));
    EXPECT_EQ(detecter->GetClickedWindow(), right.get());

    EXPECT_FALSE(Click(left.get()));
    EXPECT_FALSE(Click(nullptr));
    EXPECT_EQ(detecter->GetClickedWindow(), nullptr);
    EXPECT_FALSE(Click(left.get()));
}

TEST_F(DoubleClickTest, HiddenAndRemovedWindowsNeverCount)
{
    // Still under the cursor by the last hit test, but hidden since.
    Point(left.get());
    left->SetVisible(false);
    ASSERT_TRUE(left->IsCursorOver());
    controls->SetKeyState("MOUSE1", true);
    detecter->Update();
    EXPECT_EQ(detecter->GetClickedWindow(), nullptr);
    EXPECT_FALSE(Button(false, left.get()));
    left->SetVisible(true);

    // Removing a window forgets the click pending on it; only the first occurrence goes.
    detecter->m_windows.push_back(left.get());
    EXPECT_FALSE(Click(left.get()));
    EXPECT_FALSE(Button(true, left.get()));
    detecter->RemoveWidget(left.get());
    EXPECT_FALSE(Button(false, left.get()));
    EXPECT_EQ(detecter->GetClickedWindow(), nullptr);
    EXPECT_EQ(detecter->m_windows, (std::vector<GUIWindow*>{right.get(), left.get()}));
    detecter->RemoveWidget(left.get());
    detecter->RemoveWidget(left.get());
    EXPECT_EQ(detecter->m_windows, std::vector<GUIWindow*>{right.get()});
    EXPECT_FALSE(Click(left.get()));
    EXPECT_FALSE(Click(left.get()));
}

} // namespace
