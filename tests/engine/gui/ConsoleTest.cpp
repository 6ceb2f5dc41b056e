// The drop-down console of an engine on the recording device, made as the game shell makes it ("~", 0.95, 308,
// 1000) on an 800 x 600 GUI screen, with a font whose printable characters are 5 units wide and 10 high (a blank
// advances 10, '@' 1000: rows 12 apart, the first 2 above the window's lower edge) and a fake clock that moves 0.04
// seconds a frame: its variables, the slide, executed lines and their replies, the history and the other keys,
// name completion, and the output.
#include "engine/gui/Console.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/ShaderDescriptor.h"
#include "platform/testing.h"
#include "tests/engine/gui/EnginePlatform.h"
#include "tests/engine/render/ModelFixture.h"
#include "tests/support/TestEnvironment.h"
#include "tools/formats/FontFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using KeystrelEngine::Console;
using KeystrelEngine::ConsoleLine;
using Rows = std::vector<std::u16string>;

namespace {

enum Key : std::uint16_t
{
    kTab = 0x09,
    kEnter = 0x0D,
    kEscape = 0x1B,
    kPageUp = 0x21,
    kPageDown = 0x22,
    kUp = 0x26,
    kDown = 0x28
};

constexpr float kFontSize = 10.0f;
constexpr float kFirstOutputRow = 26.0f; // above the title and the prompt

// A piece as the letter of its colour (white, grey, red, blue, Green), its text, and "|" when it ends its row.
std::u16string Describe(const ConsoleLine& line)
{
    const std::vector<std::tuple<char16_t, float, float, float>> colours = {
        {u'w', 1, 1, 1}, {u'g', 0.5f, 0.5f, 0.5f}, {u'r', 1, 0, 0}, {u'b', 0, 0, 1}, {u'G', 0, 1, 0}};
    std::u16string text = u"?";
    for (const auto& [letter, r, g, b] : colours) {
        if (line.colour.r == r && line.colour.g == g && line.colour.b == b && line.colour.a == 1.0f)
            text = std::u16string(1, letter);
    }
    return text + u":" + line.text + (line.lineEnd ? u"|" : u"");
}

class ConsoleTest : public ::testing::Test
{
protected:
    // The engine with its GUI screen and font, then the console with the given arguments, and one frame.
    Console& Create(float alpha = 0.95f, float size = 308.0f, float speed = 1000.0f)
    {
        KeystrelEngine::EngineSettings settings;
        settings.applicationName = settings.configName = "Quellhaven";
        settings.version = 100;
        settings.saveConfigOnExit = true;
        settings.dataFolder = "Data";
        settings.videoMode = "640x480x32";
        engine = std::make_unique<KeystrelEngine::Engine>(settings);
        engine->m_gui->m_camera->m_width = 800.0f;
        engine->m_gui->m_camera->m_height = 600.0f;
        std::vector<Formats::FontGlyph> glyphs;
        for (char16_t code = u'!'; code <= u'~'; ++code)
            glyphs.push_back({code, 0.0f, 0.0f, 0.01f, 0.01f, code == u'@' ? 100.0f : 0.5f});
        RenderTesting::WriteDataFile("ui\\fonts\\console.fnt", Formats::BuildFontFile(glyphs));
        engine->m_gui->m_fonts->LoadFont(1, "ui\\fonts\\console.fnt", {})->m_size = kFontSize;
        engine->CreateConsole(engine->GetTitle(), {}, 1, "~", alpha, size, speed);
        Frame();
        return *engine->m_console;
    }

    Console& Get() const { return *engine->m_console; }

    void Frame(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            PlatformTesting::AdvanceFakeClock(0.04);
            engine->Update();
            engine->EndFrame();
        }
    }

    // A frame in which the game window holds the virtual key.
    void Press(std::uint16_t code)
    {
        engine->m_window->AddKeyEvent(code, false);
        Frame();
    }

    // The toggle key goes down in one frame and up in the next.
    void Toggle()
    {
        PlatformTesting::InjectKey(SDL_SCANCODE_GRAVE, true);
        Frame();
        PlatformTesting::InjectKey(SDL_SCANCODE_GRAVE, false);
        Frame();
    }

    void Open()
    {
        Toggle();
        Frame(8);
        ASSERT_EQ(Get().GetState(), Console::StateOpen);
    }

    void Enter(const std::u16string& line, std::uint16_t key = kEnter)
    {
        Get().GetInput()->SetText(line);
        Press(key);
    }

    float Y() const { return Get().GetWindow()->m_position.y; }
    const std::u16string& Input() const { return Get().GetInput()->GetText(); }
    std::size_t PieceCount() const { return Get().GetLines().size(); }

    std::vector<std::u16string> PiecesFrom(std::size_t first) const
    {
        std::vector<std::u16string> pieces;
        for (std::size_t i = first; i < Get().GetLines().size(); ++i)
            pieces.push_back(Describe(Get().GetLines()[i]));
        return pieces;
    }

    // The text of the pieces from the given one on, joined into rows; a last row without its end is left out.
    Rows RowsFrom(std::size_t first) const
    {
        Rows rows(1);
        for (std::size_t i = first; i < Get().GetLines().size(); ++i) {
            rows.back() += Get().GetLines()[i].text;
            if (Get().GetLines()[i].lineEnd)
                rows.emplace_back();
        }
        rows.pop_back();
        return rows;
    }

    // The texts of this frame's console window at the height, joined left to right.
    std::u16string TextAt(float y) const
    {
        std::u16string text;
        const KeystrelEngine::GUIWindow& window = *Get().GetWindow();
        for (std::uint32_t i = 0; i < window.GetTextCount(); ++i)
            text += window.GetTextRecord(i).position.y == y ? window.GetTextRecord(i).text : u"";
        return text;
    }

    GUITesting::EnginePlatform platform{true, true};
    std::unique_ptr<KeystrelEngine::Engine> engine;
};

TEST_F(ConsoleTest, VariablesTakeTheArgumentsAsDefaultsASavedValueWinsAndASecondConsoleIsRefused)
{
    Create();
    KeystrelEngine::Config& config = *engine->m_config;
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{{"ui_console_alpha", "0.9500"},
                                                                                      {"ui_console_size", "308.0000"},
                                                                                      {"ui_console_speed", "1000.0000"},
                                                                                      {"ui_console_key", "~"},
                                                                                      {"say", ""}})
        EXPECT_EQ(config.GetDefaultValue(name), value) << name;
    engine->CreateConsole("other", {}, 1, "F1", 0.5f, 100.0f, 10.0f);
    EXPECT_EQ(config.GetValue("ui_console_size"), "308.000000");
    EXPECT_NE(engine->m_log->m_history.back().text.find("Error: The console exists already!"), std::string::npos);
    config.Execute("say hi");
    engine.reset();
    const TestSupport::Bytes bytes = TestSupport::ReadFile(TestSupport::BaseFolder() + "/Quellhaven.ini");
    const std::string saved(bytes.begin(), bytes.end());
    for (const std::string line : {"ui_console_alpha 0.950000", "ui_console_size 308.000000",
                                   "ui_console_speed 1000.000000", "ui_console_key ~"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
    EXPECT_EQ(saved.find("say"), std::string::npos);

    // Out-of-range arguments and sound ones alike leave the saved values in place.
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/Quellhaven.ini",
                           std::string("ui_console_alpha 0.5\nui_console_size 200\nui_console_speed 300\n"));
    for (const auto& [alpha, size, speed] : {std::tuple{1.5f, 900.0f, -5.0f}, std::tuple{0.95f, 308.0f, 1000.0f}}) {
        Create(alpha, size, speed);
        EXPECT_EQ(engine->m_config->GetValue("ui_console_alpha"), "0.500000");
        EXPECT_EQ(engine->m_config->GetValue("ui_console_size"), "200.000000");
        EXPECT_EQ(engine->m_config->GetValue("ui_console_speed"), "300.000000");
        // Deleted, the console takes its window and input line out of the GUI and lets go of its variables.
        engine->m_console.reset();
        EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount() + engine->m_gui->m_editBoxes.GetLiveCount(), 0u);
        EXPECT_EQ(engine->m_config->Execute("ui_console_alpha 0.7"), KeystrelEngine::Config::ResultUnknownName);
        engine->m_settings.saveConfigOnExit = false;
        engine.reset();
    }
}

TEST_F(ConsoleTest, SlidesDownAtItsSpeedUntilItsSizeShowsAndBackUpFromWhereItIs)
{
    Console& console = Create();
    EXPECT_TRUE(console.GetState() == Console::StateClosed && !console.GetWindow()->IsVisible() && Y() == 600.0f);
    // 308 / 1000 seconds: seven frames of 0.04 are not enough, the eighth is.
    Toggle();
    Frame(5);
    EXPECT_TRUE(console.GetState() == Console::StateOpening && console.GetWindow()->IsVisible());
    EXPECT_NEAR(Y(), 320.0f, 0.01f);
    EXPECT_FALSE(console.GetInput()->m_active);
    Frame();
    EXPECT_TRUE(console.GetState() == Console::StateOpen && Y() == 292.0f && console.GetInput()->m_active);
    const KeystrelEngine::Color colour = console.GetWindow()->GetColour();
    EXPECT_TRUE(colour.r == 1.0f && colour.g == 1.0f && colour.b == 1.0f);
    EXPECT_NEAR(colour.a, 0.95f, 0.5f / 255.0f);

    engine->m_config->Execute("ui_console_size 400");
    Frame();
    EXPECT_TRUE(Y() == 200.0f && console.GetWindow()->m_size.height == 400.0f);

    Press(kPageUp);
    Toggle();
    Frame(7);
    EXPECT_TRUE(console.GetState() == Console::StateClosing && !console.GetInput()->m_active);
    EXPECT_NEAR(Y(), 560.0f, 0.01f);
    EXPECT_EQ(console.m_scrollBack, 1u);
    Frame(2);
    EXPECT_TRUE(console.GetState() == Console::StateClosed && !console.GetWindow()->IsVisible() && Y() == 600.0f);
    EXPECT_EQ(console.m_scrollBack, 0u);

    // Partway down, the key turns it back up from where it is.
    Toggle();
    Frame();
    Toggle();
    EXPECT_EQ(console.GetState(), Console::StateClosing);
    EXPECT_NEAR(Y(), 560.0f, 0.01f);
    Frame(2);
    EXPECT_EQ(console.GetState(), Console::StateClosed);
}

TEST_F(ConsoleTest, LinesAreEchoedInBlueStoredWithTheirBackslashAndAnswered)
{
    Create();
    Open();
    const std::vector<std::pair<std::u16string, std::vector<std::u16string>>> cases = {
        {u"v_gamma 1.5", {u"b:]\\v_gamma 1.5|"}},
        {u"\\foo", {u"b:]\\foo|", u"w:Unknown command \"", u"w:foo", u"w:\"|"}},
        {u"V_MODE",
         {u"b:]\\V_MODE|", u"w:\"", u"w:v_mode", u"w:\" is \"", u"w:640x480x32", u"w:\", default is \"",
          u"w:640x480x32", u"w:\"|"}},
        {u"say", {u"b:]\\say|"}},
        {u"say hello", {u"b:]\\say hello|", u"w:Wendle", u"w:: \"", u"G:hello", u"w:\"|"}},
        {u"", {}},
        {u"   ", {}},
        {u"\\", {}},
    };
    for (const auto& [line, pieces] : cases) {
        const std::size_t first = PieceCount();
        Enter(line);
        EXPECT_EQ(PiecesFrom(first), pieces);
        EXPECT_EQ(Input(), line == u"\\" ? line : u""); // a backslash alone is not even taken
    }
    EXPECT_EQ(engine->m_config->v_gamma, 1.5f);
    EXPECT_EQ(Get().GetHistory(), (Rows{u"\\v_gamma 1.5", u"\\foo", u"\\V_MODE", u"\\say", u"\\say hello"}));

    // A burst typed within one frame is taken in its order: ENTER runs what stands before it, and ESCAPE empties
    // the line of what was typed before it only.
    Get().GetInput()->SetText(u"");
    const std::size_t first = PieceCount();
    const auto press = [](SDL_Scancode key) {
        PlatformTesting::InjectKey(key, true);
        PlatformTesting::InjectKey(key, false);
    };
    PlatformTesting::InjectText("say ab");
    press(SDL_SCANCODE_RETURN);
    PlatformTesting::InjectText("cd");
    press(SDL_SCANCODE_ESCAPE);
    PlatformTesting::InjectText("xy");
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&message);
    Frame();
    EXPECT_EQ(PiecesFrom(first), (Rows{u"b:]\\say ab|", u"w:Wendle", u"w:: \"", u"G:ab", u"w:\"|"}));
    EXPECT_EQ(Input(), u"xy");
}

TEST_F(ConsoleTest, HistoryWalksBetweenItsEndsAndTheOtherKeysEditAndScroll)
{
    Create();
    Open();
    Enter(u"a");
    Enter(u"\\b");
    EXPECT_EQ(Get().GetHistoryIndex(), 2u);
    for (const auto& [key, text] : std::vector<std::pair<Key, std::u16string>>{
             {kUp, u"\\b"}, {kUp, u"\\a"}, {kUp, u"\\a"}, {kDown, u"\\b"}, {kDown, u""}, {kUp, u"\\b"}}) {
        Press(key);
        EXPECT_EQ(Input(), text);
    }
    Press(kEscape);
    EXPECT_EQ(Input(), u"");

    // Two rows hidden: the scroll-back mark takes the lowest output row, and the third newest row shows above it.
    Press(kPageUp);
    Press(kPageUp);
    engine->Update();
    EXPECT_EQ(TextAt(2.0f), Get().GetTitle());
    EXPECT_EQ(TextAt(14.0f), u"]");
    EXPECT_EQ(TextAt(kFirstOutputRow), Get().GetScrollMark());
    EXPECT_EQ(TextAt(kFirstOutputRow + 12.0f), u"Unknown command \"a\"");
    engine->EndFrame();
    for (int i = 0; i < 3; ++i)
        Press(kPageDown);
    EXPECT_EQ(Get().m_scrollBack, 0u);

    // Under the input lock no key reaches the console.
    engine->m_controls->m_inputLock = true;
    for (const Key key : {kEnter, kEscape, kUp, kPageUp})
        Enter(u"\\c", key);
    EXPECT_EQ(Input(), u"\\c");
    EXPECT_TRUE(Get().GetHistory().size() == 2 && Get().m_scrollBack == 0);
}

TEST_F(ConsoleTest, TabCompletesOneNameListsSeveralAndKeepsTheTextOfNone)
{
    Create();
    Open();
    const std::size_t first = PieceCount();
    for (const auto& [typed, completed] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"sa", u"\\say "}, {u"\\sc_t", u"\\sc_take_screenshot"}, {u"zzz", u"\\zzz"}}) {
        Enter(typed, kTab);
        EXPECT_EQ(Input(), completed);
    }
    EXPECT_EQ(PiecesFrom(first),
              (Rows{u"b:]\\sc_t|", u"w:    \\sc_take_screenshot|", u"w:    \\sc_take_screenshot_format|",
                    u"w:    \\sc_take_screenshot_jpg|", u"w:    \\sc_take_screenshot_tga|"}));
    EXPECT_TRUE(Get().GetHistory().empty());
}

TEST_F(ConsoleTest, OutputShowsTheLogByKindWrapsWithoutLosingACharacterAndStopsAtTheWindowsTop)
{
    Console& console = Create();
    std::size_t first = PieceCount();
    engine->m_log->Message("plain");
    engine->m_log->Warning("careful");
    engine->m_log->Error("broken");
    Frame();
    EXPECT_EQ(PiecesFrom(first),
              (Rows{u"w:plain|", u"g:|", u"g:Warning: careful!|", u"g:|", u"r:|", u"r:Error: broken!|", u"r:|"}));

    // 160 characters of 5 units fill a row of 800. '@' alone prints 1000 wide, and still takes a row of its own.
    first = PieceCount();
    std::u16string text;
    for (int i = 0; i < 400; ++i)
        text += static_cast<char16_t>(u'a' + i % 26);
    console.AddLine(text + u"\n@@x", {1, 1, 1, 1});
    EXPECT_EQ(RowsFrom(first), (Rows{text.substr(0, 160), text.substr(160, 160), text.substr(320), u"@", u"@"}));
    EXPECT_EQ(console.GetLines()[first].width, 800.0f);
    EXPECT_EQ(Describe(console.GetLines().back()), u"w:x");

    // Rows from 26 up, 12 apart, while their glyphs stay inside the window: up to 298 (or 90).
    for (int i = 0; i < 500; ++i)
        console.AddLine(u"row" + KeystrelEngine::FormatIntW(i) + u"\n", {1, 1, 1, 1});
    Open();
    for (const auto& [size, shown] : {std::pair{308.0f, 23u}, std::pair{100.0f, 6u}}) {
        engine->m_config->Execute("ui_console_size " + std::to_string(size));
        engine->Update();
        const KeystrelEngine::GUIWindow& window = *console.GetWindow();
        std::uint32_t rows = 0;
        for (std::uint32_t i = 0; i < window.GetTextCount(); ++i) {
            EXPECT_LE(window.GetTextRecord(i).position.y + kFontSize, size);
            rows += window.GetTextRecord(i).text.starts_with(u"row") ? 1 : 0;
        }
        EXPECT_EQ(rows, shown);
        EXPECT_EQ(TextAt(kFirstOutputRow), u"row499");
        engine->EndFrame();
    }
}

} // namespace
