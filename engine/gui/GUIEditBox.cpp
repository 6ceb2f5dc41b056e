#include "GUIEditBox.h"

#include "GUIFontManager.h"
#include "GUISoundManager.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"

#include <algorithm>

namespace KeystrelEngine {

namespace {

// Virtual-key codes of the editing keys.
constexpr std::uint16_t kKeyBack = 0x08;
constexpr std::uint16_t kKeyEnd = 0x23;
constexpr std::uint16_t kKeyHome = 0x24;
constexpr std::uint16_t kKeyLeft = 0x25;
constexpr std::uint16_t kKeyRight = 0x27;
constexpr std::uint16_t kKeyInsert = 0x2D;
constexpr std::uint16_t kKeyDelete = 0x2E;

} // namespace

GUIEditBox::GUIEditBox(const GUIServices& services, TimerManager* timers, Controls* controls, GUISoundManager* sounds,
                       std::uint32_t flags, GUIPoint position, GUISize size, const Model* source, GUIWindow* parent,
                       std::uint32_t fontId, const Color& textColour, GUIPoint textOffset, std::int32_t maxLength,
                       float maxTextWidth, float visibleWidth)
    : GUIWindow(services, flags, position, size, source, parent), m_timers(timers), m_sounds(sounds),
      m_controls(controls), m_fontId(fontId), m_font(services.fonts->FindFont(fontId)), m_textColour(textColour),
      m_textOffset(textOffset), m_maxLength(maxLength), m_maxTextWidth(maxTextWidth), m_visibleWidth(visibleWidth)
{
    if (!m_font)
        services.log->Error("Edit box: font " + FormatUnsigned(fontId) + " is not loaded");
}

// Texts -------------------------------------------------------------------------------------------------------

std::u16string_view GUIEditBox::Part(std::int32_t first, std::int32_t last) const
{
    first = std::clamp(first, 0, Length());
    last = std::clamp(last, first, Length());
    return std::u16string_view(m_text).substr(first, last - first);
}

float GUIEditBox::TextWidth(std::u16string_view text) const
{
    return m_font ? m_font->PenAdvance(text) : 0.0f;
}

bool GUIEditBox::FitsWithCaret(std::u16string_view text) const
{
    std::u16string shown(text);
    shown += m_caretText;
    return TextWidth(shown) <= m_visibleWidth;
}

bool GUIEditBox::CanAppend(char16_t character) const
{
    if (Length() + 1 > m_maxLength)
        return false;
    std::u16string longer = m_text;
    longer += character;
    return TextWidth(longer) <= m_maxTextWidth;
}

std::int32_t GUIEditBox::CaretLimit() const
{
    return std::max(std::min(Length(), m_maxLength - 1), 0);
}

void GUIEditBox::SetText(std::u16string_view text)
{
    m_text = text;
    m_caret = CaretLimit();
    m_scroll = 0;
    ScrollToCaret();
}

// The caret alone may print wider than the box; the scroll stops on the caret then, with the caret shown first.
void GUIEditBox::ScrollToCaret()
{
    while (m_scroll < m_caret && !FitsWithCaret(Part(m_scroll, m_caret)))
        ++m_scroll;
}

// The frame ------------------------------------------------------------------------------------------------------

bool GUIEditBox::Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown)
{
    if (!GUIWindow::Update(cursorX, cursorY, buttonHeld, buttonWentDown))
        return false;
    Color colour = m_textColour;
    colour.a *= GetColour().a;
    const bool changed = m_active && !m_controls->m_inputLock && HandleKeys();
    AddVisibleText(colour);
    if (m_active)
        AddCaret(colour);
    if (changed && m_sounds)
        m_sounds->Play(kChangeSound);
    return true;
}

// From the first visible character as many as print within the visible width.
void GUIEditBox::AddVisibleText(const Color& colour)
{
    std::u16string_view visible = Part(m_scroll, Length());
    if (TextWidth(visible) > m_visibleWidth) {
        std::size_t count = 0;
        while (count < visible.size() && TextWidth(visible.substr(0, count + 1)) <= m_visibleWidth)
            ++count;
        visible = visible.substr(0, count);
    }
    AddText(0, m_fontId, visible, 0.0f, 0.0f, m_textOffset, colour);
}

// Shown for one blink interval of the master timer, hidden for the next.
void GUIEditBox::AddCaret(const Color& colour)
{
    const auto interval = static_cast<std::int64_t>(m_timers->m_masterTimer->GetPreciseTime() / kBlinkSeconds);
    if (interval % 2 != 0)
        return;
    const GUIPoint position{m_textOffset.x + TextWidth(Part(m_scroll, m_caret)), m_textOffset.y};
    AddText(0, m_fontId, m_caretText, 0.0f, 0.0f, position, colour);
}

// Keys -----------------------------------------------------------------------------------------------------------

// Every key of the frame in the order typed, so that a fast typist or a long frame loses none.
bool GUIEditBox::HandleKeys()
{
    const Window* window = m_controls->GetWindow();
    if (!window)
        return false;
    bool changed = false;
    for (const Window::KeyEvent& key : window->GetKeyEvents())
        changed = HandleKey(key.character, key.code) || changed;
    return changed;
}

bool GUIEditBox::HandleKey(bool isCharacter, std::uint16_t code)
{
    if (isCharacter)
        return TypeCharacter(static_cast<char16_t>(code));
    switch (code) {
    case kKeyInsert:
        m_overwrite = !m_overwrite;
        return false;
    case kKeyDelete:
        if (m_caret >= Length())
            return false;
        m_text.erase(m_caret, 1);
        return true;
    case kKeyBack:
        return Back();
    case kKeyLeft:
        Left();
        return false;
    case kKeyRight:
        if (m_caret < Length())
            Advance();
        return false;
    case kKeyHome:
        m_caret = 0;
        m_scroll = 0;
        return false;
    case kKeyEnd:
        m_caret = CaretLimit();
        ScrollToCaret();
        return false;
    default:
        if (m_otherKeys)
            m_otherKeys(code);
        return false;
    }
}

// Characters the font cannot print are refused; the space prints without a glyph.
bool GUIEditBox::TypeCharacter(char16_t character)
{
    if (character != u' ' && !(m_font && m_font->HasGlyph(character)))
        return false;
    if (m_overwrite && m_caret < Length()) {
        m_text[m_caret] = character;
    } else {
        if (!CanAppend(character))
            return false;
        m_text.insert(m_text.begin() + m_caret, character);
    }
    Advance();
    return true;
}

// A full box holds its caret on its last character, so there BACK removes the character under the caret; anywhere
// else it removes the character before the caret.
bool GUIEditBox::Back()
{
    if (m_caret <= 0)
        return false;
    if (m_caret + 1 == Length() && Length() >= m_maxLength) {
        m_text.erase(m_caret, 1);
        return true;
    }
    m_text.erase(m_caret - 1, 1);
    --m_caret;
    if (m_caret <= m_scroll)
        ScrollBack();
    return true;
}

void GUIEditBox::Left()
{
    if (m_caret <= 0)
        return;
    --m_caret;
    if (m_caret <= m_scroll)
        ScrollBack();
}

// Onto the first visible character, or before it when the view starts on the caret (a caret wider than the view):
// the view goes back five characters and then forward as far as the caret needs.
void GUIEditBox::ScrollBack()
{
    m_scroll = std::max(m_scroll - kScrollBack, 0);
    ScrollToCaret();
}

// The caret moves one on (held on the last character of a full box). The view stays while the caret still prints
// in it; otherwise it moves on by at most five characters, no further than the view of the text's end and never
// past the caret.
void GUIEditBox::Advance()
{
    const std::int32_t oldCaret = m_caret;
    const std::int32_t oldScroll = m_scroll;
    m_caret = CaretLimit();
    m_scroll = 0;
    ScrollToCaret();
    const std::int32_t endScroll = m_scroll;
    m_caret = std::max(std::min(oldCaret + 1, m_maxLength - 1), 0);
    if (FitsWithCaret(Part(oldScroll, m_caret)))
        m_scroll = oldScroll;
    else
        m_scroll = std::min({endScroll, oldScroll + kScrollBack, m_caret});
}

} // namespace KeystrelEngine
