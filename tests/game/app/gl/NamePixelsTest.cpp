// A player's name on the GL back end at 800 x 600, in each of the six languages: the widest name the first start's
// name box takes, typed in the widest character the language's keyboard can type, stays clear of what stands beside
// it in the main menu's greeting, the profile list, the delete question and the high-score table beside the highest
// score. Each place is drawn, then drawn again without texts: the name's pixels are where the two differ.
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "framework/HighScoresTable.h"
#include "game/app/GUIDeleteProfileWindow.h"
#include "game/app/GUIHighScoresWindow.h"
#include "game/app/GUIMainMenuWindow.h"
#include "game/app/GUIProfilesWindow.h"
#include "game/app/GUIWelcomeWindow.h"
#include "platform/win32/Win32.h"
#include "tests/game/app/MenuWindowFixture.h"
#include "tests/game/app/gl/AppPixelFixture.h"

#include <algorithm>
#include <limits>
#include <string>

using KeystrelEngine::GUIRect;
using KeystrelEngine::GUITextRecord;
using KeystrelEngine::GUIWindow;

namespace {

using namespace AppTesting;

constexpr float kScoreGap = 4.0f; // at the least between a name's pixels and its score's
constexpr float kRimLine = 4.0f;  // how far a frame's inner line reaches into its text area

struct NameLanguage
{
    const char* code;
    UINT codePage; // of the language's keyboard

    friend void PrintTo(const NameLanguage& language, std::ostream* out) { *out << language.code; }
};

std::string Utf8(char16_t unit)
{
    if (unit < 0x80)
        return {static_cast<char>(unit)};
    if (unit < 0x800)
        return {static_cast<char>(0xC0 | unit >> 6), static_cast<char>(0x80 | (unit & 0x3F))};
    return {static_cast<char>(0xE0 | unit >> 12), static_cast<char>(0x80 | (unit >> 6 & 0x3F)),
            static_cast<char>(0x80 | (unit & 0x3F))};
}

// The columns of the window's hit area (of the window without one) on the screen.
std::pair<float, float> Columns(const GUIWindow& window)
{
    const GUIRect area = window.m_hasHitArea ? window.m_hitArea : GUIRect{0.0f, 0.0f, window.m_size.width, 0.0f};
    const float left = window.GetAbsolutePosition().x + area.x;
    return {left, left + area.width};
}

class NamePixels : public AppPixelFixture<MenuWindowFixture>, public ::testing::WithParamInterface<NameLanguage>
{
protected:
    NamePixels()
    {
        language = GetParam().code;
        PlatformTesting::SetAnsiCodePage(GetParam().codePage);
    }
    ~NamePixels() override { PlatformTesting::SetAnsiCodePage(1252); }

    // The widest glyph of the name box's font that the keyboard's code page has (not always a letter), typed into
    // the first start's name box a key a frame until the box takes no more.
    std::u16string WidestName()
    {
        const KeystrelEngine::GUIFont& font = *engine->m_gui->m_fonts->FindFont(Wispfold::GUIControl::kEditFont);
        char16_t widest = u'W';
        for (const auto& [code, glyph] : font.GetGlyphs()) {
            char byte = 0;
            if (code > u' ' && KeystrelEngine::ToNarrowChar(code, byte) &&
                glyph.width > font.GetGlyphs().at(widest).width)
                widest = code;
        }
        Wispfold::GUIWelcomeWindow welcome(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                           data->GetChildWindow());
        welcome.Open();
        OpenFully(welcome);
        for (int typed = 0; typed <= Wispfold::GUIControl::kEditMaxLength; ++typed)
            Type(welcome, Utf8(widest));
        const std::u16string name = welcome.GetEntry().GetEditBox()->GetEditBox()->GetText();
        Leave(welcome);
        return name;
    }

    // Where the record was printed on the screen, as the font manager places it.
    GUIRect Printed(const GUIWindow& window, const GUITextRecord& record) const
    {
        const KeystrelEngine::GUIFontManager& fonts = *engine->m_gui->m_fonts;
        const KeystrelEngine::GUIPoint start =
            fonts.PrintInWindow(record.fontId, window, record.text, record.flags, record.angle, record.position);
        const KeystrelEngine::TextBounds bounds = fonts.FindFont(record.fontId)->MeasureText(record.text, 0.0f, -1.0f);
        return {start.x + bounds.minX, start.y + bounds.minY, bounds.maxX - bounds.minX, bounds.maxY - bounds.minY};
    }

    const GUITextRecord& FirstText(const GUIWindow& widget) const
    {
        EXPECT_FALSE(Texts(&widget).empty());
        return Texts(&widget).front();
    }

    // The screen as the last frame drew it, and drawn again without texts: in the rows of the name's record the
    // texts changed pixels inside the name's room and none between the edges and the room, and the record was
    // printed inside the room.
    void ExpectNameClear(const std::string& place, const GUIWindow& window, const GUITextRecord& record,
                         std::pair<float, float> room, std::pair<float, float> edges)
    {
        const KeystrelEngine::Image drawn = Grab(language + "_" + place + ".bmp");
        const KeystrelEngine::Image bare = RedrawnScreen(
            *engine, [] {}, language + "_" + place + "_bare.bmp");
        const GUIRect printed = Printed(window, record);
        const auto changed = [&](float from, float to) {
            return ChangedPixels(drawn, bare,
                                 OnScreen(*engine, {from, printed.y - 2.0f, to - from, printed.height + 4.0f}));
        };
        EXPECT_GT(changed(room.first, room.second), 50) << place << ": the name is drawn";
        EXPECT_EQ(changed(edges.first, room.first), 0) << place << ": left of its room";
        EXPECT_EQ(changed(room.second, edges.second), 0) << place << ": right of its room";
        EXPECT_GE(printed.x, room.first) << place;
        EXPECT_LE(printed.x + printed.width, room.second) << place;
    }

    void Show(Wispfold::GUIMenuWindow& window)
    {
        OpenFully(window);
        Step(window);
    }

    void Leave(Wispfold::GUIMenuWindow& window)
    {
        window.CloseFrame();
        RunUntilGone(window);
    }
};

TEST_P(NamePixels, TheWidestNameStaysClearOfWhatStandsBesideIt)
{
    const std::u16string name = WidestName();
    ASSERT_GT(name.size(), 5u);
    ASSERT_LE(name.size(), static_cast<std::size_t>(Wispfold::GUIControl::kEditMaxLength));
    profiles->m_current = profiles->AddProfile(name);
    profiles->AddProfile(u"Ann");
    using namespace Wispfold;

    // The greeting keeps off the line of the main-menu frame's rim, on the edges of the frame's text area.
    GUIMainMenuWindow menu(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                           data->GetChildWindow());
    menu.Open();
    Show(menu);
    for (int frame = 0; frame < 80 && !background->printer->IsFinished(); ++frame)
        Step(menu);
    const GUIWindow& title = *background->titleArea;
    const GUIRect area = menu.GetFrameWidget()->GetTextArea();
    const float areaLeft = menu.GetFrameWidget()->GetAbsolutePosition().x + area.x;
    ExpectNameClear("greeting", title, FirstText(title), {areaLeft + kRimLine, areaLeft + area.width - kRimLine},
                    {0.0f, 800.0f});
    Leave(menu);

    // On its button, clear of the buttons on its left and the scroll on its right.
    GUIProfilesWindow list(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                           data->GetChildWindow());
    list.Open();
    Show(list);
    const GUIWindow& button = *list.GetNameButton(0);
    ExpectNameClear("profiles", button, FirstText(button), Columns(button),
                    {Columns(*list.GetButton(GUIProfilesWindow::New)->GetWidget()).second,
                     Columns(*list.GetScroll()->GetWidget()).second});
    Leave(list);

    // The line with the name inside the frame's text area. The widest name fits it in every language; one twice as
    // long, as a profile list written by hand may hold, is shortened.
    GUIDeleteProfileWindow question(engine.get(), player.get(), profiles.get(), data.get(), manager.get(),
                                    data->GetChildWindow());
    question.Open(name + name);
    Show(question);
    const GUIWindow& frame = *question.GetFrameWidget();
    const auto named = std::ranges::find_if(
        Texts(&frame), [](const GUITextRecord& record) { return record.text.find(u'"') != std::u16string::npos; });
    ASSERT_NE(named, Texts(&frame).end()) << "no line quotes the name";
    const float frameLeft = frame.GetAbsolutePosition().x + frame.GetTextArea().x;
    ExpectNameClear("delete", frame, *named, {frameLeft, frameLeft + frame.GetTextArea().width}, {0.0f, 800.0f});
    Leave(question);

    // Picked out after a game, beside the highest score there can be, the name ends before the score.
    GameFramework::HighScoresTable table(engine->m_log.get(), engine->m_files.get(), userFolder);
    table.Clear();
    const GameFramework::HighScoreEntry* entry = table.Add(name, std::numeric_limits<std::uint32_t>::max());
    table.Add(u"Ann", 1000);
    GUIHighScoresWindow scores(engine.get(), player.get(), profiles.get(), data.get(), &table, manager.get(),
                               data->GetChildWindow());
    scores.Open(GUIHighScoresWindow::kModeGameOver, entry);
    Show(scores);
    const GUIWindow& names = *scores.GetColumn(GUIHighScoresWindow::Name);
    const GUIWindow& values = *scores.GetColumn(GUIHighScoresWindow::Score);
    const float scoreLeft = Printed(values, FirstText(values)).x;
    const float namesLeft = Columns(names).first;
    ExpectNameClear("high_scores", names, FirstText(names), {namesLeft, scoreLeft - kScoreGap},
                    {namesLeft - kScoreGap, scoreLeft});
}

INSTANTIATE_TEST_SUITE_P(AllSix, NamePixels,
                         ::testing::Values(NameLanguage{"en", 1252}, NameLanguage{"ru", 1251}, NameLanguage{"ge", 1252},
                                           NameLanguage{"fr", 1252}, NameLanguage{"it", 1252},
                                           NameLanguage{"sp", 1252}),
                         ::testing::PrintToStringParamName());

} // namespace
