#include "GUIGameLogicProgress.h"

#include "GUIControl.h"
#include "GameData.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>
#include <cmath>

namespace Wispfold {

using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUISize;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;

namespace {

constexpr GUISize kUnitScale{1.0f, 1.0f};

KeystrelEngine::ShaderUser* FillShader(const GUIWindow& fill)
{
    return fill.GetQuad() ? fill.GetQuad()->GetShaderUser() : nullptr;
}

} // namespace

GUIGameLogicProgress::GUIGameLogicProgress(KeystrelEngine::Engine* engine, const GameData* data, float speed,
                                           const std::string& barName, GUIWindow* parent)
    : m_speed(speed), m_gui(engine->m_gui.get()), m_timers(engine->m_timers.get()), m_parent(parent)
{
    const Model* background = data->GetModel(barName + "_background.mlf");
    const Model* bar = data->GetModel(barName + ".mlf");
    const Model* textArea = data->GetModel(barName + "_text_area.mlf");
    m_frame = std::make_unique<GUIControl>(engine, background, background, nullptr, nullptr, parent, data,
                                           ControlKind::ModelWindow);
    m_fill = m_gui->CreateWindow(GUIWindow::kShown | GUIWindow::kColouredQuad, {}, kUnitScale, bar, parent);
    m_fill->SetLayer(kFillLayer);
    const GUIPoint place = GUIControl::GetModelPosition(*bar);
    const GUISize extent = GUIControl::GetModelExtent(*bar);
    m_fillBox = {place.x, place.y, extent.width, extent.height};
    // The fill shows the value, not time: its grid stands still on the frame Update picks.
    if (KeystrelEngine::ShaderUser* shader = FillShader(*m_fill))
        shader->m_stages[0].m_frameRate = 0.0f;
    m_fill->GetQuad()->GetAnimationControl().m_playing = false;
    m_caption = m_gui->CreateWindow(GUIWindow::kShown, GUIControl::GetModelPosition(*textArea),
                                    GUIControl::GetModelExtent(*textArea), static_cast<const Model*>(nullptr), parent);
    m_caption->SetLayer(kCaptionLayer);
    ShowValue();
}

GUIGameLogicProgress::~GUIGameLogicProgress()
{
    m_gui->DeleteWindow(m_caption);
    m_gui->DeleteWindow(m_fill);
}

void GUIGameLogicProgress::Set(float value)
{
    m_value = value;
    m_fill->SetVisible(true);
    m_caption->SetVisible(true);
    ShowValue();
}

void GUIGameLogicProgress::HideFill()
{
    m_fill->SetVisible(false);
    m_caption->SetVisible(false);
}

void GUIGameLogicProgress::Update(float target)
{
    if (!m_parent->IsVisible())
        return;
    m_fill->SetColour(m_colour);
    const float step = m_timers->m_frameTime * m_speed;
    m_value = target <= m_value ? std::max(target, m_value - step) : std::min(target, m_value + step);
    ShowValue();
}

std::uint32_t GUIGameLogicProgress::FillFrame(float value, std::uint32_t frameCount)
{
    if (frameCount < 2 || !std::isfinite(value))
        return frameCount < 2 ? 0 : frameCount - 1;
    const float empty = 1.0f - std::clamp(value, 0.0f, 1.0f);
    return static_cast<std::uint32_t>(std::lround(empty * static_cast<float>(frameCount - 1)));
}

void GUIGameLogicProgress::ShowValue()
{
    if (KeystrelEngine::ShaderUser* shader = FillShader(*m_fill))
        shader->SetFrame(0, FillFrame(m_value, shader->m_stages[0].m_frameCount));
}

KeystrelEngine::GUIRect GUIGameLogicProgress::GetFillRect() const
{
    const GUIPoint origin = m_fill->m_position;
    return {origin.x + m_fillBox.x, origin.y + m_fillBox.y, m_fillBox.width, m_fillBox.height};
}

} // namespace Wispfold
