// The developer console: a window that slides down from the top of the GUI's virtual screen on its toggle key,
// shows what the log wrote since the previous frame in the colour of its kind, and executes typed lines against
// the configuration, with a history, name completion and scroll-back.
//
// The output is a list of pieces. A piece is a run of one colour; the pieces up to and including one that ends
// its row make one output row, so one row can hold several colours. Rows are drawn from the newest upward and
// only while they fit inside the window, so the frame's work follows the window's height, not the length of the
// output, which is never trimmed.
#pragma once

#include "engine/render/Color.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace KeystrelEngine {

class Config;
class Controls;
class GUIEditBox;
class GUIFont;
class GUIManager;
class GUIWindow;
class MessageManager;
class ShaderDescriptor;
class ShaderManager;
class TimerManager;

// One piece of output.
struct ConsoleLine
{
    Color colour;
    std::u16string text;  // without the line end
    bool lineEnd = false; // the piece ends its row
    float width = 0.0f;   // printed width of the text
};

// What the console is given by the engine; none is owned.
struct ConsoleServices
{
    MessageManager* log = nullptr;
    TimerManager* timers = nullptr;
    Config* config = nullptr;
    Controls* controls = nullptr;
    ShaderManager* shaders = nullptr; // the window's quad is made through the GUI manager, which holds its own
    GUIManager* gui = nullptr;
};

class Console
{
public:
    enum State : std::uint32_t
    {
        StateOpening = 0,
        StateOpen = 1,
        StateClosing = 2,
        StateClosed = 3
    };

    static constexpr std::int32_t kInputLimit = 255;
    static constexpr std::size_t kMaxPadding = 255; // blanks before the title, marks of the scroll-back row

    // Registers the console's variables, then makes the window (hidden, just above the screen) and its input
    // line. The font is looked up once here.
    Console(const ConsoleServices& services, const std::string& title, const ShaderDescriptor& background,
            std::uint32_t fontId, const std::string& toggleKey, float alpha, float size, float speed);
    // Deletes the input line and the window and lets go of the variables.
    virtual ~Console();

    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Once a frame, after the GUI's input: the log's frame list, the toggle key, the motion, this frame's texts
    // and the command keys. While the input line takes keys it hands the console its command keys in their place
    // among the typed characters, during the GUI's pass; while the console slides, the console reads them here.
    void Update();
    // Cuts the text into pieces of the colour; a line feed ends a row, and a row that would print wider than
    // the screen goes on in the next row.
    void AddLine(std::u16string_view text, const Color& colour);

    State GetState() const { return m_state; }
    GUIWindow* GetWindow() const { return m_window; }
    GUIEditBox* GetInput() const { return m_input; }
    const std::vector<ConsoleLine>& GetLines() const { return m_lines; }
    const std::vector<std::u16string>& GetHistory() const { return m_history; }
    std::uint32_t GetHistoryIndex() const { return m_historyIndex; }
    const std::u16string& GetTitle() const { return m_title; }
    const std::u16string& GetScrollMark() const { return m_scrollMark; }
    float GetBottomMargin() const { return m_bottomMargin; }
    float GetLineHeight() const { return m_lineHeight; }

    std::uint32_t m_scrollBack = 0; // output rows hidden at the bottom

private:
    void RegisterVariables(float alpha, float size, float speed);
    // Each text becomes pieces of its own.
    void AddPieces(std::initializer_list<std::u16string_view> pieces, const Color& colour);
    void AddLogMessages();
    void Toggle();
    // Returns false when the console is closed, which ends the frame's update.
    bool Move(float screenHeight);
    void AddTexts();
    // Adds the output rows from the newest upward, from the height y on, while they fit in the window.
    void AddOutputRows(float y);
    void HandleKey(std::uint16_t code);
    void Execute();
    void Reply(int result, const std::string& name);
    void Complete();
    void Echo(const std::u16string& line);
    void SetInput(std::u16string_view text);
    void ShowHistoryEntry();
    float PrintedWidth(std::u16string_view text) const;
    // Adds the character to the text until the text, with one more, would print wider than the screen.
    void Pad(std::u16string& text, char16_t character, bool inFront) const;

    MessageManager* m_log;
    TimerManager* m_timers;
    Config* m_config;
    Controls* m_controls;
    GUIManager* m_gui;
    State m_state = StateClosed;
    std::string m_toggleKey;
    float m_alpha = 0.0f;
    float m_size = 0.0f;
    float m_speed = 0.0f;
    std::u16string m_prompt = u"]";
    std::u16string m_scrollMark;
    std::u16string m_title;
    std::string m_say;
    std::uint32_t m_fontId;
    GUIFont* m_font; // null when the id names no loaded font: nothing prints and nothing wraps
    GUIWindow* m_window = nullptr;
    GUIEditBox* m_input = nullptr;
    std::vector<ConsoleLine> m_lines;
    std::uint32_t m_historyIndex = 0;
    std::vector<std::u16string> m_history;
    float m_bottomMargin = 0.0f;
    float m_lineHeight = 0.0f;
    std::u16string m_userName = u"Wendle";
};

} // namespace KeystrelEngine
