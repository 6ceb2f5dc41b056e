#include "framework/GUITextPrinter.h"

#include "tests/framework/GUIToolFixture.h"

using GameTools::GUITextPrinter;

namespace {

// A printer at 10 characters a second into a shown window.
class TextPrinterTest : public FrameworkTesting::GUIToolFixture
{
protected:
    void SetUp() override
    {
        GUIToolFixture::SetUp();
        target = Window(KeystrelEngine::GUIWindow::kShown, {0, 0}, {100, 100});
        printer = std::make_unique<GUITextPrinter>(timers.get(), texts.get(), target.get(), 0, 10.0f, 1,
                                                   KeystrelEngine::GUIPoint{5, 6}, KeystrelEngine::Color{1, 1, 1, 1});
    }

    void TearDown() override
    {
        printer.reset();
        target.reset();
        GUIToolFixture::TearDown();
    }

    // Frames of 0.1 s, each printing once and dropping its text as drawing does; returns the last shown text.
    std::u16string Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            Frame();
            printer->Update();
            EXPECT_EQ(target->GetTextCount(), printer->GetShownText().empty() ? 0u : 1u);
            target->Draw();
        }
        return printer->GetShownText();
    }

    std::unique_ptr<KeystrelEngine::GUIWindow> target;
    std::unique_ptr<GUITextPrinter> printer;
};

TEST_F(TextPrinterTest, TypesAtTheRateAndErasesTheOldTextBeforeTypingANewOne)
{
    EXPECT_TRUE(printer->IsFinished());
    printer->SetText(u"Hello there");
    EXPECT_FALSE(printer->IsFinished());
    EXPECT_EQ(Frames(1), u""); // the empty text on screen is erased at once
    EXPECT_EQ(Frames(5), u"Hello");
    EXPECT_FALSE(printer->IsFinished());
    EXPECT_EQ(Frames(6), u"Hello there");
    EXPECT_TRUE(printer->IsFinished());
    EXPECT_EQ(Frames(3), u"Hello there");

    // The same text again stays finished; another one erases the first at the rate.
    printer->SetText(u"Hello there");
    EXPECT_TRUE(printer->IsFinished());
    printer->SetText(u"Bye");
    EXPECT_FALSE(printer->IsFinished());
    EXPECT_EQ(Frames(4), u"Hello t");
    EXPECT_EQ(Frames(7), u"");
    // The count's hair above the old length goes in one more frame; typing starts in the frame after it.
    EXPECT_EQ(Frames(1), u"");
    EXPECT_EQ(Frames(2), u"By");
    EXPECT_EQ(Frames(1), u"Bye");
    EXPECT_TRUE(printer->IsFinished());
}

TEST_F(TextPrinterTest, TextsByKeyAndClear)
{
    texts->SetText("GREETING", u"Hi");
    printer->SetTextByKey("greeting");
    EXPECT_EQ(Frames(4), u"Hi");
    printer->Clear();
    EXPECT_TRUE(printer->IsFinished());
    EXPECT_EQ(Frames(1), u"");
    EXPECT_TRUE(printer->IsFinished());

    // Without a window nothing is typed.
    GUITextPrinter unplaced(timers.get(), texts.get(), nullptr, 0, 10.0f, 1, {}, {});
    unplaced.SetText(u"Hi");
    Frame();
    unplaced.Update();
    EXPECT_EQ(unplaced.GetShownText(), u"");
    EXPECT_FALSE(unplaced.IsFinished());
}

} // namespace
