#include "GUICheckBox.h"

namespace KeystrelEngine {

GUICheckBox::GUICheckBox(const GUIServices& services, GUISoundManager* sounds, GUIPoint position, GUISize size,
                         const Model* source, GUIWindow* parent)
    : GUIButton(services, sounds, kColouredQuad, position, size, source, parent)
{
    m_selectSoundId = kSelectSound;
    m_clickSoundId = kClickSound;
}

bool GUICheckBox::Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown)
{
    const bool result = GUIButton::Update(cursorX, cursorY, buttonHeld, buttonWentDown);
    if (IsClicked())
        m_checked = !m_checked;
    return result;
}

std::uint32_t GUICheckBox::GetState() const
{
    const std::uint32_t state = GetButtonState();
    if (state == kDisabled)
        return m_checked ? 7 : 6;
    return m_checked ? state + 3 : state;
}

} // namespace KeystrelEngine
