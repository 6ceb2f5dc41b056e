// Shows a text in a GUI window as if it were typed, character by character at a fixed rate, and erases the text
// on screen the same way before a new one is typed. The window's texts last one frame, so Update adds the shown
// part every frame.
#pragma once

#include "engine/gui/GUIWindow.h"
#include "engine/render/Color.h"

#include <cstdint>
#include <string>

namespace KeystrelEngine {
class GUITextManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameTools {

class GUITextPrinter
{
public:
    // flags: the text's alignment in the window (as GUIWindow::AddText takes it); rate: characters per second.
    GUITextPrinter(KeystrelEngine::TimerManager* timers, KeystrelEngine::GUITextManager* texts,
                   KeystrelEngine::GUIWindow* window, std::uint32_t flags, float rate, std::uint32_t fontId,
                   KeystrelEngine::GUIPoint position, const KeystrelEngine::Color& colour);
    virtual ~GUITextPrinter();

    GUITextPrinter(const GUITextPrinter&) = delete;
    GUITextPrinter& operator=(const GUITextPrinter&) = delete;

    // The text to type next; the one on screen is erased first. The same text again once it is shown whole
    // keeps the printer finished.
    void SetText(const std::u16string& text);
    // The text table's text for the key, without a number.
    void SetTextByKey(const std::string& key);
    // Nothing on screen and nothing to type.
    void Clear();
    // Once per frame: types or erases by the frame time and adds the shown part to the window.
    void Update();

    bool IsFinished() const { return m_finished; }
    const std::u16string& GetShownText() const { return m_shown; }
    // The colour of the shown text from the next Update on; owners fade a printer's text through its alpha.
    void SetColour(const KeystrelEngine::Color& colour) { m_colour = colour; }
    const KeystrelEngine::Color& GetColour() const { return m_colour; }
    // Where and in which font the text is typed.
    const KeystrelEngine::GUIWindow& GetWindow() const { return *m_window; }
    std::uint32_t GetFontId() const { return m_fontId; }

private:
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUITextManager* m_texts;
    KeystrelEngine::GUIWindow* m_window; // not owned
    std::uint32_t m_flags;
    std::uint32_t m_fontId;
    KeystrelEngine::GUIPoint m_position;
    KeystrelEngine::Color m_colour;
    float m_rate;
    float m_count = 0.0f; // characters shown, fractions included
    std::u16string m_target;
    std::u16string m_current; // on screen: the target while typing, the old text while erasing
    std::u16string m_shown;   // the part added this frame; kept so that printing every frame allocates nothing
    bool m_finished = true;
};

} // namespace GameTools
