#include "game/app/MenuNameEntry.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/MenuTexts.h"

#include <algorithm>

namespace Wispfold {

MenuNameEntry::MenuNameEntry(GUIMenuWindow& window, const KeystrelEngine::Controls* controls)
    : m_window(window), m_controls(controls),
      m_edit(window.AddControl(ControlKind::EditBox, "small_window\\edit", "small_window\\edit")),
      m_ok(window.AddButton("small_window\\button_1", "controls\\button_big")),
      m_second(window.AddButton("small_window\\button_0", "controls\\button_big"))
{
}

void MenuNameEntry::Clear() const
{
    SetName({});
}

void MenuNameEntry::SetName(const std::u16string& name) const
{
    KeystrelEngine::GUIEditBox& box = *m_edit->GetEditBox();
    box.SetText(name);
    box.ScrollToCaret();
}

std::u16string MenuNameEntry::GetName() const
{
    return KeystrelEngine::TrimW(m_edit->GetEditBox()->GetText());
}

bool MenuNameEntry::Update() const
{
    KeystrelEngine::GUIButton& ok = *m_ok->GetButton();
    const std::u16string& text = m_edit->GetEditBox()->GetText();
    ok.SetEnabled(std::any_of(text.begin(), text.end(), [](char16_t c) { return !KeystrelEngine::IsSpaceW(c); }));
    return ok.IsClicked() || (ok.IsEnabled() && m_controls->IsKeyPressed("ENTER"));
}

bool MenuNameEntry::IsSecondClicked() const
{
    return m_second->GetButton()->IsClicked();
}

void MenuNameEntry::AddTexts(const char* secondCaption, const KeystrelEngine::Color& colour) const
{
    MenuTexts::AddLine(*m_window.GetFrameWidget(), "ENTER_YOUR_NAME", -1, 157.0f, colour);
    MenuTexts::AddCaption(*m_ok, "OK", colour);
    MenuTexts::AddCaption(*m_second, secondCaption, colour);
}

} // namespace Wispfold
