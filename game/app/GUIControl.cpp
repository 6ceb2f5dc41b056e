#include "game/app/GUIControl.h"

#include "engine/gui/Engine.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "game/app/GameData.h"

#include <string>
#include <vector>

namespace Wispfold {

using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUIRect;
using KeystrelEngine::GUISize;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;

namespace {

constexpr const char* kControlsFolder = "ui\\menus\\models\\controls\\";
constexpr const char* kMainMenuButton = "ui\\menus\\models\\controls\\button_main_menu.mlf";
constexpr const char* kTitleArea = "ui\\menus\\models\\background\\text_area.mlf";
constexpr GUISize kUnitScale{1.0f, 1.0f};

std::uint32_t FrameCount(const Model& model)
{
    return model.GetAnimationControl().GetFrameCount();
}

const KeystrelEngine::BoundingBox& OpenBox(const Model& model)
{
    const std::vector<KeystrelEngine::BoundingBox>& frames = model.GetMorphBoxes();
    return frames.empty() ? model.m_boundingBox : frames.back();
}

GUIPoint Difference(GUIPoint a, GUIPoint b)
{
    return {a.x - b.x, a.y - b.y};
}

} // namespace

GUIControl::GUIControl(KeystrelEngine::Engine* engine, const Model* model, const Model* baseModel,
                       const Model* selectionArea, const Model* textArea, GUIWindow* parent, const GameData* data,
                       ControlKind kind)
    : m_gui(engine->m_gui.get()), m_data(data), m_kind(kind),
      m_widgetOffset(Difference(GetModelPosition(*model), GetModelPosition(*baseModel))),
      m_followArea(baseModel == data->GetModel(kMainMenuButton))
{
    const bool animated = FrameCount(*model) > 1;
    m_widget = MakeWidget(*model, *baseModel, parent, animated);
    if (animated && (kind == ControlKind::ModelWindow || kind == ControlKind::Button || kind == ControlKind::CheckBox))
        MakeModelWindow(*baseModel, parent);
    SetAreas(*model, selectionArea, textArea);
}

GUIControl::~GUIControl()
{
    m_widget->SetVisible(false);
    if (m_modelWindow != m_widget)
        m_gui->DeleteWindow(m_modelWindow);
    m_gui->DeleteWindow(m_widget);
}

GUIWindow* GUIControl::MakeWidget(const Model& model, const Model& baseModel, GUIWindow* parent, bool animated)
{
    const std::uint32_t flags = animated ? 0 : GUIWindow::kColouredQuad;
    switch (m_kind) {
    case ControlKind::ModelWindow:
        return m_gui->CreateWindow(flags, {}, kUnitScale, &model, parent);
    case ControlKind::Button:
        return m_gui->CreateButton(flags, {}, kUnitScale, &model, parent);
    case ControlKind::CheckBox:
        return m_gui->CreateCheckBox({}, kUnitScale, &model, parent);
    case ControlKind::HorizontalScroll:
    case ControlKind::VerticalScroll:
        return MakeScroll(model, baseModel, parent);
    case ControlKind::EditBox:
        return MakeEditBox(model, parent);
    }
    return nullptr;
}

// The track is the base model, a unit square the scroll stretches over the own model's rectangle. The parts'
// models lie in the track's frame, with the track's origin as their reference place.
GUIWindow* GUIControl::MakeScroll(const Model& model, const Model& track, GUIWindow* parent)
{
    const bool vertical = m_kind == ControlKind::VerticalScroll;
    const std::string prefix = std::string("scroll_") + (vertical ? "v" : "h");
    const GUIPoint origin = GetModelPosition(track);
    const auto place = [&](const char* part) { return Difference(GetModelPosition(ControlModel(part)), origin); };
    const auto extent = [&](const char* part) { return GetModelExtent(ControlModel(part)); };
    const std::string thumb = prefix + "_toddler", first = thumb + "_min", last = thumb + "_max";
    const std::string increase = prefix + "_button_increase", decrease = prefix + "_button_decrease";

    KeystrelEngine::GUIScroll* scroll =
        m_gui->CreateScroll(m_widgetOffset, GetModelExtent(model), &track, parent, vertical ? 1 : 0,
                            place(first.c_str()), place(last.c_str()));
    scroll->SetThumb(&ControlModel(thumb.c_str()), extent(first.c_str()));
    scroll->SetIncreaseButton(place(increase.c_str()), extent(increase.c_str()),
                              &ControlModel(vertical ? "button_arrow_down" : "button_arrow_right"));
    scroll->SetDecreaseButton(place(decrease.c_str()), extent(decrease.c_str()),
                              &ControlModel(vertical ? "button_arrow_up" : "button_arrow_left"));
    return scroll;
}

GUIWindow* GUIControl::MakeEditBox(const Model& model, GUIWindow* parent)
{
    return m_gui->CreateEditBox(GUIWindow::kShown | GUIWindow::kColouredQuad, {}, kUnitScale, &model, parent, kEditFont,
                                {1.0f, 1.0f, 1.0f, 1.0f}, kEditTextInset, kEditMaxLength, EditTextWidth(),
                                kEditVisibleWidth);
}

float GUIControl::EditTextWidth() const
{
    const float area = GetModelExtent(*m_data->GetModel(kTitleArea)).width;
    const KeystrelEngine::GUIFont* font = m_gui->m_fonts->FindFont(kEditFont);
    if (!font)
        return area + 25.0f;
    const std::u16string greeting = m_gui->m_texts->GetText("MAIN_MENU_WELCOME", -1) + u", !";
    const KeystrelEngine::TextBounds bounds = font->MeasureText(greeting, 0.0f, -1.0f);
    return area - (bounds.maxX - bounds.minX) + 25.0f;
}

const Model& GUIControl::ControlModel(const char* name) const
{
    return *m_data->GetModel(std::string(kControlsFolder) + name + ".mlf");
}

void GUIControl::MakeModelWindow(const Model& baseModel, GUIWindow* parent)
{
    if (m_kind == ControlKind::ModelWindow) {
        m_modelWindow = m_widget;
        ShowLastPose();
    } else {
        m_modelWindow = m_gui->CreateWindow(0, m_widgetOffset, kUnitScale, &baseModel, parent);
        // The widget lies a layer nearer than its unfolded model, so that its hover, pressed and checked looks show.
        m_widget->SetLayer(m_widget->GetLayer() + 1);
    }
    KeystrelEngine::AnimationControl& animation = Animation();
    const std::uint32_t last = animation.GetFrameCount() - 1;
    animation.AddAnimation(kUnfold, 0, last);
    animation.AddAnimation(kFold, last, 0);
    animation.m_speed = kAnimationRate;
    animation.m_playing = false;
}

void GUIControl::ShowLastPose()
{
    Model& quad = *m_modelWindow->GetQuad();
    quad.GetAnimationControl().m_position = static_cast<float>(FrameCount(quad) - 1) - 0.0001f;
    // A model poses only while it is shown.
    const std::uint32_t flags = quad.m_flags;
    quad.m_flags |= Model::kShown;
    quad.Update(false);
    quad.m_flags = flags;
}

void GUIControl::SetAreas(const Model& model, const Model* selectionArea, const Model* textArea)
{
    const GUIRect own = AreaRect(model, {});
    m_widget->m_hasHitArea = true;
    m_widget->m_hitArea = selectionArea ? AreaRect(*selectionArea, m_widgetOffset) : own;
    m_widget->m_hasExtraRect = true;
    m_widget->m_extraRect = textArea ? AreaRect(*textArea, m_widgetOffset) : own;
}

// Relative to the widget, the model's rectangle moved by the shift.
GUIRect GUIControl::AreaRect(const Model& area, GUIPoint shift) const
{
    const GUIPoint position = Difference(GetModelPosition(area), Difference(m_widget->m_position, shift));
    const GUISize size = GetModelExtent(area);
    return {position.x, position.y, size.width, size.height};
}

void GUIControl::Appear()
{
    if (m_modelWindow) {
        m_modelWindow->SetVisible(true);
        Play(kUnfold);
    }
    if (m_followArea)
        m_widget->SetVisible(true);
}

void GUIControl::Disappear()
{
    if (!m_followArea)
        m_widget->SetVisible(false);
    if (m_modelWindow) {
        m_modelWindow->SetVisible(true);
        Play(kFold);
    }
}

void GUIControl::Update()
{
    if (!m_modelWindow) {
        m_widget->SetVisible(m_colour.a > kVisibleAlpha);
    } else {
        if (m_modelWindow->IsVisible() && HasEnded(kUnfold) && !m_widget->IsVisible()) {
            m_widget->SetVisible(true);
            PlaceWidget();
        }
        if (HasEnded(kFold)) {
            m_modelWindow->SetVisible(false);
            // A widget that stayed through the fold goes with it: its quad has no vertex colour to fade.
            if (m_followArea)
                m_widget->SetVisible(false);
        }
        if (m_followArea)
            PlaceWidget();
    }
    if (m_widget->IsVisible())
        m_widget->SetColour(m_colour);
}

bool GUIControl::IsUnfolding() const
{
    if (!m_modelWindow)
        return false;
    const KeystrelEngine::AnimationControl& animation = Animation();
    return animation.m_currentAnimation == kUnfold && animation.m_playing;
}

void GUIControl::SetAnimationRate(float framesPerSecond)
{
    if (m_modelWindow)
        Animation().m_speed = framesPerSecond;
}

void GUIControl::PlaceWidget()
{
    if (m_widget != m_modelWindow)
        m_widget->m_position = Difference(m_modelWindow->m_position, m_widgetOffset);
}

KeystrelEngine::AnimationControl& GUIControl::Animation() const
{
    return m_modelWindow->GetQuad()->GetAnimationControl();
}

void GUIControl::Play(std::uint32_t animation)
{
    KeystrelEngine::AnimationControl& control = Animation();
    control.m_currentAnimation = animation;
    control.m_position = 0.0f;
    control.m_playing = true;
}

bool GUIControl::HasEnded(std::uint32_t animation) const
{
    const KeystrelEngine::AnimationControl& control = Animation();
    return control.m_currentAnimation == animation && !control.m_playing;
}

GUIPoint GUIControl::GetModelPosition(const Model& model)
{
    const KeystrelEngine::BoundingBox& box = OpenBox(model);
    return {box.m_localMin.x, box.m_localMin.y};
}

GUISize GUIControl::GetModelExtent(const Model& model)
{
    const KeystrelEngine::BoundingBox& box = OpenBox(model);
    return {2.0f * box.m_halfExtent.x, 2.0f * box.m_halfExtent.y};
}

KeystrelEngine::GUIButton* GUIControl::GetButton() const
{
    const bool button = m_kind == ControlKind::Button || m_kind == ControlKind::CheckBox;
    return button ? static_cast<KeystrelEngine::GUIButton*>(m_widget) : nullptr;
}

KeystrelEngine::GUICheckBox* GUIControl::GetCheckBox() const
{
    return m_kind == ControlKind::CheckBox ? static_cast<KeystrelEngine::GUICheckBox*>(m_widget) : nullptr;
}

KeystrelEngine::GUIScroll* GUIControl::GetScroll() const
{
    const bool scroll = m_kind == ControlKind::HorizontalScroll || m_kind == ControlKind::VerticalScroll;
    return scroll ? static_cast<KeystrelEngine::GUIScroll*>(m_widget) : nullptr;
}

KeystrelEngine::GUIEditBox* GUIControl::GetEditBox() const
{
    return m_kind == ControlKind::EditBox ? static_cast<KeystrelEngine::GUIEditBox*>(m_widget) : nullptr;
}

} // namespace Wispfold
