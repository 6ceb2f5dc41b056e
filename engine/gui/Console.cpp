#include "Console.h"

#include "GUIManager.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/Camera.h"

#include <algorithm>
#include <array>
#include <limits>

namespace KeystrelEngine {
namespace {

constexpr const char* kAlphaName = "ui_console_alpha";
constexpr const char* kSizeName = "ui_console_size";
constexpr const char* kSpeedName = "ui_console_speed";
constexpr const char* kKeyName = "ui_console_key";
constexpr const char* kSayName = "say";

// The window: coloured vertices, top-level depth -30, not shown until the console opens.
constexpr std::uint32_t kWindowFlags = GUIWindow::kColouredQuad | GUIWindow::kLayer30;

constexpr float kBottomMarginFactor = 0.2f;
constexpr float kLineHeightFactor = 1.2f;

// Virtual-key codes of the console's keys.
constexpr std::uint16_t kKeyTab = 0x09;
constexpr std::uint16_t kKeyEnter = 0x0D;
constexpr std::uint16_t kKeyEscape = 0x1B;
constexpr std::uint16_t kKeyPageUp = 0x21;
constexpr std::uint16_t kKeyPageDown = 0x22;
constexpr std::uint16_t kKeyUp = 0x26;
constexpr std::uint16_t kKeyDown = 0x28;

const Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const Color kGrey{0.5f, 0.5f, 0.5f, 1.0f};
const Color kRed{1.0f, 0.0f, 0.0f, 1.0f};
const Color kBlue{0.0f, 0.0f, 1.0f, 1.0f};
const Color kGreen{0.0f, 1.0f, 0.0f, 1.0f};

const Color& KindColour(unsigned kind)
{
    switch (kind) {
    case MessageManager::KindMessage:
        return kWhite;
    case MessageManager::KindWarning:
        return kGrey;
    default:
        return kRed;
    }
}

bool StartsWithBackslash(std::u16string_view text)
{
    return !text.empty() && text.front() == u'\\';
}

std::u16string_view CommonBeginning(std::u16string_view a, std::u16string_view b)
{
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return a.substr(0, static_cast<std::size_t>(mismatch.first - a.begin()));
}

} // namespace

// Creation ----------------------------------------------------------------------------------------------------

Console::Console(const ConsoleServices& services, const std::string& title, const ShaderDescriptor& background,
                 std::uint32_t fontId, const std::string& toggleKey, float alpha, float size, float speed)
    : m_log(services.log), m_timers(services.timers), m_config(services.config), m_controls(services.controls),
      m_gui(services.gui), m_toggleKey(toggleKey), m_fontId(fontId), m_font(services.gui->m_fonts->FindFont(fontId))
{
    RegisterVariables(alpha, size, speed);
    if (m_font) {
        m_bottomMargin = kBottomMarginFactor * m_font->m_size;
        m_lineHeight = kLineHeightFactor * m_font->m_size;
    } else {
        m_log->Error("Console: font " + FormatUnsigned(fontId) + " is not loaded");
    }
    const Camera& screen = *m_gui->m_camera;
    m_window = m_gui->CreateWindow(kWindowFlags, {0.0f, screen.m_height}, {screen.m_width, m_size}, background, nullptr,
                                   1.0f, 1.0f);
    const float promptWidth = PrintedWidth(m_prompt);
    m_input = m_gui->CreateEditBox(GUIWindow::kShown, {promptWidth, m_bottomMargin + m_lineHeight},
                                   {screen.m_width - promptWidth, m_lineHeight}, nullptr, m_window, fontId, kWhite,
                                   {0.0f, 0.0f}, kInputLimit, std::numeric_limits<float>::max(),
                                   screen.m_width - promptWidth);
    m_input->m_active = false; // takes keys once the console is fully down, the first time as every later one
    m_input->m_otherKeys = [this](std::uint16_t code) { HandleKey(code); };
    m_title = ToWide(title);
    Pad(m_title, u' ', true);
    Pad(m_scrollMark, u'^', false);
}

// The arguments are the registered defaults, and a value the registry already holds (the configuration file's, or
// one kept from an earlier console) wins over them: storing an argument over it would lose the player's saved
// setting at every start. So no argument, in range or not (alpha above 1, a size above the screen, a negative
// speed), replaces a registered value.
void Console::RegisterVariables(float alpha, float size, float speed)
{
    struct Variable
    {
        const char* name;
        Config::VariableType type;
        bool saved;
        std::string defaultValue;
        void* storage;
    };
    const std::array<Variable, 5> table = {{
        {kAlphaName, Config::TypeFloat, true, FormatFloat(alpha, 4), &m_alpha},
        {kSizeName, Config::TypeFloat, true, FormatFloat(size, 4), &m_size},
        {kSpeedName, Config::TypeFloat, true, FormatFloat(speed, 4), &m_speed},
        {kKeyName, Config::TypeString, true, m_toggleKey, &m_toggleKey},
        {kSayName, Config::TypeString, false, "", &m_say},
    }};
    for (const Variable& variable : table)
        m_config->RegisterVariable(variable.name, variable.defaultValue, variable.type, variable.saved,
                                   variable.storage, false);
}

Console::~Console()
{
    for (const char* name : {kAlphaName, kSizeName, kSpeedName, kKeyName, kSayName})
        m_config->UnregisterVariable(name);
    if (m_gui->m_editBoxes.Remove(m_input))
        delete m_input;
    m_gui->DeleteWindow(m_window);
}

float Console::PrintedWidth(std::u16string_view text) const
{
    return m_font ? m_font->PrintedWidth(text) : 0.0f;
}

void Console::Pad(std::u16string& text, char16_t character, bool inFront) const
{
    const float screenWidth = m_gui->m_camera->m_width;
    std::u16string longer = text;
    for (std::size_t added = 0; added < kMaxPadding; ++added) {
        longer.insert(inFront ? longer.begin() : longer.end(), character);
        if (PrintedWidth(longer) > screenWidth)
            return;
        text = longer;
    }
}

// Output -----------------------------------------------------------------------------------------------------------

// A row takes characters until it prints wider than the screen; then its last character starts the next row. A row
// keeps at least its first character, even one that alone prints wider, so that every row moves the text on.
void Console::AddLine(std::u16string_view text, const Color& colour)
{
    const float screenWidth = m_gui->m_camera->m_width;
    std::u16string piece;
    const auto store = [&](bool lineEnd) {
        m_lines.push_back({colour, piece, lineEnd, PrintedWidth(piece)});
        piece.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            store(true);
            continue;
        }
        piece += text[i];
        if (piece.size() > 1 && PrintedWidth(piece) > screenWidth) {
            piece.pop_back();
            store(true);
            --i;
        }
    }
    if (!piece.empty())
        store(false);
}

void Console::AddPieces(std::initializer_list<std::u16string_view> pieces, const Color& colour)
{
    for (const std::u16string_view piece : pieces)
        AddLine(piece, colour);
}

void Console::AddLogMessages()
{
    for (const MessageManager::Record& record : m_log->m_history)
        AddLine(ToWide(record.text), KindColour(record.kind));
}

// The frame ---------------------------------------------------------------------------------------------------------

void Console::Update()
{
    // The GUI's pass, just before, had the input line take the frame's keys if it was active then.
    const bool inputTookKeys = m_input->m_active;
    AddLogMessages();
    if (m_controls->IsKeyPressed(m_toggleKey))
        Toggle();
    if (!Move(m_gui->m_camera->m_height))
        return;
    m_window->SetColour({1.0f, 1.0f, 1.0f, m_alpha});
    AddTexts();
    const Window* window = m_controls->GetWindow();
    if (inputTookKeys || m_controls->m_inputLock || !window)
        return;
    // While it slides, the input line takes no keys: the console takes its own.
    for (const Window::KeyEvent& key : window->GetKeyEvents())
        if (!key.character)
            HandleKey(key.code);
}

void Console::Toggle()
{
    if (m_state == StateClosing || m_state == StateClosed) {
        m_state = StateOpening;
        m_window->SetVisible(true);
        SetInput(u"");
    } else {
        m_state = StateClosing;
        m_input->m_active = false;
    }
}

// The window's y is its lower edge, and the GUI's y points up: the console opens by moving down.
bool Console::Move(float screenHeight)
{
    const float step = m_speed * m_timers->m_frameTime;
    GUIPoint& position = m_window->m_position;
    position.x = 0.0f;
    m_window->m_size = {m_gui->m_camera->m_width, m_size};
    switch (m_state) {
    case StateOpening:
        position.y -= step;
        if (screenHeight - position.y > m_size) {
            m_state = StateOpen;
            position.y = screenHeight - m_size;
            m_input->m_active = true;
        }
        return true;
    case StateClosing:
        position.y += step;
        if (position.y > screenHeight) {
            m_state = StateClosed;
            position.y = screenHeight;
            m_window->SetVisible(false);
            m_scrollBack = 0;
        }
        return true;
    case StateClosed:
        return false;
    case StateOpen:
        position.y = screenHeight - m_size;
        return true;
    }
    return true;
}

// From the bottom up: the title, the prompt (the input line prints itself after it), the scroll-back mark while
// rows are hidden, then the output.
void Console::AddTexts()
{
    if (!m_font)
        return;
    float y = m_bottomMargin;
    m_window->AddText(0, m_fontId, m_title, 0.0f, 0.0f, {0.0f, y}, kWhite);
    y += m_lineHeight;
    m_window->AddText(0, m_fontId, m_prompt, 0.0f, 0.0f, {0.0f, y}, kWhite);
    y += m_lineHeight;
    if (m_scrollBack != 0) {
        m_window->AddText(0, m_fontId, m_scrollMark, 0.0f, 0.0f, {0.0f, y}, kWhite);
        y += m_lineHeight;
    }
    AddOutputRows(y);
}

// A row is the pieces after the previous row's end up to its own. Walking back from the newest piece, each row's
// first piece is found first and the row is then printed left to right; the walk ends at the window's top edge.
void Console::AddOutputRows(float y)
{
    const float top = m_window->m_size.height - m_font->m_size;
    std::size_t end = m_lines.size();
    for (std::uint32_t row = 0; end > 0 && y <= top; ++row) {
        std::size_t start = end - 1;
        while (start > 0 && !m_lines[start - 1].lineEnd)
            --start;
        if (row >= m_scrollBack) {
            float x = 0.0f;
            for (std::size_t i = start; i < end; ++i) {
                m_window->AddText(0, m_fontId, m_lines[i].text, 0.0f, 0.0f, {x, y}, m_lines[i].colour);
                x += m_lines[i].width;
            }
            y += m_lineHeight;
        }
        end = start;
    }
}

// Keys --------------------------------------------------------------------------------------------------------------

void Console::HandleKey(std::uint16_t code)
{
    switch (code) {
    case kKeyEnter:
        Execute();
        break;
    case kKeyEscape:
        SetInput(u"");
        break;
    case kKeyTab:
        Complete();
        break;
    case kKeyUp:
        if (m_historyIndex > 0) {
            --m_historyIndex;
            ShowHistoryEntry();
        }
        break;
    case kKeyDown:
        if (m_historyIndex < m_history.size()) {
            ++m_historyIndex;
            ShowHistoryEntry();
        }
        break;
    case kKeyPageUp:
        ++m_scrollBack;
        break;
    case kKeyPageDown:
        if (m_scrollBack > 0)
            --m_scrollBack;
        break;
    default:
        break;
    }
}

void Console::SetInput(std::u16string_view text)
{
    m_input->SetText(text);
}

// The entry under the history index, or an empty line past the newest.
void Console::ShowHistoryEntry()
{
    SetInput(m_historyIndex < m_history.size() ? std::u16string_view(m_history[m_historyIndex]) : u"");
}

void Console::Echo(const std::u16string& line)
{
    AddLine(m_prompt + line + u"\n", kBlue);
}

// The configuration reads a leading "\" itself; a line of blanks (result 5) leaves no trace.
void Console::Execute()
{
    std::u16string line = m_input->GetText();
    if (line.empty() || line == u"\\")
        return;
    SetInput(u"");
    std::string name;
    const int result = m_config->Execute(ToNarrow(line), &name);
    if (result == Config::ResultEmptyLine)
        return;
    if (!StartsWithBackslash(line))
        line.insert(line.begin(), u'\\');
    m_history.push_back(line);
    m_historyIndex = static_cast<std::uint32_t>(m_history.size());
    Echo(line);
    Reply(result, name);
}

void Console::Reply(int result, const std::string& name)
{
    const std::u16string wideName = ToWide(name);
    switch (result) {
    case Config::ResultDone:
        if (name == kSayName) {
            AddPieces({m_userName, u": \""}, kWhite);
            AddLine(ToWide(m_say), kGreen);
            AddLine(u"\"\n", kWhite);
        }
        break;
    case Config::ResultInvalidArgument:
        AddLine(u"Invalid argument", kWhite);
        break;
    case Config::ResultReadOnly:
        AddPieces({u"\"", wideName, u"\" is read only\n"}, kWhite);
        break;
    case Config::ResultNameOnly:
        if (name != kSayName)
            AddPieces({u"\"", wideName, u"\" is \"", ToWide(m_config->GetValue(name)), u"\", default is \"",
                       ToWide(m_config->GetDefaultValue(name)), u"\"\n"},
                      kWhite);
        break;
    case Config::ResultUnknownName:
        AddPieces({u"Unknown command \"", wideName, u"\"\n"}, kWhite);
        break;
    default:
        break;
    }
}

// The registered names that begin with the typed text, each written with its "\".
void Console::Complete()
{
    std::u16string line = m_input->GetText();
    if (!StartsWithBackslash(line))
        line.insert(line.begin(), u'\\');
    std::vector<std::string> names;
    m_config->GetNames(names);
    std::vector<std::u16string> matches;
    for (const std::string& name : names) {
        std::u16string candidate = u"\\" + ToWide(name);
        if (candidate.starts_with(line))
            matches.push_back(std::move(candidate));
    }
    if (matches.size() == 1) {
        SetInput(matches.front() + u" ");
        return;
    }
    if (matches.empty()) {
        SetInput(line);
        return;
    }
    Echo(line);
    std::u16string_view common = matches.front();
    for (const std::u16string& match : matches) {
        AddLine(u"    " + match + u"\n", kWhite);
        common = CommonBeginning(common, match);
    }
    SetInput(common);
}

} // namespace KeystrelEngine
