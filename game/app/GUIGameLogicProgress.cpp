#include "game/app/GUIGameLogicProgress.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"
#include "game/app/GUIControl.h"
#include "game/app/GameData.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Wispfold {

namespace {

using KeystrelEngine::GUIWindow;

constexpr std::int32_t kFillLayer = 2;
constexpr std::int32_t kCaptionLayer = 3;

const KeystrelEngine::Model& BarModel(const GameData& data, std::string_view bar, std::string_view part)
{
    return *data.GetModel("ui\\menus\\models\\" + std::string(bar) + std::string(part) + ".mlf");
}

} // namespace

GUIGameLogicProgress::GUIGameLogicProgress(KeystrelEngine::Engine* engine, const GameData& data, float speed,
                                           std::string_view bar, GUIWindow* parent)
    : m_speed(speed), m_gui(engine->m_gui.get()), m_timers(engine->m_timers.get()), m_parent(parent)
{
    m_fill = m_gui->CreateWindow(GUIWindow::kColouredQuad, {}, {1.0f, 1.0f}, &BarModel(data, bar, ""), parent);
    m_fill->SetLayer(kFillLayer);
    const KeystrelEngine::GUIPoint place = GUIControl::GetModelPosition(BarModel(data, bar, ""));
    const KeystrelEngine::GUISize extent = GUIControl::GetModelExtent(BarModel(data, bar, ""));
    m_fillBox = {place.x, place.y, extent.width, extent.height};
    if (KeystrelEngine::ShaderUser* shader = m_fill->GetQuad()->GetShaderUser())
        shader->m_stages[0].m_frameRate = 0.0f;
    const KeystrelEngine::Model& textArea = BarModel(data, bar, "_text_area");
    m_caption = m_gui->CreateWindow(0, GUIControl::GetModelPosition(textArea), GUIControl::GetModelExtent(textArea),
                                    static_cast<const KeystrelEngine::Model*>(nullptr), parent);
    m_caption->SetLayer(kCaptionLayer);
    ShowFill();
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
    ShowFill();
}

void GUIGameLogicProgress::Update(float target)
{
    if (!m_parent->IsVisible())
        return;
    const float step = m_timers->m_frameTime * m_speed;
    m_value = target > m_value ? std::min(target, m_value + step) : std::max(target, m_value - step);
    ShowFill();
}

void GUIGameLogicProgress::HideFill()
{
    m_fill->SetVisible(false);
    m_caption->SetVisible(false);
}

void GUIGameLogicProgress::SetColour(const KeystrelEngine::Color& colour)
{
    m_fill->SetColour(colour);
}

KeystrelEngine::GUIRect GUIGameLogicProgress::GetFillRect() const
{
    const KeystrelEngine::GUIPoint origin = m_fill->m_position;
    return {origin.x + m_fillBox.x, origin.y + m_fillBox.y, m_fillBox.width, m_fillBox.height};
}

float GUIGameLogicProgress::GetFillPosition() const
{
    return 1.0f - std::clamp(m_value, 0.0f, 1.0f);
}

void GUIGameLogicProgress::ShowFill()
{
    KeystrelEngine::ShaderUser* shader = m_fill->GetQuad()->GetShaderUser();
    if (!shader || shader->m_stages[0].m_frameCount < 2)
        return;
    const float last = static_cast<float>(shader->m_stages[0].m_frameCount - 1);
    shader->SetFrame(0, static_cast<std::uint32_t>(std::lround(GetFillPosition() * last)));
}

} // namespace Wispfold
