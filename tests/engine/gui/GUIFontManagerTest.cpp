// The font manager: loading under ids, one instance per font and depth, instances leaving at the end of a
// frame without text, alignment in the window or its text area, and the end of every batch.
#include "engine/gui/GUIFontManager.h"
#include "engine/foundation/Error.h"
#include "tests/engine/gui/GUIFixture.h"

#include <numbers>

using GUITesting::Glyph;
using KeystrelEngine::GUIFont;
using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUIWindow;

namespace {

constexpr float kTolerance = 1e-3f;

class GUIFontManagerTest : public GUITesting::GUIFixture
{
protected:
    // Font 1: 'A' half as wide as high, size 10, so "AA" is 10 x 10.
    void SetUp() override
    {
        GUIFixture::SetUp();
        font = LoadFont(1, {Glyph(u'A', 0.5f)});
        font->m_size = 10.0f;
    }

    void ExpectPoint(GUIPoint actual, GUIPoint expected, const std::string& what)
    {
        EXPECT_NEAR(actual.x, expected.x, kTolerance) << what;
        EXPECT_NEAR(actual.y, expected.y, kTolerance) << what;
    }

    GUIFont* font = nullptr;
};

TEST_F(GUIFontManagerTest, WindowsAtOneDepthShareAnInstanceAndADeeperWindowGetsItsOwn)
{
    const auto first = Window(GUIWindow::kShown, {0, 0}, {100, 100});
    const auto second = Window(GUIWindow::kShown, {200, 0}, {100, 100});
    const auto child = Window(GUIWindow::kShown, {0, 0}, {50, 50}, first.get());
    GUIFont* shared = fonts->GetFontInstance(1, *first);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(fonts->GetFontInstance(1, *second), shared);
    EXPECT_EQ(shared->GetSource(), font);
    EXPECT_NEAR(shared->GetDepth(), -15.005f, 1e-6f);
    GUIFont* deeper = fonts->GetFontInstance(1, *child);
    EXPECT_NE(deeper, shared);
    EXPECT_NEAR(deeper->GetDepth(), -15.015f, 1e-6f);
    EXPECT_EQ(fonts->GetInstances().size(), 2u);
    // Instances are shown, and copy the font's glyphs and settings.
    EXPECT_TRUE(deeper->GetBatchModel()->m_flags & KeystrelEngine::Model::kShown);
    EXPECT_EQ(deeper->GetGlyphs().size(), 1u);
    EXPECT_FLOAT_EQ(deeper->m_size, 10.0f);
    EXPECT_EQ(fonts->GetFontInstance(2, *child), nullptr);
}

TEST_F(GUIFontManagerTest, AnInstanceThatPrintedNothingLeavesAtTheEndOfTheFrameAndComesBackWithText)
{
    const auto window = Window(GUIWindow::kShown, {0, 0}, {100, 100});
    window->AddText(0, 1, u"AA", 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
    window->Draw();
    font->Print(0, 0, 0, {1, 1, 1, 1}, u"A"); // the loaded font itself, printed once
    ASSERT_EQ(fonts->GetInstances().size(), 1u);
    const KeystrelEngine::Model* batch = fonts->GetInstances()[0]->GetBatchModel();
    fonts->EndFrame();
    ASSERT_EQ(fonts->GetInstances().size(), 1u);
    EXPECT_EQ(UsedIndices(*fonts->GetInstances()[0]), 12u) << "the frame's quads are drawn after the end of frame";
    EXPECT_EQ(UsedIndices(*font), 6u);
    EXPECT_FALSE(batch->GetVertexBuffer()->IsLocked());

    window->Draw();
    fonts->EndFrame();
    EXPECT_TRUE(fonts->GetInstances().empty());
    EXPECT_FALSE(Registered(batch));
    // A loaded font that printed nothing stays, with nothing to draw and its vertices unlocked.
    EXPECT_EQ(UsedIndices(*font), 0u);
    EXPECT_FALSE(font->GetBatchModel()->GetVertexBuffer()->IsLocked());

    window->AddText(0, 1, u"A", 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
    window->Draw();
    ASSERT_EQ(fonts->GetInstances().size(), 1u);
    EXPECT_TRUE(Registered(fonts->GetInstances()[0]->GetBatchModel()));
    EXPECT_EQ(fonts->GetInstances()[0]->GetQuadCount(), 1u);
}

TEST_F(GUIFontManagerTest, AlignmentPlacesTheTextInTheWindowOrItsTextArea)
{
    auto parent = Window(GUIWindow::kShown, {100, 50}, {400, 300});
    auto window = Window(GUIWindow::kShown, {100, 100}, {200, 100}, parent.get());
    // The window's origin is (200, 150); "AA" measures 10 x 10.
    const struct
    {
        std::uint32_t flags;
        GUIPoint expected;
    } cases[] = {{0x01 | 0x02, {295, 195}}, {0x04, {200, 157}},        {0x08, {390, 157}},
                 {0x10, {203, 240}},        {0x20, {203, 150}},        {0, {203, 157}},
                 {0x04 | 0x08, {200, 157}}, {0x10 | 0x20, {203, 240}}, {0x01 | 0x04, {295, 157}}};
    for (const auto& c : cases)
        ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", c.flags, 0.0f, {3, 7}), c.expected,
                    "flags " + std::to_string(c.flags));

    // Past a right angle the text runs backwards, so it starts at its far end to stay inside.
    const float half = std::numbers::pi_v<float>;
    ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", 0x01 | 0x02, half, {0, 0}), {305, 205}, "half turn, centred");
    ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", 0x04 | 0x20, half, {0, 0}), {210, 160}, "half turn, edges");
    ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", 0x08 | 0x10, half, {0, 0}), {400, 250}, "half turn, far");
    ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", 0, half, {3, 7}), {203, 157}, "half turn, at a position");

    // A text area moves the origin by its offset and replaces the window's size.
    window->m_hasExtraRect = true;
    window->m_extraRect = {20, 10, 100, 40};
    ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", 0x01 | 0x02, 0.0f, {0, 0}), {265, 175}, "text area");
    ExpectPoint(fonts->PrintInWindow(1, *window, u"AA", 0, 0.0f, {3, 7}), {223, 167}, "text area, position");

    ExpectPoint(fonts->PrintInWindow(9, *window, u"AA", 0x01 | 0x02, 0.0f, {3, 7}), {0, 0}, "unknown font");
}

TEST_F(GUIFontManagerTest, AnIdLoadedAgainKeepsItsFirstFont)
{
    WriteFont("other.fnt", {Glyph(u'B', 0.5f)});
    const std::uint32_t registered = models->GetRegistry().GetLiveCount();
    EXPECT_EQ(fonts->LoadFont(1, "ui\\fonts\\other.fnt", KeystrelEngine::ShaderDescriptor()), font);
    EXPECT_EQ(fonts->FindFont(1), font);
    EXPECT_TRUE(services.Logged("Font 1 is loaded already; \"ui\\fonts\\other.fnt\" is not used"));
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), registered);
    EXPECT_THROW(fonts->LoadFont(2, "ui\\fonts\\missing.fnt", KeystrelEngine::ShaderDescriptor()),
                 KeystrelEngine::FileError);
    EXPECT_EQ(fonts->FindFont(2), nullptr);
}

} // namespace
