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

// A control as a window builds it: its models below "ui\\menus\\models\\" (empty: none).
struct ControlSpec
{
    ControlKind kind;
    std::string model;
    std::string base;
    std::string selectionArea;
    std::string textArea;
};

ControlSpec Button(const std::string& model, const std::string& base)
{
    return {ControlKind::Button, model, base, base + "_selection_area", base + "_text_area"};
}

// Every control of every menu model set, with the models the windows give it.
std::vector<ControlSpec> AllControls()
{
    std::vector<ControlSpec> specs;
    for (const char* frame : {"main_menu", "big_window", "small_window", "start_game"}) {
        const std::string window = std::string(frame) + "\\window";
        specs.push_back({ControlKind::ModelWindow, window, window, "", window + "_area"});
    }
    const auto buttons = [&](const std::string& folder, int count, const std::string& base) {
        for (int i = 0; i < count; ++i)
            specs.push_back(Button(folder + "\\button_" + std::to_string(i), "controls\\" + base));
    };
    buttons("main_menu", 7, "button_main_menu");
    buttons("big_window", 3, "button_big");
    buttons("small_window", 2, "button_big");
    buttons("start_game", 2, "button_small");
    buttons("profiles", 4, "button_small");
    specs.push_back({ControlKind::EditBox, "small_window\\edit", "small_window\\edit", "", ""});
    for (const char* folder : {"options", "game_logic_menu"}) {
        for (const char* slider : {"\\slider_music", "\\slider_sound"})
            specs.push_back(
                {ControlKind::HorizontalScroll, folder + std::string(slider), "controls\\scroll_h", "", ""});
        specs.push_back(
            {ControlKind::CheckBox, folder + std::string("\\fullscreen_check_box"), "controls\\check_box", "", ""});
    }
    specs.push_back({ControlKind::CheckBox, "game_logic_menu\\relax_check_box", "controls\\check_box", "", ""});
    for (const char* arrow : {"options\\resolution_button_left", "options\\resolution_button_right"})
        specs.push_back({ControlKind::Button, arrow, arrow, "", ""});
    specs.push_back({ControlKind::ModelWindow, "options\\resolution_text", "options\\resolution_text", "",
                     "options\\resolution_text_area"});
    specs.push_back({ControlKind::VerticalScroll, "profiles\\scroll", "controls\\scroll_v", "", ""});
    specs.push_back({ControlKind::ModelWindow, "profiles\\text", "profiles\\text", "", ""});
    specs.push_back(Button("game_logic\\menu_button", "controls\\button_small"));
    specs.push_back(Button("game_logic\\mode_button", "controls\\button_game_logic_mode"));
    specs.push_back(Button("game_logic\\minimize_button", "controls\\button_game_logic_minimize"));
    specs.push_back(Button("game_logic\\maximize_window_button", "controls\\button_game_logic_maximize"));
    specs.push_back(Button("game_logic\\maximize_fullscreen_button", "controls\\button_game_logic_maximize"));
    specs.push_back(Button("game_logic\\close_button", "controls\\button_game_logic_close"));
    for (const char* panel : {"level_name", "score"}) {
        const std::string model = std::string("game_logic\\") + panel;
        specs.push_back({ControlKind::ModelWindow, model, model, "", model + "_text_area"});
    }
    return specs;
}

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

std::string Describe(const GUIRect& rect)
{
    return "(" + std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " + std::to_string(rect.width) + " x " +
           std::to_string(rect.height) + ")";
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
    std::vector<std::unique_ptr<GUIControl>> controls;
    std::vector<GUIControl*> updated;
    for (const ControlSpec& spec : AllControls()) {
        controls.push_back(Make(spec));
        updated.push_back(controls.back().get());
    }
    for (GUIControl* control : updated)
        control->Appear();
    Frames(6, updated); // 16 frames at 32 a second have unfolded

    const std::vector<ControlSpec> specs = AllControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& spec = specs[i];
        const GUIControl& control = *controls[i];
        SCOPED_TRACE(spec.model);
        const GUIRect own = OwnRect(spec);
        const GUIWindow& widget = *control.GetWidget();
        ASSERT_TRUE(widget.IsVisible());

        const bool animated = ModelNamed(spec.model)->GetAnimationControl().GetFrameCount() > 1;
        const bool modelKind = spec.kind == ControlKind::ModelWindow || spec.kind == ControlKind::Button ||
                               spec.kind == ControlKind::CheckBox;
        ASSERT_EQ(control.GetModelWindow() != nullptr, animated && modelKind);
        EXPECT_EQ(control.FollowsArea(), spec.base == "controls\\button_main_menu");
        EXPECT_EQ(control.GetButton() != nullptr,
                  spec.kind == ControlKind::Button || spec.kind == ControlKind::CheckBox);
        EXPECT_EQ(control.GetCheckBox() != nullptr, spec.kind == ControlKind::CheckBox);
        EXPECT_EQ(control.GetEditBox() != nullptr, spec.kind == ControlKind::EditBox);
        EXPECT_EQ(control.GetScroll() != nullptr,
                  spec.kind == ControlKind::HorizontalScroll || spec.kind == ControlKind::VerticalScroll);

        if (control.GetScroll()) {
            // The track stretched over the own model, the thumb's range and both step buttons inside it.
            const GUIRect track{widget.GetAbsolutePosition().x, widget.GetAbsolutePosition().y, widget.m_size.width,
                                widget.m_size.height};
            EXPECT_NEAR(track.x, own.x, 0.01f);
            EXPECT_NEAR(track.y, own.y, 0.01f);
            EXPECT_NEAR(track.width, own.width, 0.01f);
            EXPECT_NEAR(track.height, own.height, 0.01f);
            const auto rect = [](const GUIWindow& part) {
                const GUIPoint at = part.GetAbsolutePosition();
                return GUIRect{at.x, at.y, part.m_size.width, part.m_size.height};
            };
            const KeystrelEngine::GUIScroll& scroll = *control.GetScroll();
            for (const GUIWindow* part : {static_cast<const GUIWindow*>(scroll.GetThumb()),
                                          static_cast<const GUIWindow*>(scroll.GetIncreaseButton()),
                                          static_cast<const GUIWindow*>(scroll.GetDecreaseButton())}) {
                EXPECT_TRUE(Inside(rect(*part), own)) << Describe(rect(*part));
                EXPECT_NE(part->GetQuad(), nullptr);
            }
            const GUIRect increase = rect(*scroll.GetIncreaseButton());
            if (spec.kind == ControlKind::HorizontalScroll)
                EXPECT_GT(increase.x, rect(*scroll.GetDecreaseButton()).x);
            else
                EXPECT_LT(increase.y, rect(*scroll.GetDecreaseButton()).y);
            continue;
        }
        // Hit area and text area on the own model; a base's selection area covers it all.
        ASSERT_TRUE(widget.m_hasHitArea);
        const GUIRect hit = Absolute(widget, widget.m_hitArea);
        EXPECT_NEAR(hit.x, own.x, 0.01f) << Describe(hit);
        EXPECT_NEAR(hit.y, own.y, 0.01f) << Describe(hit);
        EXPECT_NEAR(hit.width, own.width, 0.01f);
        EXPECT_NEAR(hit.height, own.height, 0.01f);
        ASSERT_TRUE(widget.m_hasExtraRect);
        const GUIRect text = Absolute(widget, widget.m_extraRect);
        EXPECT_TRUE(Inside(text, own)) << Describe(text) << " in " << Describe(own);
        if (!spec.textArea.empty()) {
            EXPECT_LT(text.width * text.height, own.width * own.height + 0.01f);
        }
        // The unfolding base model shown on the own model.
        if (const GUIWindow* modelWindow = control.GetModelWindow()) {
            const GUIPoint base = GUIControl::GetModelPosition(*ModelNamed(spec.base));
            EXPECT_NEAR(modelWindow->GetAbsolutePosition().x + base.x, own.x, 0.01f);
            EXPECT_NEAR(modelWindow->GetAbsolutePosition().y + base.y, own.y, 0.01f);
        }
        // The cursor in the middle of the own model is over the widget.
        GUIWindow& hitWidget = *controls[i]->GetWidget();
        hitWidget.Update(own.x + 0.5f * own.width, own.y + 0.5f * own.height, false, false);
        EXPECT_TRUE(hitWidget.IsCursorOver());
        hitWidget.Update(own.x - 1.0f, own.y + 0.5f * own.height, false, false);
        EXPECT_FALSE(hitWidget.IsCursorOver());
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
    const auto button = Make(Button("big_window\\button_0", "controls\\button_big"));
    const auto frame =
        Make({ControlKind::ModelWindow, "big_window\\window", "big_window\\window", "", "big_window\\window_area"});
    const auto still = Make({ControlKind::ModelWindow, "profiles\\text", "profiles\\text", "", ""});
    const auto follower = Make(Button("main_menu\\button_3", "controls\\button_main_menu"));
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
