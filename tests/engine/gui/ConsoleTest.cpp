// The drop-down console of an engine on the recording device, made as the game shell makes it ("~", 0.95, 308,
// 1000) on an 800 x 600 GUI screen, with a font whose printable characters are 5 units wide and 10 high (a blank
// advances 10, '@' 1000) and a fake clock that moves 0.04 seconds a frame: its variables, the slide, executed
// lines and their replies, the history and the other keys, name completion, and the output rows.
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
#include "tests/engine/render/ModelFixture.h"
#include "tests/support/TestEnvironment.h"
#include "tools/formats/FontFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using KeystrelEngine::Color;
using KeystrelEngine::Console;
using KeystrelEngine::ConsoleLine;
using TestSupport::BaseFolder;

namespace {

constexpr std::uint16_t kTab = 0x09;
constexpr std::uint16_t kEnter = 0x0D;
constexpr std::uint16_t kEscape = 0x1B;
constexpr std::uint16_t kPageUp = 0x21;
constexpr std::uint16_t kPageDown = 0x22;
constexpr std::uint16_t kUp = 0x26;
constexpr std::uint16_t kDown = 0x28;

constexpr float kFrame = 0.04f;
constexpr float kFontSize = 10.0f;
constexpr float kLineHeight = 12.0f;
constexpr float kBottomMargin = 2.0f;

const Color kWhite{1, 1, 1, 1};
const Color kGrey{0.5f, 0.5f, 0.5f, 1};
const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 1};
const Color kGreen{0, 1, 0, 1};

bool Same(const Color& a, const Color& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

class ConsoleTest : public ::testing::Test
{
protected:
    ConsoleTest()
    {
        PlatformTesting::UseRecordingDevice(true);
        PlatformTesting::SetDisplayDrivers({});
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(1920, 1080);
        PlatformTesting::ResetInput();
        PlatformTesting::UseManualSoundOutput(22050);
        PlatformTesting::UseFakeClock();
    }

    ~ConsoleTest() override
    {
        engine.reset();
        PlatformTesting::UseManualSoundOutput(0);
        PlatformTesting::ForgetPresentedFrames();
        PlatformTesting::ClearFailures();
        PlatformTesting::SetDesktopSize(0, 0);
        PlatformTesting::UseRecordingDevice(false);
        PlatformTesting::UseRealClock();
    }

    // The engine with its GUI screen and font, then the console with the given arguments.
    Console& Create(float alpha = 0.95f, float size = 308.0f, float speed = 1000.0f)
    {
        KeystrelEngine::EngineSettings settings;
        settings.applicationName = "Quellhaven";
        settings.version = 100;
        settings.saveConfigOnExit = true;
        settings.configName = "Quellhaven";
        settings.dataFolder = "Data";
        settings.videoMode = "640x480x32";
        engine = std::make_unique<KeystrelEngine::Engine>(settings);
        engine->m_gui->m_camera->m_width = 800.0f;
        engine->m_gui->m_camera->m_height = 600.0f;
        std::vector<Formats::FontGlyph> glyphs;
        for (char16_t code = u'!'; code <= u'~'; ++code)
            glyphs.push_back({code, 0.0f, 0.0f, 0.01f, 0.01f, code == u'@' ? 100.0f : 0.5f});
        RenderTesting::WriteDataFile("ui\\fonts\\console.fnt", Formats::BuildFontFile(glyphs));
        engine->m_gui->m_fonts->LoadFont(1, "ui\\fonts\\console.fnt", KeystrelEngine::ShaderDescriptor())->m_size =
            kFontSize;
        engine->CreateConsole(engine->GetTitle(), KeystrelEngine::ShaderDescriptor(), 1, "~", alpha, size, speed);
        Frame();
        return *engine->m_console;
    }

    Console& Get() const { return *engine->m_console; }

    void Frame()
    {
        PlatformTesting::AdvanceFakeClock(kFrame);
        engine->Update();
        engine->EndFrame();
    }

    // A frame in which the game window holds the virtual key.
    void Press(std::uint16_t code)
    {
        engine->m_window->m_keyPending = true;
        engine->m_window->m_keyIsCharacter = false;
        engine->m_window->m_keyCode = code;
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
        for (int i = 0; i < 20 && Get().GetState() != Console::StateOpen; ++i)
            Frame();
        ASSERT_EQ(Get().GetState(), Console::StateOpen);
    }

    void Enter(const std::u16string& line)
    {
        Get().GetInput()->SetText(line);
        Press(kEnter);
    }

    float Y() const { return Get().GetWindow()->m_position.y; }
    const std::u16string& InputText() const { return Get().GetInput()->GetText(); }

    // The output as rows of text, the pieces of each row joined.
    std::vector<std::u16string> Rows() const
    {
        std::vector<std::u16string> rows(1);
        for (const ConsoleLine& line : Get().GetLines()) {
            rows.back() += line.text;
            if (line.lineEnd)
                rows.emplace_back();
        }
        if (rows.back().empty())
            rows.pop_back();
        return rows;
    }

    // The rows from the given one on.
    std::vector<std::u16string> RowsFrom(std::size_t first) const
    {
        const std::vector<std::u16string> all = Rows();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end()};
    }

    // This frame's text records of the console window at the height, joined left to right.
    std::u16string TextAt(float y) const
    {
        std::u16string text;
        const KeystrelEngine::GUIWindow& window = *Get().GetWindow();
        for (std::uint32_t i = 0; i < window.GetTextCount(); ++i) {
            if (window.GetTextRecord(i).position.y == y)
                text += window.GetTextRecord(i).text;
        }
        return text;
    }

    std::unique_ptr<KeystrelEngine::Engine> engine;
};

// Variables ---------------------------------------------------------------------------------------------------------

TEST_F(ConsoleTest, VariablesTakeTheArgumentsAsDefaultsAndASavedValueWinsOverAnyArgument)
{
    Create();
    KeystrelEngine::Config& config = *engine->m_config;
    const std::vector<std::pair<std::string, std::string>> defaults = {{"ui_console_alpha", "0.9500"},
                                                                       {"ui_console_size", "308.0000"},
                                                                       {"ui_console_speed", "1000.0000"},
                                                                       {"ui_console_key", "~"},
                                                                       {"say", ""}};
    for (const auto& [name, value] : defaults)
        EXPECT_EQ(config.GetDefaultValue(name), value) << name;
    config.Execute("say hi");
    engine.reset();
    const TestSupport::Bytes bytes = TestSupport::ReadFile(BaseFolder() + "/Quellhaven.ini");
    const std::string saved(bytes.begin(), bytes.end());
    for (const std::string line : {"ui_console_alpha 0.950000", "ui_console_size 308.000000",
                                   "ui_console_speed 1000.000000", "ui_console_key ~"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
    EXPECT_EQ(saved.find("say"), std::string::npos);

    // Out-of-range arguments and sound ones alike leave the saved values in place.
    TestSupport::WriteFile(BaseFolder() + "/Quellhaven.ini",
                           std::string("ui_console_alpha 0.5\nui_console_size 200\nui_console_speed 300\n"));
    for (const auto& [alpha, size, speed] : {std::tuple{1.5f, 900.0f, -5.0f}, std::tuple{0.95f, 308.0f, 1000.0f}}) {
        Create(alpha, size, speed);
        EXPECT_EQ(engine->m_config->GetValue("ui_console_alpha"), "0.500000");
        EXPECT_EQ(engine->m_config->GetValue("ui_console_size"), "200.000000");
        EXPECT_EQ(engine->m_config->GetValue("ui_console_speed"), "300.000000");
        engine->m_settings.saveConfigOnExit = false;
        engine.reset();
    }
}

TEST_F(ConsoleTest, ASecondConsoleIsRefusedWithAnErrorAndTheFirstStays)
{
    Console& first = Create();
    engine->CreateConsole("other", KeystrelEngine::ShaderDescriptor(), 1, "F1", 0.5f, 100.0f, 10.0f);
    EXPECT_EQ(engine->m_console.get(), &first);
    EXPECT_EQ(engine->m_config->GetValue("ui_console_key"), "~");
    bool logged = false;
    for (const auto& record : engine->m_log->m_history)
        logged = logged || (record.kind == KeystrelEngine::MessageManager::KindError &&
                            record.text.find("The console exists already") != std::string::npos);
    EXPECT_TRUE(logged);
    // The console's widgets leave the GUI with it.
    const std::size_t windows = engine->m_gui->m_windows.GetLiveCount();
    engine->m_console.reset();
    EXPECT_EQ(engine->m_gui->m_windows.GetLiveCount(), windows - 1);
    EXPECT_EQ(engine->m_gui->m_editBoxes.GetLiveCount(), 0u);
    EXPECT_EQ(engine->m_config->Execute("ui_console_alpha 0.5"), KeystrelEngine::Config::ResultUnknownName);
}

// Motion ------------------------------------------------------------------------------------------------------------

TEST_F(ConsoleTest, SlidesDownAtItsSpeedUntilItsSizeShowsAndBackUpFromWhereItIs)
{
    Console& console = Create();
    EXPECT_EQ(console.GetState(), Console::StateClosed);
    EXPECT_FALSE(console.GetWindow()->IsVisible());
    EXPECT_EQ(Y(), 600.0f);

    // 308 / 1000 seconds: seven frames of 0.04 are not enough, the eighth is.
    Toggle();
    EXPECT_EQ(console.GetState(), Console::StateOpening);
    EXPECT_TRUE(console.GetWindow()->IsVisible());
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_EQ(console.GetState(), Console::StateOpening);
    EXPECT_NEAR(Y(), 600.0f - 7 * 40.0f, 0.01f);
    EXPECT_FALSE(console.GetInput()->m_active);
    Frame();
    EXPECT_EQ(console.GetState(), Console::StateOpen);
    EXPECT_EQ(Y(), 600.0f - 308.0f);
    EXPECT_TRUE(console.GetInput()->m_active);
    const Color colour = console.GetWindow()->GetColour();
    EXPECT_TRUE(colour.r == 1.0f && colour.g == 1.0f && colour.b == 1.0f);
    EXPECT_NEAR(colour.a, 0.95f, 0.5f / 255.0f);

    engine->m_config->Execute("ui_console_size 400");
    Frame();
    EXPECT_EQ(Y(), 200.0f);
    EXPECT_EQ(console.GetWindow()->m_size.height, 400.0f);

    Press(kPageUp);
    Toggle();
    EXPECT_EQ(console.GetState(), Console::StateClosing);
    EXPECT_FALSE(console.GetInput()->m_active);
    EXPECT_NEAR(Y(), 280.0f, 0.01f);
    for (int i = 0; i < 7; ++i)
        Frame();
    EXPECT_EQ(console.GetState(), Console::StateClosing);
    EXPECT_EQ(console.m_scrollBack, 1u);
    Frame(); // at the top edge: closed past it
    Frame();
    EXPECT_EQ(console.GetState(), Console::StateClosed);
    EXPECT_EQ(Y(), 600.0f);
    EXPECT_FALSE(console.GetWindow()->IsVisible());
    EXPECT_EQ(console.m_scrollBack, 0u);

    // Halfway down, the key turns it back up from where it is.
    Toggle();
    Frame();
    EXPECT_NEAR(Y(), 480.0f, 0.01f);
    Toggle();
    EXPECT_EQ(console.GetState(), Console::StateClosing);
    EXPECT_NEAR(Y(), 560.0f, 0.01f);
    Frame();
    Frame();
    EXPECT_EQ(console.GetState(), Console::StateClosed);
}

// Execution ---------------------------------------------------------------------------------------------------------

TEST_F(ConsoleTest, LinesAreEchoedInBlueStoredWithTheirBackslashAndAnswered)
{
    Create();
    Open();
    struct Case
    {
        std::u16string line;
        std::vector<std::u16string> rows; // what the line adds to the output
    };
    const std::vector<Case> cases = {
        {u"v_gamma 1.5", {u"]\\v_gamma 1.5"}},
        {u"\\foo", {u"]\\foo", u"Unknown command \"foo\""}},
        {u"V_MODE", {u"]\\V_MODE", u"\"v_mode\" is \"640x480x32\", default is \"640x480x32\""}},
        {u"say", {u"]\\say"}},
    };
    for (const Case& c : cases) {
        const std::size_t rows = Rows().size();
        Enter(c.line);
        EXPECT_EQ(InputText(), u"");
        EXPECT_EQ(RowsFrom(rows), c.rows);
    }
    EXPECT_EQ(engine->m_config->v_gamma, 1.5f);
    EXPECT_EQ(Get().GetHistory(), (std::vector<std::u16string>{u"\\v_gamma 1.5", u"\\foo", u"\\V_MODE", u"\\say"}));

    // The chat line: the echo in blue, then the name and the said text in green between white quotes.
    const std::size_t pieces = Get().GetLines().size();
    Enter(u"say hello");
    const std::vector<ConsoleLine> lines(Get().GetLines().begin() + static_cast<std::ptrdiff_t>(pieces),
                                         Get().GetLines().end());
    const std::vector<std::tuple<std::u16string, Color, bool>> expected = {{u"]\\say hello", kBlue, true},
                                                                           {u"Wendle", kWhite, false},
                                                                           {u": \"", kWhite, false},
                                                                           {u"hello", kGreen, false},
                                                                           {u"\"", kWhite, true}};
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, std::get<0>(expected[i]));
        EXPECT_TRUE(Same(lines[i].colour, std::get<1>(expected[i]))) << i;
        EXPECT_EQ(lines[i].lineEnd, std::get<2>(expected[i])) << i;
    }

    // An empty line and a backslash alone do nothing; blanks alone are taken but leave no trace.
    const std::size_t history = Get().GetHistory().size();
    const std::size_t rows = Rows().size();
    for (const std::u16string line : {u"", u"\\", u"   "}) {
        Enter(line);
        EXPECT_EQ(InputText(), line == u"   " ? u"" : line);
    }
    EXPECT_EQ(Rows().size(), rows);
    EXPECT_EQ(Get().GetHistory().size(), history);
}

// History and keys --------------------------------------------------------------------------------------------------

TEST_F(ConsoleTest, HistoryWalksBetweenItsEndsAndTheOtherKeysEditAndScroll)
{
    Create();
    Open();
    Enter(u"a");
    Enter(u"\\b");
    EXPECT_EQ(Get().GetHistoryIndex(), 2u);
    const std::vector<std::pair<std::uint16_t, std::u16string>> walk = {{kUp, u"\\b"},   {kUp, u"\\a"}, {kUp, u"\\a"},
                                                                        {kDown, u"\\b"}, {kDown, u""},  {kUp, u"\\b"}};
    for (const auto& [key, text] : walk) {
        Press(key);
        EXPECT_EQ(InputText(), text);
    }
    Press(kEscape);
    EXPECT_EQ(InputText(), u"");

    // The rows are "]\a", "Unknown command "a"", "]\b", "Unknown command "b"" from the top; the output starts
    // two rows above the bottom margin, three with the scroll-back mark.
    const float output = kBottomMargin + 2 * kLineHeight;
    engine->Update();
    EXPECT_EQ(TextAt(output), u"Unknown command \"b\"");
    EXPECT_EQ(TextAt(kBottomMargin), Get().GetTitle());
    EXPECT_EQ(TextAt(kBottomMargin + kLineHeight), u"]");
    engine->EndFrame();
    Press(kPageUp);
    Press(kPageUp);
    engine->Update();
    EXPECT_EQ(TextAt(output), Get().GetScrollMark());
    EXPECT_EQ(TextAt(output + kLineHeight), u"Unknown command \"a\"");
    engine->EndFrame();
    for (int i = 0; i < 3; ++i)
        Press(kPageDown);
    EXPECT_EQ(Get().m_scrollBack, 0u);

    // Under the input lock no key reaches the console.
    Get().GetInput()->SetText(u"\\c");
    engine->m_controls->m_inputLock = true;
    for (const std::uint16_t key : {kEnter, kEscape, kUp, kPageUp})
        Press(key);
    EXPECT_EQ(InputText(), u"\\c");
    EXPECT_EQ(Get().GetHistory().size(), 2u);
    EXPECT_EQ(Get().m_scrollBack, 0u);
}

// Completion --------------------------------------------------------------------------------------------------------

TEST_F(ConsoleTest, TabCompletesOneNameListsSeveralAndKeepsTheTextOfNone)
{
    Create();
    Open();
    Get().GetInput()->SetText(u"sa");
    Press(kTab);
    EXPECT_EQ(InputText(), u"\\say ");

    const std::size_t rows = Rows().size();
    Get().GetInput()->SetText(u"\\sc_t");
    Press(kTab);
    EXPECT_EQ(InputText(), u"\\sc_take_screenshot");
    EXPECT_EQ(RowsFrom(rows),
              (std::vector<std::u16string>{u"]\\sc_t", u"    \\sc_take_screenshot", u"    \\sc_take_screenshot_format",
                                           u"    \\sc_take_screenshot_jpg", u"    \\sc_take_screenshot_tga"}));
    EXPECT_TRUE(Same(Get().GetLines()[rows].colour, kBlue));
    EXPECT_TRUE(Same(Get().GetLines().back().colour, kWhite));

    Get().GetInput()->SetText(u"zzz");
    Press(kTab);
    EXPECT_EQ(InputText(), u"\\zzz");
    EXPECT_EQ(Rows().size(), rows + 5);
    EXPECT_TRUE(Get().GetHistory().empty());
}

// Output ------------------------------------------------------------------------------------------------------------

TEST_F(ConsoleTest, LogMessagesWrittenWhileClosedShowOnOpeningInTheColourOfTheirKind)
{
    Create();
    const std::size_t pieces = Get().GetLines().size();
    engine->m_log->Message("plain");
    engine->m_log->Warning("careful");
    engine->m_log->Error("broken");
    Frame();
    EXPECT_EQ(Get().GetState(), Console::StateClosed);
    std::vector<std::pair<std::u16string, Color>> shown;
    for (std::size_t i = pieces; i < Get().GetLines().size(); ++i) {
        if (!Get().GetLines()[i].text.empty())
            shown.emplace_back(Get().GetLines()[i].text, Get().GetLines()[i].colour);
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[0].first == u"plain" && Same(shown[0].second, kWhite));
    EXPECT_TRUE(shown[1].first == u"Warning: careful!" && Same(shown[1].second, kGrey));
    EXPECT_TRUE(shown[2].first == u"Error: broken!" && Same(shown[2].second, kRed));

    Open();
    engine->Update();
    // The error's text is followed by an empty row.
    EXPECT_EQ(TextAt(kBottomMargin + 3 * kLineHeight), u"Error: broken!");
    engine->EndFrame();
}

TEST_F(ConsoleTest, WideTextWrapsWithoutLosingACharacterAndAWideCharacterTakesARowOfItsOwn)
{
    Console& console = Create();
    const std::size_t rows = Rows().size();
    // 160 characters of 5 units fill a row of 800.
    std::u16string text;
    for (int i = 0; i < 400; ++i)
        text += static_cast<char16_t>(u'a' + i % 26);
    console.AddLine(text + u"\n", kWhite);
    EXPECT_EQ(RowsFrom(rows),
              (std::vector<std::u16string>{text.substr(0, 160), text.substr(160, 160), text.substr(320)}));
    EXPECT_EQ(console.GetLines()[console.GetLines().size() - 2].width, 800.0f);

    // '@' alone prints 1000 wide: each one still makes progress as a row of its own.
    console.AddLine(u"@@x", kWhite);
    EXPECT_EQ(RowsFrom(rows + 3), (std::vector<std::u16string>{u"@", u"@", u"x"}));
    EXPECT_FALSE(console.GetLines().back().lineEnd);
}

TEST_F(ConsoleTest, OutputRowsStopAtTheWindowsTopEdge)
{
    Console& console = Create();
    for (int i = 0; i < 500; ++i)
        console.AddLine(u"row" + KeystrelEngine::FormatIntW(i) + u"\n", kWhite);
    Open();
    for (const float size : {308.0f, 100.0f}) {
        engine->m_config->Execute("ui_console_size " + std::to_string(size));
        engine->Update();
        const KeystrelEngine::GUIWindow& window = *console.GetWindow();
        std::uint32_t outputRows = 0;
        for (std::uint32_t i = 0; i < window.GetTextCount(); ++i) {
            const KeystrelEngine::GUITextRecord& record = window.GetTextRecord(i);
            EXPECT_LE(record.position.y + kFontSize, size) << KeystrelEngine::ToNarrow(record.text);
            outputRows += record.text.starts_with(u"row") ? 1 : 0;
        }
        // Rows from 26 up to 298 (or 90) in steps of 12.
        EXPECT_EQ(outputRows, size == 308.0f ? 23u : 6u);
        EXPECT_EQ(TextAt(kBottomMargin + 2 * kLineHeight), u"row499");
        engine->EndFrame();
    }
}

} // namespace
