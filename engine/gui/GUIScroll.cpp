#include "GUIScroll.h"

#include "engine/foundation/TimerManager.h"

#include <algorithm>

namespace KeystrelEngine {

namespace {

constexpr std::uint32_t kStepButtonFlags = GUIWindow::kShown | GUIWindow::kColouredQuad;
// Steps are made while the held time exceeds this, so that sums of frame times just short of a repeat interval
// make no extra step.
constexpr float kRepeatTolerance = 0.0001f;

// Held: the press started on the button and the cursor is over it now.
bool IsHeld(const GUIButton& button)
{
    return button.IsPressed() && button.IsCursorOver();
}

} // namespace

GUIScroll::GUIScroll(const GUIServices& services, TimerManager* timers, GUISoundManager* sounds, GUIPoint position,
                     GUISize size, const Model* source, GUIWindow* parent, std::uint32_t vertical, GUIPoint trackStart,
                     GUIPoint trackEnd)
    : GUISlider(services, sounds, position, size, source, parent, vertical, trackStart, trackEnd), m_timers(timers)
{
    SetThumb(static_cast<const Model*>(nullptr), GUISize{});
    SetIncreaseButton({}, {}, nullptr);
    SetDecreaseButton({}, {}, nullptr);
}

GUIScroll::~GUIScroll() = default;

// Parts -------------------------------------------------------------------------------------------------------

void GUIScroll::SetThumb(const std::string& modelName, GUISize thumbSize)
{
    GUISlider::SetThumb(modelName, thumbSize);
    AdaptThumb();
}

void GUIScroll::SetThumb(const Model* source, GUISize thumbSize)
{
    GUISlider::SetThumb(source, thumbSize);
    AdaptThumb();
}

void GUIScroll::SetThumb(const ShaderDescriptor& descriptor, float extentU, float extentV, GUISize thumbSize)
{
    GUISlider::SetThumb(descriptor, extentU, extentV, thumbSize);
    AdaptThumb();
}

void GUIScroll::AdaptThumb()
{
    GUIButton& thumb = *GetThumb();
    thumb.SetLayer(kThumbLayer);
    thumb.m_selectSoundId = kThumbSelectSound;
    thumb.m_clickSoundId = kThumbClickSound;
}

std::unique_ptr<GUIButton> GUIScroll::MakeStepButton(GUIPoint position, GUISize size, const Model* source)
{
    auto button =
        std::make_unique<GUIButton>(m_services, GetSoundManager(), kStepButtonFlags, position, size, source, this);
    button->m_selectSoundId = kStepSelectSound;
    button->m_clickSoundId = kStepClickSound;
    return button;
}

void GUIScroll::SetIncreaseButton(GUIPoint position, GUISize size, const Model* source)
{
    m_increaseButton = MakeStepButton(position, size, source);
}

void GUIScroll::SetDecreaseButton(GUIPoint position, GUISize size, const Model* source)
{
    m_decreaseButton = MakeStepButton(position, size, source);
}

void GUIScroll::SetEnabled(bool enabled)
{
    GUISlider::SetEnabled(enabled);
    m_increaseButton->SetEnabled(enabled);
    m_decreaseButton->SetEnabled(enabled);
}

bool GUIScroll::IsPressed() const
{
    return GUISlider::IsPressed() || m_increaseButton->IsPressed() || m_decreaseButton->IsPressed();
}

void GUIScroll::SetColour(const Color& colour)
{
    GUISlider::SetColour(colour);
    m_increaseButton->SetColour(colour);
    m_decreaseButton->SetColour(colour);
}

// The frame -------------------------------------------------------------------------------------------------------

bool GUIScroll::Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown)
{
    if (!GUISlider::Update(cursorX, cursorY, buttonHeld, buttonWentDown)) {
        m_repeatTime = 0.0f;
        return false;
    }
    m_increaseButton->Update(cursorX, cursorY, buttonHeld, buttonWentDown);
    m_decreaseButton->Update(cursorX, cursorY, buttonHeld, buttonWentDown);
    const bool increase = IsHeld(*m_increaseButton);
    const bool decrease = IsHeld(*m_decreaseButton);
    if (!increase && !decrease) {
        m_repeatTime = 0.0f;
        return true;
    }
    m_repeatTime += m_timers->m_frameTime;
    while (m_repeatTime > kRepeatTolerance) {
        m_repeatTime -= kRepeatSeconds;
        Step(increase, decrease);
    }
    return true;
}

// Both buttons held: both moves, the increase first.
void GUIScroll::Step(bool increase, bool decrease)
{
    const std::int64_t last = LastPosition();
    std::int64_t position = GetPosition();
    if (increase)
        position = std::min(position + m_step, last);
    if (decrease)
        position = std::max<std::int64_t>(position - m_step, 0);
    SetPosition(static_cast<std::uint32_t>(std::min(position, last)));
}

bool GUIScroll::Draw()
{
    if (!GUISlider::Draw())
        return false;
    m_increaseButton->Draw();
    m_decreaseButton->Draw();
    return true;
}

} // namespace KeystrelEngine
