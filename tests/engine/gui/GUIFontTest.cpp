// Fonts: the font file and its damaged forms, the pen (proportional and fixed width, white space, angles),
// measuring, the batch (its index pattern and its 1024-quad limit), the lower-case variants and a text cut to a
// width.
#include "engine/gui/GUIFont.h"
#include "engine/foundation/Error.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/support/OneGlyphFont.h"

#include <cmath>
#include <numbers>

using GUITesting::Glyph;
using KeystrelEngine::GUIFont;
using KeystrelEngine::TextBounds;

namespace {

constexpr float kTolerance = 1e-4f;

class GUIFontTest : public GUITesting::GUIFixture
{
protected:
    std::unique_ptr<GUIFont> Load(const std::string& name)
    {
        return std::make_unique<GUIFont>(&services.log, &services.files, models.get(), shaders.get(), camera, name,
                                         KeystrelEngine::ShaderDescriptor());
    }

    std::unique_ptr<GUIFont> LoadGlyphs(const std::vector<Formats::FontGlyph>& glyphs)
    {
        WriteFont("test.fnt", glyphs);
        return Load("ui\\fonts\\test.fnt");
    }

    // The text of the error that loading the bytes raises; empty when it loads.
    std::string LoadError(const TestSupport::Bytes& bytes)
    {
        RenderTesting::WriteDataFile("ui\\fonts\\damaged.fnt", bytes);
        try {
            Load("ui\\fonts\\damaged.fnt");
        } catch (const KeystrelEngine::FileError& error) {
            return error.GetText();
        }
        return {};
    }

    // The pen corner (the quad's bottom left before turning) of quad k.
    static std::pair<float, float> Pen(const GUIFont& font, std::uint32_t k)
    {
        const auto corners = Quad(font, k);
        return {corners[1].x, corners[1].y};
    }
};

TEST_F(GUIFontTest, BothFontSourcesLoadTheirGlyphsAndWidestWidth)
{
    // A repeated code keeps its first record, and the dropped one's width does not count for the widest.
    const auto written = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'B', 0.8f), Glyph(0x0416, 0.3f), Glyph(u'B', 1.5f)});
    EXPECT_EQ(written->GetGlyphs().size(), 3u);
    EXPECT_TRUE(written->HasGlyph(0x0416));
    EXPECT_FALSE(written->HasGlyph(u'C'));
    EXPECT_FLOAT_EQ(written->GetGlyphs().at(u'B').width, 0.8f);
    EXPECT_FLOAT_EQ(written->GetWidestGlyph(), 0.8f);

    RenderTesting::WriteDataFile("ui\\fonts\\one.fnt", TestSupport::OneGlyphFont());
    ASSERT_EQ(TestSupport::OneGlyphFont().size(), 39u);
    const auto one = Load("ui\\fonts\\one.fnt");
    ASSERT_EQ(one->GetGlyphs().size(), 1u);
    const KeystrelEngine::GUIGlyph& a = one->GetGlyphs().at(u'A');
    EXPECT_EQ(std::vector<float>({a.u, a.v, a.du, a.dv, a.width}),
              std::vector<float>({0.0f, 0.5f, 0.25f, 0.5f, 0.75f}));
    EXPECT_FLOAT_EQ(one->GetWidestGlyph(), 0.75f);
    // A new font draws nothing yet, behind the GUI's windows.
    EXPECT_EQ(UsedIndices(*one), 0u);
    EXPECT_FLOAT_EQ(one->GetDepth(), -9.0f);
    EXPECT_TRUE(Registered(one->GetBatchModel()));
}

TEST_F(GUIFontTest, DamagedHeadersAreRejectedWithTheFormatOrVersionText)
{
    const TestSupport::Bytes good = Formats::BuildFontFile({Glyph(u'A', 0.5f)});
    const std::string format = "Incorrect \"ui\\fonts\\damaged.fnt\" file format";
    const std::string version = "Incorrect \"ui\\fonts\\damaged.fnt\" format version, current is 201";
    struct Case
    {
        const char* what;
        TestSupport::Bytes bytes;
        std::string expected;
    };
    std::vector<Case> cases = {{"length one more", good, format},
                               {"length one less", good, format},
                               {"wrong magic", good, format},
                               {"version 200", Formats::BuildFontFile({Glyph(u'A', 0.5f)}, 200), version},
                               {"version 202", Formats::BuildFontFile({Glyph(u'A', 0.5f)}, 202), version},
                               {"wrong magic and version", Formats::BuildFontFile({}, 202), format}};
    Formats::SetLE32(cases[0].bytes, 0, static_cast<std::uint32_t>(good.size() + 1));
    Formats::SetLE32(cases[1].bytes, 0, static_cast<std::uint32_t>(good.size() - 1));
    cases[2].bytes[8] = 'X';
    cases[5].bytes[4] = 'k';
    for (const Case& c : cases) {
        EXPECT_EQ(LoadError(c.bytes), c.expected) << c.what;
        EXPECT_EQ(models->GetRegistry().GetLiveCount(), 0u) << c.what << ": the batch model stayed registered";
    }

    // A file that ends inside the glyph records fails as a short read does.
    TestSupport::Bytes cut = Formats::BuildFontFile({Glyph(u'A', 0.5f), Glyph(u'B', 0.5f)});
    cut.resize(cut.size() - 5);
    Formats::SetLE32(cut, 0, static_cast<std::uint32_t>(cut.size()));
    EXPECT_TRUE(LoadError(cut).starts_with("Failed to read 22 bytes from \"")) << LoadError(cut);
    EXPECT_EQ(LoadError(good), "");
}

TEST_F(GUIFontTest, ThePenAdvancesByGlyphWidthOrByTheWidestCellWithTheGlyphCentred)
{
    const auto font = LoadGlyphs({Glyph(u'i', 0.25f), Glyph(u'W', 1.0f)});
    font->m_size = 20.0f;
    font->m_spacingFactor = 1.5f;
    font->Print(100.0f, 50.0f, 0.0f, {1, 1, 1, 1}, u"iWi");
    ASSERT_EQ(font->GetQuadCount(), 3u);
    EXPECT_EQ(Pen(*font, 0), std::make_pair(100.0f, 50.0f));
    EXPECT_EQ(Pen(*font, 1), std::make_pair(100.0f + 20 * 0.25f * 1.5f, 50.0f));
    EXPECT_EQ(Pen(*font, 2), std::make_pair(100.0f + 20 * 1.25f * 1.5f, 50.0f));
    // A glyph is size high and size x width wide, whatever the spacing factor.
    const auto corners = Quad(*font, 0);
    EXPECT_FLOAT_EQ(corners[0].y - corners[1].y, 20.0f);
    EXPECT_FLOAT_EQ(corners[3].x - corners[1].x, 5.0f);
    font->EndFrame();

    font->m_fixedWidth = true;
    font->Print(100.0f, 50.0f, 0.0f, {1, 1, 1, 1}, u"iWi");
    const float cell = 20 * 1.0f * 1.5f;
    const float narrowMargin = (1.0f - 0.25f) * 20 * 1.5f / 2;
    EXPECT_FLOAT_EQ(Pen(*font, 0).first, 100.0f + narrowMargin);
    EXPECT_FLOAT_EQ(Pen(*font, 1).first, 100.0f + cell);
    EXPECT_FLOAT_EQ(Pen(*font, 2).first, 100.0f + 2 * cell + narrowMargin);
    // Fixed-width text measures a cell per character, whatever the glyphs' widths.
    const TextBounds bounds = font->MeasureText(u"iiWi", 0.0f, -1.0f);
    EXPECT_FLOAT_EQ(bounds.maxX - bounds.minX, 4 * cell);
    EXPECT_FLOAT_EQ(bounds.maxY - bounds.minY, 20.0f);
}

TEST_F(GUIFontTest, SpacesAndLineFeedsMoveThePenWithoutQuads)
{
    const auto font = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'_', 0.75f)});
    font->m_size = 10.0f;
    font->m_spaceFactor = 0.3f;
    font->Print(0.0f, 0.0f, 0.0f, {1, 1, 1, 1}, u"A \n\tA");
    ASSERT_EQ(font->GetQuadCount(), 2u);
    EXPECT_FLOAT_EQ(Pen(*font, 1).first, 5.0f + 3 * 3.0f);
    EXPECT_EQ(UsedIndices(*font), 12u);
    font->EndFrame();

    // A white-space code with a glyph moves the pen by its own width and still draws nothing.
    const auto withSpace = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u' ', 0.75f)});
    withSpace->m_size = 10.0f;
    withSpace->Print(0.0f, 0.0f, 0.0f, {1, 1, 1, 1}, u"  A");
    ASSERT_EQ(withSpace->GetQuadCount(), 1u);
    EXPECT_FLOAT_EQ(Pen(*withSpace, 0).first, 15.0f);

    // A text of white space only adds no quad and measures the points of its pen.
    const TextBounds blank = withSpace->MeasureText(u"  ", 0.0f, -1.0f);
    EXPECT_FLOAT_EQ(blank.minX, 0.0f);
    EXPECT_FLOAT_EQ(blank.maxX, 7.5f);
    const TextBounds empty = withSpace->MeasureText(u"", 0.0f, -1.0f);
    EXPECT_EQ(std::vector<float>({empty.minX, empty.minY, empty.maxX, empty.maxY}),
              std::vector<float>({10000.0f, 10000.0f, -10000.0f, -10000.0f}));
}

TEST_F(GUIFontTest, ATextTurnedAQuarterTurnRunsUpwards)
{
    const auto font = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'B', 1.0f)});
    font->m_size = 10.0f;
    const float quarter = std::numbers::pi_v<float> / 2;
    font->Print(100.0f, 100.0f, quarter, {1, 1, 1, 1}, u"AB");
    EXPECT_NEAR(Pen(*font, 1).first, 100.0f, kTolerance);
    EXPECT_NEAR(Pen(*font, 1).second, 105.0f, kTolerance);
    // The glyph's top lies to the left of the pen, its right side above it.
    const auto corners = Quad(*font, 0);
    EXPECT_NEAR(corners[0].x, 90.0f, kTolerance);
    EXPECT_NEAR(corners[3].y, 105.0f, kTolerance);
    const TextBounds bounds = font->MeasureText(u"AB", quarter, -1.0f);
    EXPECT_NEAR(bounds.minX, -10.0f, kTolerance);
    EXPECT_NEAR(bounds.maxX, 0.0f, kTolerance);
    EXPECT_NEAR(bounds.minY, 0.0f, kTolerance);
    EXPECT_NEAR(bounds.maxY, 15.0f, kTolerance);
}

TEST_F(GUIFontTest, TheBatchHoldsTheQuadIndexPatternAndDropsGlyphsBeyond1024)
{
    const auto font = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'B', 0.5f)});
    const KeystrelEngine::IndexBuffer& indices = *font->GetBatchModel()->GetIndexBuffer();
    ASSERT_EQ(indices.GetIndexCount(), 6144u);
    for (std::uint32_t k : {0u, 1u, 500u, 1023u}) {
        std::vector<std::uint32_t> quad;
        for (std::uint32_t i = 0; i < 6; ++i)
            quad.push_back(indices.GetIndex(6 * k + i));
        EXPECT_EQ(quad, (std::vector<std::uint32_t>{4 * k, 4 * k + 1, 4 * k + 2, 4 * k + 2, 4 * k + 1, 4 * k + 3}));
    }

    font->Print(0.0f, 0.0f, 0.0f, {1, 1, 1, 1}, std::u16string(1000, u'A'));
    font->Print(0.0f, 0.0f, 0.0f, {1, 1, 1, 1}, std::u16string(24, u'A') + u"B");
    EXPECT_EQ(font->GetQuadCount(), 1024u);
    EXPECT_EQ(UsedIndices(*font), 6144u);
    EXPECT_FLOAT_EQ(Quad(*font, 1023)[1].u, GUITesting::U(u'A')) << "the 1025th glyph overwrote the last quad";
    EXPECT_TRUE(font->GetBatchModel()->GetVertexBuffer()->IsLocked());
    font->EndFrame();
    EXPECT_FALSE(font->GetBatchModel()->GetVertexBuffer()->IsLocked());
    // The next frame writes from quad 0 again.
    font->Print(0.0f, 0.0f, 0.0f, {1, 1, 1, 1}, u"B");
    EXPECT_EQ(UsedIndices(*font), 6u);
    EXPECT_FLOAT_EQ(Quad(*font, 0)[1].u, GUITesting::U(u'B'));
}

TEST_F(GUIFontTest, CaseVariantsGiveLowerCaseLettersTheUpperCaseShapesOnly)
{
    const auto upper = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'Z', 0.5f), Glyph(0x00C0, 0.5f), Glyph(0x0178, 0.5f),
                                   Glyph(0x0411, 0.5f), Glyph(0x0401, 0.5f), Glyph(0x00D7, 0.5f), Glyph(u'1', 0.5f)});
    upper->AddCaseVariants();
    const std::vector<std::pair<char16_t, char16_t>> pairs = {{u'a', u'A'},     {u'z', u'Z'},     {0x00E0, 0x00C0},
                                                              {0x00FF, 0x0178}, {0x0431, 0x0411}, {0x0451, 0x0401}};
    for (const auto& [lower, from] : pairs) {
        ASSERT_TRUE(upper->HasGlyph(lower)) << std::hex << static_cast<int>(lower);
        EXPECT_FLOAT_EQ(upper->GetGlyphs().at(lower).u, upper->GetGlyphs().at(from).u);
    }
    // The multiplication sign and the digit are no letters.
    EXPECT_EQ(upper->GetGlyphs().size(), 8u + pairs.size());
    upper->m_size = 10.0f;
    upper->Print(0.0f, 0.0f, 0.0f, {1, 1, 1, 1}, u"a\u0431");
    EXPECT_FLOAT_EQ(Quad(*upper, 0)[1].u, GUITesting::U(u'A'));
    EXPECT_FLOAT_EQ(Quad(*upper, 1)[1].u, GUITesting::U(0x0411));

    const auto lower = LoadGlyphs({Glyph(u'a', 0.5f), Glyph(0x0431, 0.5f)});
    lower->AddCaseVariants();
    EXPECT_EQ(lower->GetGlyphs().size(), 2u);
    EXPECT_FALSE(lower->HasGlyph(u'A'));

    // A lower-case letter with a shape of its own keeps it.
    const auto both = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'a', 0.25f)});
    both->AddCaseVariants();
    EXPECT_FLOAT_EQ(both->GetGlyphs().at(u'a').width, 0.25f);
}

// A: 5 units, space: 2.5, ellipsis: 10, so "AAAA AAAA" prints 42.5 wide.
TEST_F(GUIFontTest, ATextTooWideIsCutToItsLongestStartThatFitsWithAnEllipsis)
{
    const auto font = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u' ', 0.25f), Glyph(0x2026, 1.0f)});
    font->m_size = 10.0f;
    const std::vector<std::pair<float, std::u16string>> fits = {
        {42.5f, u"AAAA AAAA"}, {42.0f, u"AAAA A\u2026"}, {32.5f, u"AAAA\u2026"}, // no space before the ellipsis
        {14.9f, u"\u2026"},    {15.0f, u"A\u2026"},      {9.9f, u""},
    };
    for (const auto& [width, fitted] : fits)
        EXPECT_EQ(font->FitText(u"AAAA AAAA", width), fitted) << width;
    // A font without the ellipsis shows three full stops.
    const auto plain = LoadGlyphs({Glyph(u'A', 0.5f), Glyph(u'.', 0.25f)});
    plain->m_size = 10.0f;
    EXPECT_EQ(plain->FitText(u"AAAAAA", 20.0f), u"AA...");
}

} // namespace
