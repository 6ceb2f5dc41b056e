// Fonts: the input is a ".fnt" file of the data folder, loaded as the font manager loads a font, on the recording
// device in the GUI camera. A font that loads holds rectangles within its texture and widths above 0 that drawing
// bears, its widest width that of a glyph it kept; it gets its case variants, an instance of its own, and prints
// and measures every glyph it has in both pen modes, more glyphs than one frame's batch holds.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/RenderServices.h"

#include "engine/foundation/Error.h"
#include "engine/gui/GUIFont.h"
#include "engine/render/ShaderDescriptor.h"
#include "tools/formats/FontFileWriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

using namespace KeystrelEngine;
using Fuzzing::RenderServices;

namespace {

Camera* GUICamera(RenderServices& services)
{
    static Camera* camera = [&services] {
        Camera* made = services.cameras->CreateCamera(Camera::kOrthographic);
        made->m_near = 500.0f;
        made->m_far = -500.0f;
        made->m_width = 800.0f;
        made->m_height = 600.0f;
        return made;
    }();
    return camera;
}

bool Sound(const GUIFont& font)
{
    float widest = 0.0f;
    for (const auto& [code, glyph] : font.GetGlyphs()) {
        if (!Fuzzing::AllWithin(
                std::array{glyph.u, glyph.v, glyph.du, glyph.dv, glyph.u + glyph.du, glyph.v + glyph.dv},
                FileValues::kTexture) ||
            !FileValues::kScale.Holds(glyph.width))
            return false;
        widest = std::max(widest, glyph.width);
    }
    return widest == font.GetWidestGlyph();
}

// Every glyph code of the font, three times over so that the batch overflows when the font has many.
std::u16string AllCodes(const GUIFont& font)
{
    std::u16string text;
    for (int pass = 0; pass < 3; ++pass) {
        for (const auto& [code, glyph] : font.GetGlyphs()) {
            text.push_back(code);
        }
        text += u" \n\t";
    }
    return text;
}

void PrintAndMeasure(GUIFont& font, const std::u16string& text, RenderServices& services)
{
    for (const bool fixedWidth : {false, true}) {
        font.m_fixedWidth = fixedWidth;
        font.Print(10.0f, 20.0f, 0.5f, Color{1.0f, 1.0f, 1.0f, 1.0f}, text);
        font.MeasureText(text, 0.0f, 24.0f);
        font.MeasureText(text, 1.0f, -1.0f);
    }
    services.render->BeginScene();
    font.GetBatchModel()->Render();
    services.render->EndScene();
    font.EndFrame();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RenderServices& services = RenderServices::Get();
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    folder.Write("Data/fuzz.fnt", data, size);
    try {
        GUIFont font(&services.log, &services.files, services.models.get(), services.shaders.get(), GUICamera(services),
                     "fuzz.fnt", ShaderDescriptor());
        if (!Sound(font))
            std::abort();
        font.AddCaseVariants();
        GUIFont instance(font);
        const std::u16string text = AllCodes(font);
        PrintAndMeasure(font, text, services);
        PrintAndMeasure(instance, text, services);
    } catch (const Error&) {
        // The font's own refusal.
    }
    services.Reset();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    using Formats::FontGlyph;
    seeds.Add("letters.fnt", Formats::BuildFontFile({{u'A', 0.0f, 0.5f, 0.25f, 0.25f, 0.6f},
                                                     {u'b', 0.25f, 0.5f, 0.25f, 0.25f, 0.5f},
                                                     {u'Ж', 0.5f, 0.0f, 0.5f, 0.5f, 0.9f}}));
    seeds.Add("empty.fnt", Formats::BuildFontFile({}));
    std::vector<FontGlyph> many;
    for (std::uint16_t code = 0x20; code < 0x4A0; ++code) {
        many.push_back({code, (code % 32) / 32.0f, (code / 32 % 32) / 32.0f, 1.0f / 32, 1.0f / 32, 0.55f});
    }
    seeds.Add("many.fnt", Formats::BuildFontFile(many));
}
