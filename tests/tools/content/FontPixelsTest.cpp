// The game's fonts drawn on the GL back end through the engine's font manager at 1024 x 768, where a GUI unit
// is 1.28 pixels: English and Russian pangrams in the caption, body and main-menu fonts, and rows of full stops
// and apostrophes that show which way up the glyphs are. Every lit pixel lies in the box the engine measured for
// its text, every text leaves ink, full stops sit low and apostrophes high. Saved as a picture to look at.
#include "engine/render/Image.h"
#include "tests/engine/gui/gl/GUIPixelFixture.h"
#include "tests/tools/content/ContentData.h"

#include <gtest/gtest.h>

using KeystrelEngine::Image;

namespace {

constexpr float kScale = 1024.0f / 800.0f; // pixels a GUI unit
constexpr int kLit = 80;                   // a channel above this is ink

// A text printed at a pen position, and the box it covers on the screen in pixels (y up).
struct Printed
{
    std::uint32_t font;
    std::u16string text;
    KeystrelEngine::GUIPoint pen;
    float left = 0, bottom = 0, right = 0, top = 0;

    bool Holds(float x, float y, float margin) const
    {
        return x >= left - margin && x < right + margin && y >= bottom - margin && y < top + margin;
    }
};

class FontPixels : public GUITesting::GUIPixelFixture
{
protected:
    FontPixels() : GUIPixelFixture("1024x768x32") {}

    void SetUp() override
    {
        GUIPixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ContentTesting::CopyBuildData("ui\\fonts");
        ContentTesting::LoadFonts(*fonts, ContentTesting::ReadFontList(services.files, "en"), true);
    }

    // Adds the text to the window and notes its box.
    void Print(KeystrelEngine::GUIWindow& window, Printed& printed)
    {
        window.AddText(0, printed.font, printed.text, 0.0f, 0.0f, printed.pen, {1, 1, 1, 1});
        const KeystrelEngine::TextBounds box = fonts->FindFont(printed.font)->MeasureText(printed.text, 0.0f, -1.0f);
        printed.left = (printed.pen.x + box.minX) * kScale;
        printed.right = (printed.pen.x + box.maxX) * kScale;
        printed.bottom = (printed.pen.y + box.minY) * kScale;
        printed.top = (printed.pen.y + box.maxY) * kScale;
    }
};

TEST_F(FontPixels, PangramsInThreeFontsStandUprightOnTheirBaselinesInsideTheirBoxes)
{
    const std::u16string english = u"The quick brown fox jumps over the lazy dog.";
    const std::u16string russian = u"Съешь же ещё этих мягких французских булок!";
    std::vector<Printed> texts = {
        {7, english, {12, 548}},
        {7, russian, {12, 508}},
        {1, english, {12, 464}},
        {1, russian, {12, 432}},
        {2, english, {12, 392}},
        {2, russian, {12, 366}},
        {2, u"Ёжик, Щука, Ўзбек; Ça, Größe, Ñandú, Œuvre", {12, 340}},
        // The tallest and deepest characters, which must not be cut at the cells' edges.
        {7, u"ÅÉÎÑÖ ЁЙЇЎ ÇçþµÞ ƒjýÿ§ Щф", {12, 190}},
        {1, u"ÅÉÎÑÖ ЁЙЇЎ ÇçþµÞ ƒjýÿ§ Щф", {12, 150}},
    };
    std::vector<Printed> stops;
    std::vector<Printed> apostrophes;
    const std::uint32_t markedFonts[] = {1, 2, 7};
    for (std::size_t k = 0; k < std::size(markedFonts); ++k) {
        const float x = 40.0f + 260.0f * static_cast<float>(k);
        stops.push_back({markedFonts[k], u". . . . .", {x, 260}});
        apostrophes.push_back({markedFonts[k], u"' ' ' ' '", {x + 110.0f, 260}});
        texts.push_back(stops.back());
        texts.push_back(apostrophes.back());
    }
    const auto window = Window(KeystrelEngine::GUIWindow::kShown, {0, 0}, {800, 600});
    for (Printed& printed : texts)
        Print(*window, printed);
    window->Draw();
    fonts->EndFrame();
    const Image image = Frame();
    RenderTesting::SaveTestPicture(image, "fonts.bmp", services.files);

    // Ink per text box, its centre of rows, and ink outside every box.
    std::vector<std::uint32_t> ink(texts.size(), 0);
    std::vector<double> rows(texts.size(), 0.0);
    std::uint32_t stray = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y)
        for (std::uint32_t x = 0; x < image.GetWidth(); ++x) {
            const std::array<int, 3> pixel = RenderTesting::PixelFromBottom(image, x, y);
            if (std::max({pixel[0], pixel[1], pixel[2]}) <= kLit)
                continue;
            bool inside = false;
            for (std::size_t i = 0; i < texts.size(); ++i)
                if (texts[i].Holds(x + 0.5f, y + 0.5f, 1.0f)) {
                    inside = true;
                    ++ink[i];
                    rows[i] += y + 0.5 - texts[i].bottom;
                }
            if (!inside && ++stray <= 5)
                ADD_FAILURE() << "ink at (" << x << ", " << y << ") outside every text";
        }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Printed& printed = texts[i];
        const double area = (printed.right - printed.left) * (printed.top - printed.bottom);
        const double height = (rows[i] / std::max(ink[i], 1u)) / (printed.top - printed.bottom);
        if (printed.text == stops.front().text) {
            EXPECT_LT(height, 0.35) << "full stops in font " << printed.font << " stand too high";
        } else if (printed.text == apostrophes.front().text) {
            EXPECT_GT(height, 0.6) << "apostrophes in font " << printed.font << " hang too low";
        } else {
            EXPECT_GT(ink[i], area * 0.05) << "text " << i << " in font " << printed.font << " left too little ink";
            continue;
        }
        EXPECT_GE(ink[i], 10u) << "text " << i << " in font " << printed.font << " left no marks";
    }
}

} // namespace
