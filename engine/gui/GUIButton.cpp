#include "GUIButton.h"

#include "GUISoundManager.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"

namespace KeystrelEngine {

GUIButton::GUIButton(const GUIServices& services, GUISoundManager* sounds, std::uint32_t flags, GUIPoint position,
                     GUISize size, const ShaderDescriptor& descriptor, GUIWindow* parent, float extentU, float extentV)
    : GUIWindow(services, flags, position, size, descriptor, parent, extentU, extentV), m_sounds(sounds)
{
}

GUIButton::GUIButton(const GUIServices& services, GUISoundManager* sounds, std::uint32_t flags, GUIPoint position,
                     GUISize size, const Model* source, GUIWindow* parent)
    : GUIWindow(services, flags, position, size, source, parent), m_sounds(sounds)
{
}

GUIButton::GUIButton(const GUIServices& services, GUISoundManager* sounds, std::uint32_t flags, GUIPoint position,
                     GUISize size, const std::string& modelName, GUIWindow* parent)
    : GUIWindow(services, flags, position, size, modelName, parent), m_sounds(sounds)
{
}

bool GUIButton::Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown)
{
    m_clicked = false;
    if (!GUIWindow::Update(cursorX, cursorY, buttonHeld, buttonWentDown))
        return false;
    if (m_state == kDisabled) {
        // A press held through the disabled time may still click; one released meanwhile has ended, and must not
        // click by itself once the button is enabled again.
        m_pressed = m_pressed && buttonHeld;
        return false;
    }
    const bool over = IsCursorOver();
    if (over && buttonWentDown && !m_pressed) {
        m_pressed = true;
        PlaySound(m_clickSoundId);
    }
    if (m_pressed) {
        if (buttonHeld) {
            m_state = over ? kPressed : kNormal;
        } else {
            m_clicked = over;
            m_pressed = false;
        }
    }
    if (!m_pressed) {
        m_state = over ? kHover : kNormal;
        if (over && !m_wasOver)
            PlaySound(m_selectSoundId);
    }
    m_wasOver = over;
    return true;
}

bool GUIButton::Draw()
{
    if (!GUIWindow::Draw())
        return false;
    ShowFrame(GetState());
    return true;
}

// The frames of a button's texture follow the state numbers. Each quad has its own shader user with the shared
// shader's description, so its first stage tells whether the texture has frames at all.
void GUIButton::ShowFrame(std::uint32_t frame) const
{
    const Model* quad = GetQuad();
    ShaderUser* user = quad ? quad->GetShaderUser() : nullptr;
    if (user && user->m_stageCount > 0 && user->m_stages[0].m_frameCount > 1)
        user->SetFrame(0, frame);
}

// A press that a hide interrupts is forgotten: its release may come while the button is hidden, and the button
// must not click by itself when it shows again under the cursor.
void GUIButton::UpdateVisibility()
{
    const bool wasVisible = IsVisible();
    GUIWindow::UpdateVisibility();
    if (!IsVisible())
        m_pressed = false;
    else if (!wasVisible && m_state != kDisabled)
        m_state = kNormal;
}

void GUIButton::SetEnabled(bool enabled)
{
    if (enabled == IsEnabled())
        return;
    m_state = enabled ? kNormal : kDisabled;
}

void GUIButton::PlaySound(std::uint32_t id) const
{
    if (m_sounds)
        m_sounds->Play(id);
}

} // namespace KeystrelEngine
