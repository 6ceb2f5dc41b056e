#include "game/app/MenuNameEntry.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/MenuTexts.h"

#include <algorithm>
#include <utility>

namespace Wispfold {
namespace {

constexpr std::uint16_t kEnterKey = 0x0D;

bool HoldsName(const std::u16string& text)
{
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return !KeystrelEngine::IsSpaceW(c); });
}

} // namespace

MenuNameEntry::MenuNameEntry(GUIMenuWindow& window, const KeystrelEngine::Controls* controls)
    : m_window(window), m_controls(controls),
      m_edit(window.AddControl(ControlKind::EditBox, "small_window\\edit", "small_window\\edit")),
      m_ok(window.AddButton("small_window\\button_1", "controls\\button_big")),
      m_second(window.AddButton("small_window\\button_0", "controls\\button_big"))
{
    m_edit->GetEditBox()->m_otherKeys = [this](std::uint16_t code) { TakeKey(code); };
}

// The box takes the frame's keys during the GUI's pass, before the window reads ENTER: the text at the frame's first
// ENTER is kept, so that what was typed after it can be taken back.
void MenuNameEntry::TakeKey(std::uint16_t code) const
{
    if (code == kEnterKey && !m_textAtEnter)
        m_textAtEnter = m_edit->GetEditBox()->GetText();
}

void MenuNameEntry::Clear() const
{
    SetName({});
}

void MenuNameEntry::SetName(const std::u16string& name) const
{
    KeystrelEngine::GUIEditBox& box = *m_edit->GetEditBox();
    m_textAtEnter.reset();
    box.SetText(name);
    box.ScrollToCaret();
}

std::u16string MenuNameEntry::GetName() const
{
    return KeystrelEngine::TrimW(m_edit->GetEditBox()->GetText());
}

// ENTER confirms the name as it stood when ENTER was typed, without what followed it in the frame; over a box
// without a name it confirms nothing, whatever followed it. A box that took no keys this frame (its control still
// unfolding) offers its text as it is.
bool MenuNameEntry::Update() const
{
    KeystrelEngine::GUIButton& ok = *m_ok->GetButton();
    const std::optional<std::u16string> textAtEnter = std::exchange(m_textAtEnter, std::nullopt);
    const std::u16string& text = m_edit->GetEditBox()->GetText();
    const bool entered = m_controls->IsKeyPressed("ENTER") && HoldsName(textAtEnter ? *textAtEnter : text);
    if (entered && textAtEnter && *textAtEnter != text)
        SetName(*textAtEnter);
    ok.SetEnabled(HoldsName(m_edit->GetEditBox()->GetText()));
    return ok.IsClicked() || entered;
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
