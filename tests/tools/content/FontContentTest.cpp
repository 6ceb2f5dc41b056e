// The game's fonts as the content tool wrote them, read back through the engine: the font list of every
// language, each font file through GUIFont, and the two pictures of each font through the engine's image reader.
// The characters a font must hold come from the system's own code-page converter and from the text tables
// themselves, not from the tool's tables.
#include "tests/engine/gui/GUIFixture.h"
#include "tests/tools/content/ContentData.h"
#include "tools/content/Languages.h"
#include "tools/content/TextTableGenerator.h"
#include "tools/content/fonts/FontGenerator.h"
#include "tools/content/fonts/GlyphRenderer.h"

#include "engine/foundation/FileManager.h"
#include "engine/render/Image.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <iconv.h>
#include <set>
#include <stdexcept>

using GameFramework::FontList;
using ListedFont = GameFramework::FontListEntry;
using KeystrelEngine::GUIFont;
using KeystrelEngine::Image;

namespace {

// The sizes of fonts 0 to 10, in GUI units.
constexpr float kSizes[] = {14, 22, 18, 20, 20, 20, 26, 30, 30, 30, 22};
constexpr float kPixelsPerUnit = 1.3f;

// What the bytes 0x20 to 0xFF of the code page stand for, by the C library's converter; unassigned bytes and
// the delete character give nothing.
std::set<char16_t> Printable(const char* codePage)
{
    const iconv_t converter = iconv_open("UTF-16LE", codePage);
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1)) << codePage;
    std::set<char16_t> characters;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[4] = {};
        char* from = &in;
        char* to = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        if (byte != 0x7F && iconv(converter, &from, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1))
            characters.insert(static_cast<char16_t>(out[0] | out[1] << 8));
    }
    iconv_close(converter);
    return characters;
}

// Every character of every text table of every language, from the files in the data folder.
std::set<char16_t> TableCharacters()
{
    std::set<char16_t> characters;
    for (const std::string_view language : Content::kLanguages)
        for (const std::string& section : Content::TextTableGenerator::Sections()) {
            const TestSupport::Bytes bytes = TestSupport::ReadFile(
                ContentTesting::TestDataPath(Content::TextTableGenerator::Table(language, section)).string());
            const std::string text(bytes.begin() + 3, bytes.end()); // behind the byte-order mark
            for (const char16_t c : ContentTesting::Widen(text))
                if (c != u'\n' && c != u'\r')
                    characters.insert(c);
        }
    return characters;
}

// A font's glyph rectangle in texture pixels, rows counted from the bottom.
struct PixelRect
{
    double left, bottom, right, top;
};

PixelRect Pixels(const KeystrelEngine::GUIGlyph& glyph, const Image& texture)
{
    const double width = texture.GetWidth();
    const double height = texture.GetHeight();
    return {glyph.u * width, glyph.v * height, (glyph.u + glyph.du) * width, (glyph.v + glyph.dv) * height};
}

class GameFonts : public GUITesting::GUIFixture
{
protected:
    void SetUp() override
    {
        GUIFixture::SetUp();
        ContentTesting::CopyBuildData("ui\\fonts");
        ContentTesting::CopyBuildData("ui\\texts");
        list = ContentTesting::ReadFontList(services.files, "en");
        ContentTesting::LoadFonts(*fonts, list, false);
    }

    Image Picture(const std::string& name)
    {
        Image image;
        EXPECT_TRUE(Image::Load(&services.files, KeystrelEngine::MakeDataPath(name), image, &services.log)) << name;
        return image;
    }

    // The lowest texture row, counted from the glyph's bottom edge, in which the glyph's shape is more than half
    // opaque; the cell height when the glyph is empty.
    static int LowestInkRow(const GUIFont& font, char16_t code, const Image& alpha)
    {
        const PixelRect rect = Pixels(font.GetGlyphs().at(code), alpha);
        const int bottom = static_cast<int>(std::lround(rect.bottom));
        const int height = static_cast<int>(std::lround(rect.top - rect.bottom));
        for (int row = 0; row < height; ++row)
            for (auto x = static_cast<std::uint32_t>(std::lround(rect.left)); x < std::lround(rect.right); ++x)
                if (alpha.GetRow(bottom + row)[x * alpha.GetBytesPerPixel()] > 128)
                    return row;
        return height;
    }

    FontList list;
};

TEST_F(GameFonts, EveryLanguageListsTheElevenFontsWithTheirSizesAndSettings)
{
    std::set<std::string> files;
    for (const std::string_view language : Content::kLanguages) {
        const FontList listed = ContentTesting::ReadFontList(services.files, language);
        EXPECT_EQ(listed.consoleFontId, 0u) << language;
        ASSERT_EQ(listed.fonts.size(), std::size(kSizes)) << language << ": the list's count, and as many fonts";
        for (std::size_t id = 0; id < listed.fonts.size(); ++id) {
            const ListedFont& font = listed.fonts[id];
            const std::string stem = font.fontName.substr(0, font.fontName.size() - 4);
            EXPECT_TRUE(font.fontName.starts_with("ui\\fonts\\") && font.fontName.ends_with(".fnt")) << font.fontName;
            EXPECT_EQ(font.textureName, stem + ".jpg");
            EXPECT_EQ(font.opacityName, stem + "_alpha.jpg");
            EXPECT_EQ(font.size, kSizes[id]) << font.fontName;
            EXPECT_EQ(font.spacingFactor, 1.0f) << font.fontName;
            EXPECT_FALSE(font.caseVariants) << font.fontName;
            EXPECT_EQ(font.fixedWidth, id == 0) << font.fontName;
            EXPECT_EQ(font.fontName, list.fonts[id].fontName) << language << ": every language lists the same fonts";
            EXPECT_EQ(font.spaceFactor, list.fonts[id].spaceFactor) << language << " " << font.fontName;
            files.insert(font.fontName);
        }
    }
    EXPECT_EQ(files.size(), std::size(kSizes)) << "each font has files of its own";
}

TEST_F(GameFonts, EveryFontHasAGlyphForEveryCharacterOfBothCodePagesAndOfEveryTable)
{
    std::set<char16_t> needed = Printable("CP1252");
    const std::set<char16_t> cyrillic = Printable("CP1251");
    const std::set<char16_t> tables = TableCharacters();
    EXPECT_GT(needed.size(), 200u);
    EXPECT_GT(cyrillic.size(), 200u);
    needed.insert(cyrillic.begin(), cyrillic.end());
    needed.insert(tables.begin(), tables.end());
    for (std::uint32_t id = 0; id < list.fonts.size(); ++id) {
        const GUIFont& font = *fonts->FindFont(id);
        std::string missing;
        for (const char16_t c : needed)
            if (!font.HasGlyph(c))
                missing += " U+" + std::to_string(c);
        EXPECT_EQ(missing, "") << list.fonts[id].fontName;
        // A character without a glyph advances as far as the blank does.
        EXPECT_NEAR(list.fonts[id].spaceFactor, font.GetGlyphs().at(u' ').width, 1e-5) << list.fonts[id].fontName;
    }
}

TEST_F(GameFonts, GlyphCellsAreTheAdvanceByTheLineSideBySideInAPowerOfTwoTexture)
{
    for (std::uint32_t id = 0; id < list.fonts.size(); ++id) {
        const ListedFont& listed = list.fonts[id];
        const Image alpha = Picture(listed.opacityName);
        const Image colour = Picture(listed.textureName);
        EXPECT_TRUE(std::has_single_bit(alpha.GetWidth()) && std::has_single_bit(alpha.GetHeight())) << listed.fontName;
        EXPECT_EQ(colour.GetWidth(), alpha.GetWidth()) << listed.fontName;
        EXPECT_EQ(colour.GetHeight(), alpha.GetHeight()) << listed.fontName;
        std::vector<PixelRect> cells;
        for (const auto& [code, glyph] : fonts->FindFont(id)->GetGlyphs()) {
            const PixelRect cell = Pixels(glyph, alpha);
            EXPECT_TRUE(cell.left >= 0 && cell.bottom >= 0 && cell.right <= alpha.GetWidth() &&
                        cell.top <= alpha.GetHeight())
                << listed.fontName << " U+" << std::hex << static_cast<unsigned>(code);
            // About 1.3 pixels a unit, and as wide as the quad the engine draws, so the glyph keeps its shape.
            EXPECT_NEAR(cell.top - cell.bottom, std::round(listed.size * kPixelsPerUnit), 1e-3) << listed.fontName;
            EXPECT_NEAR(glyph.width, (cell.right - cell.left) / (cell.top - cell.bottom), 1e-4)
                << listed.fontName << " U+" << std::hex << static_cast<unsigned>(code);
            cells.push_back(cell);
        }
        for (std::size_t i = 0; i < cells.size(); ++i)
            for (std::size_t k = i + 1; k < cells.size(); ++k) {
                const bool apart = cells[i].right <= cells[k].left || cells[k].right <= cells[i].left ||
                                   cells[i].top <= cells[k].bottom || cells[k].top <= cells[i].bottom;
                EXPECT_TRUE(apart) << listed.fontName << ": cells " << i << " and " << k << " overlap";
            }
    }
}

TEST_F(GameFonts, WhiteShapesStandOnOneBaselineAndTheColourPictureIsTheFontsColour)
{
    std::vector<std::array<int, 3>> menuColours;
    for (std::uint32_t id = 0; id < list.fonts.size(); ++id) {
        const ListedFont& listed = list.fonts[id];
        const GUIFont& font = *fonts->FindFont(id);
        const Image alpha = Picture(listed.opacityName);
        const double cell = std::round(listed.size * kPixelsPerUnit);
        const int baseline = LowestInkRow(font, u'H', alpha);
        EXPECT_GT(baseline, cell * 0.1) << listed.fontName << ": room for descenders below the baseline";
        EXPECT_LT(baseline, cell * 0.3) << listed.fontName;
        for (const char16_t code : {u'x', u'E', u'n', u'Ш', u'Я', u'1'})
            EXPECT_NEAR(LowestInkRow(font, code, alpha), baseline, 1)
                << listed.fontName << " U+" << std::hex << static_cast<unsigned>(code);
        for (const char16_t code : {u'p', u'g', u'у', u'ф'})
            EXPECT_LT(LowestInkRow(font, code, alpha), baseline - 1)
                << listed.fontName << " U+" << std::hex << static_cast<unsigned>(code);
        EXPECT_EQ(LowestInkRow(font, u' ', alpha), static_cast<int>(cell)) << listed.fontName << ": the blank is empty";

        const Image colour = Picture(listed.textureName);
        const std::uint8_t* first = colour.GetPixels();
        int spread = 0;
        for (std::size_t i = 0; i < colour.GetByteCount(); ++i)
            spread = std::max(spread, std::abs(colour.GetPixels()[i] - first[i % colour.GetBytesPerPixel()]));
        EXPECT_LE(spread, 4) << listed.fontName << ": one colour throughout";
        if (id >= 7 && id <= 9)
            menuColours.push_back({first[0], first[1], first[2]});
    }
    ASSERT_EQ(menuColours.size(), 3u);
    EXPECT_NE(menuColours[0], menuColours[1]);
    EXPECT_NE(menuColours[1], menuColours[2]);
    EXPECT_NE(menuColours[0], menuColours[2]);
}

TEST(GlyphRenderer, RefusesAMissingFaceAndACharacterTheFaceLacks)
{
    const std::filesystem::path face = Content::FontGenerator().Inputs().front();
    EXPECT_THROW(Content::GlyphRenderer(face.parent_path() / "missing.ttf", 20, {u'A'}), std::runtime_error);
    EXPECT_THROW(Content::GlyphRenderer(face, 20, {u'A', u'\uFFFF'}), std::runtime_error);
    const Content::GlyphRenderer renderer(face, 20, {u'A', u'_'});
    EXPECT_THROW(renderer.Render(u'\uFFFF'), std::runtime_error);
    const Formats::GlyphPicture glyph = renderer.Render(u'A');
    EXPECT_GT(glyph.width, 5u);
    EXPECT_EQ(glyph.pixels.size(), glyph.width * 20u);
}

} // namespace
