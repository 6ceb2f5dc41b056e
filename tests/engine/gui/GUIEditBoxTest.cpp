// Edit boxes on the recording device with a font of 10-unit glyphs: typing in insert and overwrite mode against
// both limits, the editing keys and the scrolling they cause, the full box's BACK, the many keys of a frame, the
// boxes that ignore keys, the blinking caret, the text's colour, and the texts of the frame.
#include "engine/gui/GUIEditBox.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Timer.h"
#include "tests/engine/gui/WidgetFixture.h"

using GUITesting::Glyph;
using KeystrelEngine::GUIEditBox;

namespace {

constexpr std::uint16_t kBack = 0x08;
constexpr std::uint16_t kEnd = 0x23;
constexpr std::uint16_t kHome = 0x24;
constexpr std::uint16_t kLeft = 0x25;
constexpr std::uint16_t kRight = 0x27;
constexpr std::uint16_t kInsert = 0x2D;
constexpr std::uint16_t kDelete = 0x2E;
constexpr std::uint16_t kF1 = 0x70;

const std::u16string kTwenty = u"ABCDEABCDEABCDEABCDE";

struct KeyStep
{
    std::uint16_t code;
    bool character;
    std::u16string text; // after the key
    std::int32_t caret;
    std::int32_t scroll;
    bool changed; // sound 12
};

KeyStep Char(char16_t c, std::u16string text, std::int32_t caret, std::int32_t scroll, bool changed)
{
    return {static_cast<std::uint16_t>(c), true, std::move(text), caret, scroll, changed};
}

KeyStep Key(std::uint16_t code, std::u16string text, std::int32_t caret, std::int32_t scroll, bool changed = false)
{
    return {code, false, std::move(text), caret, scroll, changed};
}

class GUIEditBoxTest : public GUITesting::WidgetFixture
{
protected:
    void SetUp() override
    {
        WidgetFixture::SetUp();
        KeystrelEngine::GUIFont* font = LoadFont(
            1, {Glyph(u'A', 1), Glyph(u'B', 1), Glyph(u'C', 1), Glyph(u'D', 1), Glyph(u'E', 1), Glyph(u'_', 1)});
        font->m_size = 10.0f;
        controls =
            std::make_unique<KeystrelEngine::Controls>(&services.log, timers.get(), &services.config, window.get());
    }

    void TearDown() override
    {
        controls.reset();
        WidgetFixture::TearDown();
    }

    // Five characters print in 50 units, four with the caret.
    std::unique_ptr<GUIEditBox> Box(std::int32_t maxLength, float maxTextWidth = 1000.0f, float visibleWidth = 50.0f,
                                    const KeystrelEngine::Model* source = nullptr,
                                    KeystrelEngine::GUIWindow* parent = nullptr)
    {
        return std::make_unique<GUIEditBox>(gui, timers.get(), controls.get(), guiSounds.get(),
                                            GUIEditBox::kShown | GUIEditBox::kColouredQuad,
                                            KeystrelEngine::GUIPoint{100, 100}, KeystrelEngine::GUISize{200, 30},
                                            source, parent, 1, KeystrelEngine::Color{0.2f, 0.4f, 0.6f, 0.8f},
                                            KeystrelEngine::GUIPoint{4, 6}, maxLength, maxTextWidth, visibleWidth);
    }

    // One frame: the key event (if any), the update, then the draw that prints and forgets the texts.
    bool Frame(GUIEditBox& box, const KeyStep* key = nullptr)
    {
        if (key)
            window->AddKeyEvent(key->code, key->character);
        const bool result = box.Update(0, 0, false, false);
        controls->EndFrame();
        texts.clear();
        for (std::uint32_t i = 0; i < box.GetTextCount(); ++i)
            texts.push_back(box.GetTextRecord(i));
        box.Draw();
        fonts->EndFrame();
        return result;
    }

    void Run(GUIEditBox& box, const std::vector<KeyStep>& steps)
    {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const KeyStep& step = steps[i];
            Frame(box, &step);
            EXPECT_EQ(box.GetText(), step.text) << "step " << i;
            EXPECT_EQ(box.GetCaret(), step.caret) << "step " << i;
            EXPECT_EQ(box.GetScroll(), step.scroll) << "step " << i;
            EXPECT_EQ(TakeSounds(), step.changed ? std::vector<std::uint32_t>{12} : std::vector<std::uint32_t>{})
                << "step " << i;
        }
    }

    // Moves the clock on to the given point of the master timer's 0.4-second blink intervals, counted from an even
    // interval ahead.
    void ClockAt(double intervals)
    {
        const double now = timers->m_masterTimer->GetPreciseTime();
        const double target = (2.0 * (std::floor(now / 0.8) + 1.0) + intervals) * 0.4;
        PlatformTesting::AdvanceFakeClock(target - now);
    }

    std::unique_ptr<KeystrelEngine::Controls> controls;
    std::vector<KeystrelEngine::GUITextRecord> texts; // of the last frame
};

TEST_F(GUIEditBoxTest, AFullBoxHoldsItsCaretOnTheLastCharacterAndRefusesInsertsButNotOverwrites)
{
    const auto box = Box(3);
    box->SetText(u"ABC");
    EXPECT_EQ(box->GetCaret(), 2);
    Run(*box, {
                  Key(kBack, u"AB", 2, 0, true), // the character under the held caret
                  Char(u'C', u"ABC", 2, 0, true),
                  Char(u'D', u"ABC", 2, 0, false), // full
                  Key(kInsert, u"ABC", 2, 0),
                  Char(u'D', u"ABD", 2, 0, true), // overwrites the last character, the caret held
                  Key(kHome, u"ABD", 0, 0),
                  Char(u'E', u"EBD", 1, 0, true),
                  Char(u'A', u"EAD", 2, 0, true),
                  Key(kInsert, u"EAD", 2, 0),
                  Key(kLeft, u"EAD", 1, 0),
                  Char(u'B', u"EAD", 1, 0, false),
              });
}

TEST_F(GUIEditBoxTest, BackInABoxThatIsNotFullRemovesTheCharacterBeforeTheCaret)
{
    const auto box = Box(10);
    box->SetText(u"ABC");
    Run(*box, {
                  Key(kLeft, u"ABC", 2, 0),
                  Key(kBack, u"AC", 1, 0, true), // the caret on the last character: B goes, not C
                  Key(kBack, u"C", 0, 0, true),
                  Key(kBack, u"C", 0, 0, false),
              });
}

TEST_F(GUIEditBoxTest, CharactersNeedAGlyphOrAreTheSpaceAndKeepToBothLimits)
{
    const auto box = Box(10, 35.0f);
    Run(*box, {
                  Char(u'Z', u"", 0, 0, false), // no glyph
                  Char(u'A', u"A", 1, 0, true),
                  Char(u' ', u"A ", 2, 0, true),
                  Char(u'B', u"A B", 3, 0, true),
                  Char(u'C', u"A B", 3, 0, false), // 40 units would exceed the widest text
                  Char(u' ', u"A B", 3, 0, false), // and so would a trailing blank
                  Key(kF1, u"A B", 3, 0),          // keys that do nothing
                  Key(kRight, u"A B", 3, 0),
                  Key(kDelete, u"A B", 3, 0),
                  Key(kLeft, u"A B", 2, 0),
                  Key(kDelete, u"A ", 2, 0, true),
                  Key(kHome, u"A ", 0, 0),
                  Key(kLeft, u"A ", 0, 0),
                  Key(kBack, u"A ", 0, 0),
                  Key(kRight, u"A ", 1, 0),
                  Key(kEnd, u"A ", 2, 0),
              });
}

TEST_F(GUIEditBoxTest, TheViewFollowsTheCaretByFiveCharactersAtATime)
{
    const auto box = Box(30);
    box->SetText(kTwenty);
    EXPECT_EQ(box->GetCaret(), 20);
    EXPECT_EQ(box->GetScroll(), 16) << "four characters and the caret fill the view";
    Frame(*box);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"BCDE");
    Run(*box, {
                  Key(kLeft, kTwenty, 19, 16),
                  Key(kLeft, kTwenty, 18, 16),
                  Key(kLeft, kTwenty, 17, 16),
                  Key(kLeft, kTwenty, 16, 12), // onto the first visible character: five back, then one on
                  Key(kHome, kTwenty, 0, 0),
              });
    EXPECT_EQ(texts[0].text, u"ABCDE") << "from the first visible character as many as fit";
    Run(*box, {
                  Key(kRight, kTwenty, 1, 0),
                  Key(kRight, kTwenty, 2, 0),
                  Key(kRight, kTwenty, 3, 0),
                  Key(kRight, kTwenty, 4, 0),
                  Key(kRight, kTwenty, 5, 5), // the caret leaves the view: five on
                  Key(kEnd, kTwenty, 20, 16),
                  Key(kBack, kTwenty.substr(0, 19), 19, 16, true),
                  Key(kBack, kTwenty.substr(0, 18), 18, 16, true),
                  Key(kBack, kTwenty.substr(0, 17), 17, 16, true),
                  Key(kBack, kTwenty.substr(0, 16), 16, 12, true),
              });
    // Typing at the end: the view moves on by at most five and no further than the view of the end.
    box->SetText(u"ABC");
    Run(*box, {Char(u'D', u"ABCD", 4, 0, true), Char(u'E', u"ABCDE", 5, 1, true)});
}

TEST_F(GUIEditBoxTest, AViewNarrowerThanTheCaretStopsScrollingAtTheCaret)
{
    const auto box = Box(30, 1000.0f, 5.0f);
    box->SetText(u"ABCDE");
    EXPECT_EQ(box->GetScroll(), 5);
    Run(*box, {Key(kLeft, u"ABCDE", 4, 4), Key(kHome, u"ABCDE", 0, 0), Key(kRight, u"ABCDE", 1, 1),
               Char(u'A', u"AABCDE", 2, 2, true)});
    Frame(*box);
    ASSERT_EQ(texts.size(), 1u) << "no visible character fits, the caret still shows";
    EXPECT_EQ(texts[0].text, u"_");
}

// A fast typist fills one frame with capitals (Shift held), an erased letter and a step back: the box takes
// every key in the order typed, the key-downs of the letters and of Shift changing nothing.
TEST_F(GUIEditBoxTest, EveryKeyOfAFrameReachesTheBoxInOrderAndOnlyOnce)
{
    const auto box = Box(10, 1000.0f, 1000.0f);
    const auto letter = [](SDL_Scancode key, const char* text) {
        PlatformTesting::InjectKey(key, true);
        PlatformTesting::InjectText(text);
        PlatformTesting::InjectKey(key, false);
    };
    PlatformTesting::InjectKey(SDL_SCANCODE_LSHIFT, true);
    letter(SDL_SCANCODE_A, "A");
    letter(SDL_SCANCODE_B, "B");
    letter(SDL_SCANCODE_C, "C");
    PlatformTesting::InjectKey(SDL_SCANCODE_BACKSPACE, true);
    letter(SDL_SCANCODE_D, "D");
    letter(SDL_SCANCODE_E, "E");
    PlatformTesting::InjectKey(SDL_SCANCODE_LEFT, true);
    letter(SDL_SCANCODE_A, "A");
    PlatformTesting::InjectKey(SDL_SCANCODE_LSHIFT, false);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    Frame(*box);
    EXPECT_EQ(box->GetText(), u"ABDAE");
    EXPECT_EQ(box->GetCaret(), 4);
    Frame(*box);
    EXPECT_EQ(box->GetText(), u"ABDAE");
    EXPECT_EQ(TakeSounds(), std::vector<std::uint32_t>{12});
}

TEST_F(GUIEditBoxTest, HiddenInactiveAndInputLockedBoxesIgnoreKeys)
{
    const auto parent = Window(0, {0, 0}, {800, 600});
    const auto hidden = Box(10, 1000.0f, 50.0f, nullptr, parent.get());
    const KeyStep a = Char(u'A', u"A", 1, 0, true);
    EXPECT_FALSE(Frame(*hidden, &a));
    EXPECT_EQ(hidden->GetText(), u"");

    const auto box = Box(10);
    box->SetText(u"B");
    controls->m_inputLock = true;
    EXPECT_TRUE(Frame(*box, &a));
    EXPECT_EQ(box->GetText(), u"B");
    controls->m_inputLock = false;

    box->m_active = false;
    for (int blink = 0; blink < 2; ++blink) {
        ClockAt(blink + 0.5);
        EXPECT_TRUE(Frame(*box, &a));
        EXPECT_EQ(box->GetText(), u"B");
        ASSERT_EQ(texts.size(), 1u) << "the text without caret";
        EXPECT_EQ(texts[0].text, u"B");
    }
    EXPECT_TRUE(TakeSounds().empty());
}

TEST_F(GUIEditBoxTest, TheCaretBlinksEveryFourTenthsOfASecondAfterTheCaretCharacters)
{
    const auto box = Box(10);
    box->SetText(u"ABC");
    Run(*box, {Key(kLeft, u"ABC", 2, 0)});
    for (int interval = 0; interval < 6; ++interval) {
        ClockAt(interval + 0.5);
        Frame(*box);
        ASSERT_EQ(texts.size(), interval % 2 == 0 ? 2u : 1u) << interval;
        EXPECT_EQ(texts[0].text, u"ABC");
        EXPECT_FLOAT_EQ(texts[0].position.x, 4.0f);
        if (interval % 2 == 0) {
            EXPECT_EQ(texts[1].text, u"_");
            EXPECT_FLOAT_EQ(texts[1].position.x, 24.0f) << "after two characters";
            EXPECT_FLOAT_EQ(texts[1].position.y, 6.0f);
            EXPECT_EQ(texts[1].fontId, 1u);
        }
    }
}

TEST_F(GUIEditBoxTest, TheTextFadesWithTheBox)
{
    const auto box = Box(10, 1000.0f, 50.0f, SourceQuad(KeystrelEngine::ShaderDescriptor()));
    box->SetText(u"A");
    box->SetColour({1.0f, 1.0f, 1.0f, 0.5f});
    Frame(*box);
    ASSERT_FALSE(texts.empty());
    for (const auto& record : texts) {
        EXPECT_FLOAT_EQ(record.colour.r, 0.2f);
        EXPECT_FLOAT_EQ(record.colour.b, 0.6f);
        EXPECT_NEAR(record.colour.a, 0.4f, 0.003f);
        EXPECT_EQ(record.size, 0.0f);
        EXPECT_EQ(record.flags, 0u);
    }
}

TEST_F(GUIEditBoxTest, ABoxWithoutItsFontLogsItTakesOnlySpacesAndPrintsNothingWide)
{
    const auto box =
        std::make_unique<GUIEditBox>(gui, timers.get(), controls.get(), guiSounds.get(), GUIEditBox::kShown,
                                     KeystrelEngine::GUIPoint{0, 0}, KeystrelEngine::GUISize{10, 10}, nullptr, nullptr,
                                     9, KeystrelEngine::Color{}, KeystrelEngine::GUIPoint{}, 5, 1.0f, 1.0f);
    EXPECT_TRUE(services.Logged("Edit box: font 9 is not loaded"));
    Run(*box, {Char(u'A', u"", 0, 0, false), Char(u' ', u" ", 1, 0, true)});
}

} // namespace
