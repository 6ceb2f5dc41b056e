#include "GUISlider.h"

#include "engine/render/Matrix4.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>
#include <cmath>

namespace KeystrelEngine {

namespace {

constexpr std::uint32_t kThumbFlags = GUIWindow::kShown | GUIWindow::kColouredQuad;

// The track's extent along one axis, keeping its direction and at least one unit long, so that the cursor's
// offset from the track's start divided by it runs from 0 at the start to 1 at the end either way.
float SignedLength(float extent)
{
    return extent < 0.0f ? std::min(extent, -1.0f) : std::max(extent, 1.0f);
}

} // namespace

GUISlider::GUISlider(const GUIServices& services, GUISoundManager* sounds, GUIPoint position, GUISize size,
                     const Model* source, GUIWindow* parent, std::uint32_t vertical, GUIPoint trackStart,
                     GUIPoint trackEnd)
    : GUIWindow(services, kColouredQuad, position, size, source, parent), m_sounds(sounds), m_vertical(vertical),
      m_trackStart(trackStart), m_trackEnd(trackEnd)
{
    SetThumb(static_cast<const Model*>(nullptr), GUISize{});
}

GUISlider::~GUISlider() = default;

// The thumb ---------------------------------------------------------------------------------------------------

// A track may run towards either end of its axis (a list's scroll runs down from the top): the window starts at
// whichever end lies lower.
GUIPoint GUISlider::ThumbWindowPosition() const
{
    return {std::min(m_trackStart.x, m_trackEnd.x), std::min(m_trackStart.y, m_trackEnd.y)};
}

GUISize GUISlider::ThumbWindowSize(GUISize thumbSize) const
{
    return {thumbSize.width + std::abs(m_trackEnd.x - m_trackStart.x),
            thumbSize.height + std::abs(m_trackEnd.y - m_trackStart.y)};
}

void GUISlider::SetThumb(const std::string& modelName, GUISize thumbSize)
{
    AdoptThumb(std::make_unique<GUIButton>(m_services, m_sounds, kThumbFlags, ThumbWindowPosition(),
                                           ThumbWindowSize(thumbSize), modelName, this),
               thumbSize);
}

void GUISlider::SetThumb(const Model* source, GUISize thumbSize)
{
    AdoptThumb(std::make_unique<GUIButton>(m_services, m_sounds, kThumbFlags, ThumbWindowPosition(),
                                           ThumbWindowSize(thumbSize), source, this),
               thumbSize);
}

void GUISlider::SetThumb(const ShaderDescriptor& descriptor, float extentU, float extentV, GUISize thumbSize)
{
    AdoptThumb(std::make_unique<GUIButton>(m_services, m_sounds, kThumbFlags, ThumbWindowPosition(),
                                           ThumbWindowSize(thumbSize), descriptor, this, extentU, extentV),
               thumbSize);
}

// The new thumb is complete before the old one goes, so a thumb that fails to load leaves the old one working.
void GUISlider::AdoptThumb(std::unique_ptr<GUIButton> thumb, GUISize thumbSize)
{
    m_thumb = std::move(thumb);
    m_thumbSize = thumbSize;
    m_thumb->m_placeQuad = false;
    m_thumb->m_selectSoundId = kThumbSelectSound;
    m_thumb->m_clickSoundId = kThumbClickSound;
    SetPosition(m_position);
}

void GUISlider::SetPosition(std::uint32_t position)
{
    m_position = std::min(position, LastPosition());
}

void GUISlider::SetEnabled(bool enabled)
{
    if (enabled == (m_state != kDisabled))
        return;
    m_state = enabled ? kNormal : kDisabled;
    m_thumb->SetEnabled(enabled);
}

bool GUISlider::IsPressed() const
{
    return m_thumb->IsPressed();
}

// The frame -------------------------------------------------------------------------------------------------------

bool GUISlider::Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown)
{
    if (!GUIWindow::Update(cursorX, cursorY, buttonHeld, buttonWentDown))
        return false;
    const bool wasPressed = m_thumb->IsPressed();
    if (!m_thumb->Update(cursorX, cursorY, buttonHeld, buttonWentDown) || m_state == kDisabled)
        return false;
    m_state = IsCursorOver() ? kHover : kNormal;
    if (!m_thumb->IsPressed())
        return true;
    if (!wasPressed)
        m_grip = GripAt(cursorX, cursorY);
    SetPosition(PositionAt(cursorX - m_grip.x, cursorY - m_grip.y));
    return true;
}

// A press on the drawn thumb holds it where it was taken, so that a click leaves it in place and a drag keeps that
// point under the cursor; a press elsewhere on the track brings the thumb's middle to the cursor.
GUIPoint GUISlider::GripAt(float cursorX, float cursorY) const
{
    const GUIPoint corner = ThumbCorner();
    const GUIPoint grip{cursorX - corner.x, cursorY - corner.y};
    const bool onThumb =
        grip.x >= 0.0f && grip.x <= m_thumbSize.width && grip.y >= 0.0f && grip.y <= m_thumbSize.height;
    return onThumb ? grip : GUIPoint{0.5f * m_thumbSize.width, 0.5f * m_thumbSize.height};
}

// The position nearest a thumb whose corner lies at the given point.
std::uint32_t GUISlider::PositionAt(float cornerX, float cornerY) const
{
    const GUIPoint origin = GetAbsolutePosition();
    float t = 0.0f;
    if (m_vertical == 0)
        t = (cornerX - origin.x - m_trackStart.x) / SignedLength(m_trackEnd.x - m_trackStart.x);
    else
        t = (cornerY - origin.y - m_trackStart.y) / SignedLength(m_trackEnd.y - m_trackStart.y);
    t = std::clamp(t, 0.0f, 1.0f);
    if (m_inverted)
        t = 1.0f - t;
    const float value = static_cast<float>(LastPosition()) * t;
    const float whole = std::floor(value);
    return static_cast<std::uint32_t>(whole) + (value - whole >= 0.5f ? 1 : 0);
}

bool GUISlider::Draw()
{
    if (!GUIWindow::Draw())
        return false;
    if (Model* quad = m_thumb->GetQuad())
        PlaceThumbQuad(*quad);
    m_thumb->Draw();
    if (ShaderUser* user = GetQuad() ? GetQuad()->GetShaderUser() : nullptr)
        user->SetFrame(0, m_state);
    return true;
}

GUIPoint GUISlider::ThumbCorner() const
{
    const std::uint32_t last = LastPosition();
    float t = last == 0 ? 0.0f : static_cast<float>(m_position) / static_cast<float>(last);
    if (m_inverted)
        t = 1.0f - t;
    const GUIPoint origin = GetAbsolutePosition();
    return {origin.x + m_trackStart.x + t * (m_trackEnd.x - m_trackStart.x),
            origin.y + m_trackStart.y + t * (m_trackEnd.y - m_trackStart.y)};
}

void GUISlider::PlaceThumbQuad(Model& quad) const
{
    const GUIPoint corner = ThumbCorner();
    Matrix4 placement;
    placement.MakeTranslation({corner.x, corner.y, 0.0f});
    Matrix4 scale;
    scale.m[0] = m_thumbSize.width;
    scale.m[5] = m_thumbSize.height;
    quad.ResetWorldMatrix();
    quad.MultiplyWorldMatrix(placement * scale);
}

void GUISlider::SetColour(const Color& colour)
{
    GUIWindow::SetColour(colour);
    m_thumb->SetColour(colour);
}

void GUISlider::UpdateVisibility()
{
    const bool wasVisible = IsVisible();
    GUIWindow::UpdateVisibility();
    if (IsVisible() && !wasVisible && m_state != kDisabled)
        m_state = kNormal;
}

} // namespace KeystrelEngine
