// The menu controls built from the generated models of every menu: each widget, hit area, text area and
// unfolding model lands on the control's own model; widgets wait for the unfold and go before the fold.
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "platform/testing.h"
#include "tests/game/app/MenuFixture.h"

using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUIRect;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;
using Wispfold::ControlKind;
using Wispfold::GUIControl;

namespace {

using namespace AppTesting;

constexpr const char* kFrameFolders[] = {"main_menu", "big_window", "small_window", "start_game"};

// The window's controls as specified: its frame first.
std::vector<ControlSpec> WindowControls(const MenuSet& set)
{
    const std::string frame = std::string(kFrameFolders[static_cast<int>(set.frame)]) + "\\window";
    std::vector<ControlSpec> specs{{ControlKind::ModelWindow, frame, frame, "", frame + "_area"}};
    specs.insert(specs.end(), set.controls.begin(), set.controls.end());
    return specs;
}

const ControlSpec kBigButton{ControlKind::Button, "big_window\\button_0", "controls\\button_big",
                             "controls\\button_big_selection_area", "controls\\button_big_text_area"};
const ControlSpec kMainMenuButton{ControlKind::Button, "main_menu\\button_3", "controls\\button_main_menu",
                                  "controls\\button_main_menu_selection_area", "controls\\button_main_menu_text_area"};

GUIRect Absolute(const GUIWindow& window, const GUIRect& relative)
{
    const GUIPoint origin = window.GetAbsolutePosition();
    return {origin.x + relative.x, origin.y + relative.y, relative.width, relative.height};
}

bool Inside(const GUIRect& inner, const GUIRect& outer)
{
    constexpr float kSlack = 0.01f;
    return inner.x >= outer.x - kSlack && inner.y >= outer.y - kSlack &&
           inner.x + inner.width <= outer.x + outer.width + kSlack &&
           inner.y + inner.height <= outer.y + outer.height + kSlack;
}

GUIRect Rect(const GUIWindow& window)
{
    const GUIPoint at = window.GetAbsolutePosition();
    return {at.x, at.y, window.m_size.width, window.m_size.height};
}

std::string Describe(const GUIRect& rect)
{
    return "(" + std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " + std::to_string(rect.width) + " x " +
           std::to_string(rect.height) + ")";
}

void ExpectRect(const GUIRect& actual, const GUIRect& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 0.01f) << Describe(actual);
    EXPECT_NEAR(actual.y, expected.y, 0.01f) << Describe(actual);
    EXPECT_NEAR(actual.width, expected.width, 0.01f) << Describe(actual);
    EXPECT_NEAR(actual.height, expected.height, 0.01f) << Describe(actual);
}

class GUIControlTest : public MenuFixture
{
protected:
    const Model* ModelNamed(const std::string& name) const
    {
        return name.empty() ? nullptr : data->GetModel("ui\\menus\\models\\" + name + ".mlf");
    }

    std::unique_ptr<GUIControl> Make(const ControlSpec& spec)
    {
        return std::make_unique<GUIControl>(engine.get(), ModelNamed(spec.model), ModelNamed(spec.base),
                                            ModelNamed(spec.selectionArea), ModelNamed(spec.textArea),
                                            data->GetChildWindow(), data.get(), spec.kind);
    }

    GUIRect OwnRect(const ControlSpec& spec) const
    {
        const Model& model = *ModelNamed(spec.model);
        const GUIPoint position = GUIControl::GetModelPosition(model);
        const KeystrelEngine::GUISize size = GUIControl::GetModelExtent(model);
        return {position.x, position.y, size.width, size.height};
    }

    // The widget, its hit area, its text area and the unfolding base model on the control's own model.
    void CheckPlacement(const ControlSpec& spec, GUIControl& control) const
    {
        SCOPED_TRACE(spec.model);
        const GUIRect own = OwnRect(spec);
        GUIWindow& widget = *control.GetWidget();
        ASSERT_TRUE(widget.IsVisible());
        const bool animated = ModelNamed(spec.model)->GetAnimationControl().GetFrameCount() > 1;
        const bool button = spec.kind == ControlKind::Button || spec.kind == ControlKind::CheckBox;
        ASSERT_EQ(control.GetModelWindow() != nullptr, animated && (button || spec.kind == ControlKind::ModelWindow));
        EXPECT_EQ(control.FollowsArea(), spec.base == "controls\\button_main_menu");
        EXPECT_EQ(control.GetButton() != nullptr, button);
        EXPECT_EQ(control.GetCheckBox() != nullptr, spec.kind == ControlKind::CheckBox);
        EXPECT_EQ(control.GetEditBox() != nullptr, spec.kind == ControlKind::EditBox);
        if (const KeystrelEngine::GUIScroll* scroll = control.GetScroll()) {
            // The track stretched over the own model, the thumb's range and both step buttons inside it.
            ExpectRect(Rect(widget), own);
            for (const GUIWindow* part : {static_cast<const GUIWindow*>(scroll->GetThumb()),
                                          static_cast<const GUIWindow*>(scroll->GetIncreaseButton()),
                                          static_cast<const GUIWindow*>(scroll->GetDecreaseButton())}) {
                EXPECT_TRUE(Inside(Rect(*part), own)) << Describe(Rect(*part));
                EXPECT_NE(part->GetQuad(), nullptr);
            }
            const GUIRect increase = Rect(*scroll->GetIncreaseButton());
            const GUIRect decrease = Rect(*scroll->GetDecreaseButton());
            EXPECT_TRUE(spec.kind == ControlKind::HorizontalScroll ? increase.x > decrease.x : increase.y < decrease.y);
            return;
        }
        // A base's selection area covers the own model; a text area lies inside it.
        ExpectRect(Absolute(widget, widget.m_hitArea), own);
        const GUIRect text = Absolute(widget, widget.m_extraRect);
        EXPECT_TRUE(widget.m_hasHitArea && widget.m_hasExtraRect);
        EXPECT_TRUE(Inside(text, own)) << Describe(text) << " in " << Describe(own);
        if (const GUIWindow* modelWindow = control.GetModelWindow()) {
            const GUIPoint base = GUIControl::GetModelPosition(*ModelNamed(spec.base));
            EXPECT_NEAR(modelWindow->GetAbsolutePosition().x + base.x, own.x, 0.01f);
            EXPECT_NEAR(modelWindow->GetAbsolutePosition().y + base.y, own.y, 0.01f);
        }
        // The cursor in the middle of the own model is over the widget, just left of it is not.
        widget.Update(own.x + 0.5f * own.width, own.y + 0.5f * own.height, false, false);
        EXPECT_TRUE(widget.IsCursorOver());
        widget.Update(own.x - 1.0f, own.y + 0.5f * own.height, false, false);
        EXPECT_FALSE(widget.IsCursorOver());
    }

    // Frames with the controls updated at the given alpha.
    void Frames(int count, const std::vector<GUIControl*>& controls, float alpha = 1.0f)
    {
        for (int i = 0; i < count; ++i) {
            PlatformTesting::AdvanceFakeClock(kFrameTime);
            engine->Update();
            for (GUIControl* control : controls) {
                control->m_colour.a = alpha;
                control->Update();
            }
            engine->EndFrame();
        }
    }
};

TEST_F(GUIControlTest, EveryControlOfEveryMenuSetLandsOnItsOwnModel)
{
    for (const MenuSet& set : MenuSets()) {
        SCOPED_TRACE(set.name);
        Wispfold::GUIMenuWindow& window = MakeWindow(set);
        window.RequestOpen();
        ASSERT_LE(FramesUntil([&] { return window.m_colour.a == 1.0f; }, {&window}), 40);
        const std::vector<ControlSpec> specs = WindowControls(set);
        ASSERT_EQ(window.GetControls().size(), specs.size());
        for (std::size_t i = 0; i < specs.size(); ++i)
            CheckPlacement(specs[i], *window.GetControls()[i]);
        windows.clear();
        manager->m_frameFree = true;
    }
}

TEST_F(GUIControlTest, TheEditBoxPrintsInTheCaptionFontSoThatANameFitsTheGreeting)
{
    const auto control = Make({ControlKind::EditBox, "small_window\\edit", "small_window\\edit", "", ""});
    KeystrelEngine::GUIEditBox& box = *control->GetEditBox();
    // The widest name: the title area less the greeting around it, plus 25, and twenty characters at most.
    const KeystrelEngine::GUIFont& font = *engine->m_gui->m_fonts->FindFont(GUIControl::kEditFont);
    const auto width = [&](const std::u16string& text) {
        const KeystrelEngine::TextBounds bounds = font.MeasureText(text, 0.0f, -1.0f);
        return bounds.maxX - bounds.minX;
    };
    const float greeting = width(engine->m_gui->m_texts->GetText("MAIN_MENU_WELCOME", -1) + u", !");
    const float limit = 500.0f - greeting + 25.0f;
    for (const char16_t letter : {u'W', u'i'}) {
        std::u16string name;
        box.SetText(name);
        while (box.CanAppend(letter)) {
            name += letter;
            box.SetText(name);
        }
        EXPECT_LE(width(name), limit);
        EXPECT_TRUE(name.size() == GUIControl::kEditMaxLength || width(name + letter) > limit) << name.size();
    }
    EXPECT_LT(width(std::u16string(GUIControl::kEditMaxLength, u'W')), limit * 2.0f); // measured in a real font
    EXPECT_GT(greeting, 0.0f);

    // The text starts inset in the panel the box is drawn from.
    const GUIRect own = OwnRect({ControlKind::EditBox, "small_window\\edit", "", "", ""});
    const GUIRect area = Absolute(box, box.m_extraRect);
    EXPECT_NEAR(area.x, own.x, 0.01f);
    EXPECT_NEAR(area.y, own.y, 0.01f);
    PlatformTesting::AdvanceFakeClock(kFrameTime);
    engine->Update(); // the box adds its texts; the end of the frame prints them
    ASSERT_GE(box.GetTextCount(), 1u);
    EXPECT_EQ(box.GetTextRecord(0).fontId, GUIControl::kEditFont);
    EXPECT_FLOAT_EQ(box.GetTextRecord(0).position.x, GUIControl::kEditTextInset.x);
}

TEST_F(GUIControlTest, WidgetsWaitForTheUnfoldAndGoBeforeTheFold)
{
    const auto button = Make(kBigButton);
    const auto frame =
        Make({ControlKind::ModelWindow, "big_window\\window", "big_window\\window", "", "big_window\\window_area"});
    const auto still = Make({ControlKind::ModelWindow, "profiles\\text", "profiles\\text", "", ""});
    const auto follower = Make(kMainMenuButton);
    const std::vector<GUIControl*> controls{button.get(), frame.get(), still.get(), follower.get()};

    // Before any unfold the frame shows its last pose; nothing is visible yet.
    const KeystrelEngine::AnimationControl& frameAnimation = frame->GetModelWindow()->GetQuad()->GetAnimationControl();
    EXPECT_EQ(frameAnimation.m_currentFrame, frameAnimation.GetFrameCount() - 2);
    EXPECT_GT(frameAnimation.m_blendFraction, 0.99f);
    EXPECT_FALSE(frame->GetWidget()->IsVisible());
    EXPECT_FALSE(button->GetModelWindow()->IsVisible());

    for (GUIControl* control : controls)
        control->Appear();
    EXPECT_TRUE(button->IsUnfolding());
    EXPECT_TRUE(follower->GetWidget()->IsVisible()); // a main-menu button shows at once and follows its model
    EXPECT_FALSE(still->IsUnfolding());
    int frames = 0;
    while (button->IsUnfolding() && frames < 20) {
        EXPECT_FALSE(button->GetWidget()->IsVisible()) << frames;
        Frames(1, controls, 0.0f);
        ++frames;
    }
    EXPECT_EQ(frames, 5); // 15 frames at 32 a second, in frames of 0.1 s
    EXPECT_FALSE(button->GetWidget()->IsVisible());
    Frames(1, controls, 0.0f);
    EXPECT_TRUE(button->GetWidget()->IsVisible());
    EXPECT_TRUE(frame->GetWidget()->IsVisible());
    // The control of one animation frame follows the alpha.
    EXPECT_EQ(still->GetModelWindow(), nullptr);
    EXPECT_FALSE(still->GetWidget()->IsVisible());
    Frames(1, controls, 0.5f);
    EXPECT_TRUE(still->GetWidget()->IsVisible());

    for (GUIControl* control : controls)
        control->Disappear();
    EXPECT_FALSE(button->GetWidget()->IsVisible());
    EXPECT_TRUE(button->GetModelWindow()->IsVisible());
    EXPECT_TRUE(follower->GetWidget()->IsVisible());
    Frames(1, controls, 0.0f);
    EXPECT_FALSE(still->GetWidget()->IsVisible());
    EXPECT_TRUE(button->GetModelWindow()->IsVisible());
    Frames(5, controls, 0.0f);
    EXPECT_FALSE(button->GetModelWindow()->IsVisible());
    EXPECT_FALSE(button->GetWidget()->IsVisible());
    EXPECT_FALSE(frame->GetWidget()->IsVisible());
    EXPECT_FALSE(follower->GetWidget()->IsVisible()); // gone with its model, not left on screen
}

} // namespace
