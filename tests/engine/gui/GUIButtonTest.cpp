// Buttons and check boxes on the recording device: the state list walked by mouse scripts (presses that start
// elsewhere, drags off and back), their sounds, enabling and showing, the check box's toggle and frames, and the
// texture frame a drawn button shows.
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/render/ShaderUser.h"
#include "tests/engine/gui/WidgetFixture.h"

using GUITesting::Mouse;
using KeystrelEngine::GUIButton;
using KeystrelEngine::GUICheckBox;
using KeystrelEngine::ShaderDescriptor;

namespace {

// The buttons lie at (100, 100) to (200, 150).
constexpr Mouse kOutside{50, 50};
constexpr Mouse kOver{150, 125};
constexpr Mouse kPressOver{150, 125, true, true};
constexpr Mouse kHoldOver{150, 125, true};
constexpr Mouse kPressOutside{50, 50, true, true};
constexpr Mouse kHoldOutside{50, 50, true};

struct Step
{
    Mouse mouse;
    std::uint32_t state; // GetState after the update
    bool clicked;
    std::vector<std::uint32_t> sounds;
};

class GUIButtonTest : public GUITesting::WidgetFixture
{
protected:
    std::unique_ptr<GUIButton> Button(const ShaderDescriptor& descriptor = ShaderDescriptor())
    {
        return std::make_unique<GUIButton>(gui, guiSounds.get(), GUIButton::kShown, KeystrelEngine::GUIPoint{100, 100},
                                           KeystrelEngine::GUISize{100, 50}, descriptor, nullptr, 1.0f, 1.0f);
    }

    std::unique_ptr<GUICheckBox> CheckBox(const ShaderDescriptor& descriptor = ShaderDescriptor())
    {
        auto box = std::make_unique<GUICheckBox>(gui, guiSounds.get(), KeystrelEngine::GUIPoint{100, 100},
                                                 KeystrelEngine::GUISize{100, 50}, SourceQuad(descriptor), nullptr);
        box->SetVisible(true);
        return box;
    }

    void Run(GUIButton& button, const std::vector<Step>& steps)
    {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            EXPECT_TRUE(button.Update(step.mouse.x, step.mouse.y, step.mouse.held, step.mouse.wentDown));
            EXPECT_EQ(button.GetState(), step.state) << "step " << i;
            EXPECT_EQ(button.IsClicked(), step.clicked) << "step " << i;
            EXPECT_EQ(TakeSounds(), step.sounds) << "step " << i;
        }
    }
};

TEST_F(GUIButtonTest, ClicksNeedAPressThatStartsOnTheButtonAndEndsOverIt)
{
    const auto button = Button();
    Run(*button, {
                     {kOutside, 0, false, {}},
                     {kOver, 1, false, {0}},        // enters: select sound
                     {kPressOver, 2, false, {1}},   // goes down on it: click sound
                     {kHoldOutside, 0, false, {}},  // dragged off
                     {kHoldOver, 2, false, {}},     // and back: still pressed, no select sound
                     {kOver, 1, true, {}},          // released over it: a click
                     {kOver, 1, false, {}},         // for one update only
                     {kOutside, 0, false, {}},      //
                     {kPressOutside, 0, false, {}}, // a press elsewhere...
                     {kHoldOver, 1, false, {0}},    // ...dragged onto the button is no press of it
                     {kOver, 1, false, {}},         // and its release no click
                     {kPressOver, 2, false, {1}},   //
                     {kHoldOutside, 0, false, {}},  //
                     {kOutside, 0, false, {}},      // released elsewhere: no click
                     {kOver, 1, false, {0}},
                 });
}

TEST_F(GUIButtonTest, AButtonMadeUnderTheCursorStaysSilentUntilTheCursorComesBack)
{
    const auto button = Button();
    Run(*button, {{kOver, 1, false, {}}, {kOutside, 0, false, {}}, {kOver, 1, false, {0}}});
}

TEST_F(GUIButtonTest, EnablingKeepsTheStateDisablingFreezesThePressAndShowingResetsTheState)
{
    const auto button = Button();
    Run(*button, {{kOutside, 0, false, {}}, {kOver, 1, false, {0}}});
    button->SetEnabled(true);
    EXPECT_EQ(button->GetState(), 1u) << "enabling an enabled button keeps hover";
    Run(*button, {{kPressOver, 2, false, {1}}});
    button->SetEnabled(true);
    EXPECT_EQ(button->GetState(), 2u) << "and pressed";

    button->SetEnabled(false);
    EXPECT_EQ(button->GetState(), 3u);
    for (const Mouse& mouse : {kHoldOutside, kHoldOver, kPressOver}) {
        EXPECT_FALSE(button->Update(mouse.x, mouse.y, mouse.held, mouse.wentDown));
        EXPECT_EQ(button->GetState(), 3u);
        EXPECT_FALSE(button->IsClicked());
        EXPECT_TRUE(button->IsPressed()) << "the press is kept while disabled and held";
    }
    EXPECT_TRUE(TakeSounds().empty());

    // Enabled again, the held press goes on to a click; the button last saw the cursor over it, so no sound.
    button->SetEnabled(true);
    EXPECT_EQ(button->GetState(), 0u);
    Run(*button, {{kHoldOver, 2, false, {}}, {kOver, 1, true, {}}});
    // A press that a hide cuts off is gone when the button shows again: no click.
    Run(*button, {{kPressOver, 2, false, {1}}});
    button->SetEnabled(false);
    button->SetVisible(false);
    button->SetVisible(true);
    EXPECT_EQ(button->GetState(), 3u) << "showing keeps a disabled button disabled";
    button->SetEnabled(true);
    Run(*button, {{kOver, 1, false, {}}});

    // A button that becomes visible starts normal.
    button->SetVisible(false);
    EXPECT_FALSE(button->Update(kOver.x, kOver.y, false, false));
    button->SetVisible(true);
    EXPECT_EQ(button->GetState(), 0u);
}

// A press whose mouse button is released while the button is disabled has ended: enabled again under the cursor,
// neither a button nor a check box clicks until it is pressed anew.
TEST_F(GUIButtonTest, AReleaseWhileDisabledEndsThePress)
{
    const auto button = Button();
    const auto box = CheckBox();
    for (GUIButton* widget : {button.get(), static_cast<GUIButton*>(box.get())}) {
        const auto clicks = [&](const Mouse& mouse) {
            widget->Update(mouse.x, mouse.y, mouse.held, mouse.wentDown);
            return widget->IsClicked();
        };
        clicks(kOver);
        clicks(kPressOver);
        widget->SetEnabled(false);
        clicks(kHoldOver);
        EXPECT_TRUE(widget->IsPressed()) << "still held";
        clicks(kOver);
        EXPECT_FALSE(widget->IsPressed()) << "released while disabled";
        widget->SetEnabled(true);
        EXPECT_FALSE(clicks(kOver));
        EXPECT_FALSE(clicks(kOver));
        clicks(kPressOver);
        EXPECT_TRUE(clicks(kOver)) << "a new press clicks";
    }
    EXPECT_TRUE(box->m_checked) << "toggled once, by the new press";
}

TEST_F(GUIButtonTest, ACheckBoxTogglesInTheUpdateOfTheClickAndShowsEightFrames)
{
    const auto box = CheckBox();
    EXPECT_EQ(box->GetFlags(), GUIButton::kShown | GUIButton::kColouredQuad);
    ASSERT_NE(box->GetQuad(), nullptr);
    Run(*box, {
                  {kOutside, 0, false, {}},
                  {kOver, 1, false, {2}},
                  {kPressOver, 2, false, {3}},
                  {kOver, 4, true, {}}, // checked: hover checked
                  {kPressOver, 5, false, {3}},
                  {kHoldOver, 5, false, {}},
                  {kOutside, 3, false, {}}, // released elsewhere: still checked
                  {kOver, 4, false, {2}},
              });
    EXPECT_TRUE(box->m_checked);
    box->SetEnabled(false);
    EXPECT_EQ(box->GetState(), 7u);
    box->m_checked = false;
    EXPECT_EQ(box->GetState(), 6u);
}

TEST_F(GUIButtonTest, DrawShowsTheStateAsTheFrameOfAnAnimatedTexture)
{
    const auto grid = Button(ShaderDescriptor::FromTexture("button.tga", 2, 2, ""));
    const auto plain = Button(ShaderDescriptor::FromTextureSingleFrame("plain.tga", ""));
    const auto box = CheckBox(ShaderDescriptor::FromTexture("box.tga", 4, 2, ""));
    const auto frame = [](const GUIButton& button) { return button.GetQuad()->GetShaderUser()->GetPosition(0); };

    for (GUIButton* button : {grid.get(), plain.get(), static_cast<GUIButton*>(box.get())})
        button->Update(kPressOver.x, kPressOver.y, true, true);
    box->SetEnabled(false);
    for (GUIButton* button : {grid.get(), plain.get(), static_cast<GUIButton*>(box.get())})
        EXPECT_TRUE(button->Draw());
    EXPECT_EQ(frame(*grid), 2.0f);
    EXPECT_EQ(frame(*plain), 0.0f) << "one frame: left alone";
    EXPECT_EQ(frame(*box), 6.0f);

    // A hidden button draws nothing and leaves its frame.
    grid->Update(kOutside.x, kOutside.y, false, false);
    grid->SetVisible(false);
    EXPECT_FALSE(grid->Draw());
    EXPECT_EQ(frame(*grid), 2.0f);
}

} // namespace
