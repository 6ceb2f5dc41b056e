// A one-line text input: it takes the window's key events of the frame in the order typed, edits its text with a
// caret in insert or overwrite mode, holds the text to a number of characters and a printed width, scrolls
// sideways so that the caret stays in view, prints the visible part and a blinking caret into its own window, and
// plays GUI sound 12 on every change.
#pragma once

#include "GUIWindow.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace KeystrelEngine {

class Controls;
class GUIFont;
class GUISoundManager;
class TimerManager;

class GUIEditBox : public GUIWindow
{
public:
    static constexpr std::uint32_t kChangeSound = 12;
    static constexpr char16_t kCaret = u'_';
    static constexpr double kBlinkSeconds = 0.4;
    static constexpr std::int32_t kScrollBack = 5; // characters

    // The window's quad is a clone of the source model (none when it is null). The font is looked up once here.
    GUIEditBox(const GUIServices& services, TimerManager* timers, Controls* controls, GUISoundManager* sounds,
               std::uint32_t flags, GUIPoint position, GUISize size, const Model* source, GUIWindow* parent,
               std::uint32_t fontId, const Color& textColour, GUIPoint textOffset, std::int32_t maxLength,
               float maxTextWidth, float visibleWidth);

    // The hit test, the key of the frame, then this frame's texts. Returns false for a box that is not visible.
    bool Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown) override;

    // Replaces the text; the caret goes to its end (held on the last character of a full box).
    void SetText(std::u16string_view text);
    // Scrolls forward until the caret prints within the visible width, at most up to the caret.
    void ScrollToCaret();
    // Whether the text with the character appended keeps to both limits.
    bool CanAppend(char16_t character) const;

    const std::u16string& GetText() const { return m_text; }
    std::int32_t GetCaret() const { return m_caret; }
    std::int32_t GetScroll() const { return m_scroll; }
    bool IsOverwriting() const { return m_overwrite; }

    bool m_active = true; // takes keys and shows the caret only while set
    // Takes the virtual keys the box does not edit with, each in its place among the frame's keys, so that an
    // owner's command keys (the console's ENTER, for one) act on the text typed before them and before no other.
    std::function<void(std::uint16_t)> m_otherKeys;

private:
    // Each returns whether the text changed.
    bool HandleKeys();
    bool HandleKey(bool isCharacter, std::uint16_t code);
    bool TypeCharacter(char16_t character);
    bool Back();
    void Left();
    void Advance();
    void ScrollBack();
    // The last place the caret may take: the end of the text, or the last character of a full box.
    std::int32_t CaretLimit() const;
    std::int32_t Length() const { return static_cast<std::int32_t>(m_text.size()); }
    // The characters [first, last) of the text, clamped to it.
    std::u16string_view Part(std::int32_t first, std::int32_t last) const;
    // How far the text moves the pen: a trailing blank counts, for the caret after it and for the width limit.
    float TextWidth(std::u16string_view text) const;
    // Whether the characters followed by the caret print within the visible width.
    bool FitsWithCaret(std::u16string_view text) const;
    void AddVisibleText(const Color& colour);
    void AddCaret(const Color& colour);

    TimerManager* m_timers;
    GUISoundManager* m_sounds;
    Controls* m_controls;
    std::uint32_t m_fontId;
    GUIFont* m_font; // null when the id names no loaded font: nothing but spaces is typed, and nothing prints
    Color m_textColour;
    GUIPoint m_textOffset; // where the text starts in the box
    std::u16string m_caretText{kCaret};
    std::int32_t m_maxLength;
    float m_maxTextWidth;
    float m_visibleWidth;
    bool m_overwrite = false;
    std::int32_t m_caret = 0;  // where the next character goes
    std::int32_t m_scroll = 0; // the first visible character
    std::u16string m_text;
};

} // namespace KeystrelEngine
