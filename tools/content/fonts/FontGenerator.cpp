#include "tools/content/fonts/FontGenerator.h"

#include "tools/content/DataFolder.h"
#include "tools/content/Languages.h"
#include "tools/content/Parallel.h"
#include "tools/content/art/TextureFiles.h"
#include "tools/content/fonts/CodePages.h"
#include "tools/content/fonts/FontRoles.h"
#include "tools/content/fonts/GlyphRenderer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

namespace Content {
namespace {

const std::filesystem::path kFaceFolder = CONTENT_FONT_FOLDER;

// A texture width about the square root of the glyphs' area (gaps included), so that the power-of-two texture
// the rows fill is about square.
std::uint32_t TextureWidth(const Formats::FontPictures& pictures)
{
    double area = 0.0;
    std::uint32_t widest = 0;
    for (const Formats::GlyphPicture& glyph : pictures.glyphs) {
        area += (glyph.width + 1.0) * (pictures.cellHeight + 1.0);
        widest = std::max(widest, glyph.width);
    }
    return std::bit_ceil(std::max(static_cast<std::uint32_t>(std::ceil(std::sqrt(area))), widest + 2));
}

// The picture the two JPEG files are written from: the role's colour everywhere, the shapes as alpha.
Picture TexturePicture(const Formats::FontTexture& texture, const KeystrelEngine::Color& colour)
{
    Picture picture(texture.width, texture.height, {colour.r, colour.g, colour.b, 0.0f});
    for (std::uint32_t row = 0; row < texture.height; ++row) {
        const std::uint32_t y = texture.height - 1 - row; // the texture's rows run from the top, the picture's up
        for (std::uint32_t x = 0; x < texture.width; ++x)
            picture.At(x, y).a =
                static_cast<float>(texture.pixels[std::size_t{row} * texture.width + x] >> 24) / 255.0f;
    }
    return picture;
}

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// One cell for every printable character, on a texture about square.
Formats::FontPictures DrawGlyphs(const FontRole& role)
{
    const std::vector<char16_t> characters = CodePages::PrintableCharacters();
    const GlyphRenderer renderer(kFaceFolder / role.face, FontGenerator::CellHeight(role), characters);
    Formats::FontPictures pictures;
    pictures.cellHeight = FontGenerator::CellHeight(role);
    for (const char16_t code : characters)
        pictures.glyphs.push_back(renderer.Render(code));
    pictures.textureWidth = TextureWidth(pictures);
    return pictures;
}

// Writes the font's three files; returns its space factor (the blank's advance over the size).
float WriteFont(const FontRole& role, DataFolder& folder)
{
    const Formats::FontTexture texture = Formats::BuildFontTexture(DrawGlyphs(role));
    folder.Write(FontGenerator::FontFile(role, ".fnt"), Formats::BuildFontFile(texture.glyphs));
    const Picture picture = TexturePicture(texture, role.colour);
    TextureFiles files;
    files.WriteColour(picture, folder.Claim(FontGenerator::FontFile(role, ".jpg")));
    files.WriteAlpha(picture, folder.Claim(FontGenerator::FontFile(role, "_alpha.jpg")));
    const auto blank = std::find_if(texture.glyphs.begin(), texture.glyphs.end(),
                                    [](const Formats::FontGlyph& glyph) { return glyph.code == u' '; });
    return blank->width;
}

// The count, the console font, then per font its three files, size, space factor, spacing factor, case
// variants (none: every letter has its own glyph) and fixed width, one value a line.
std::string ListText(const std::vector<float>& spaceFactors)
{
    const std::vector<FontRole>& roles = FontRoles::All();
    std::string text = std::to_string(roles.size()) + "\n" + std::to_string(FontRoles::kConsoleFont) + "\n";
    for (std::size_t i = 0; i < roles.size(); ++i) {
        const FontRole& role = roles[i];
        for (const std::string& line :
             {FontGenerator::FontFile(role, ".fnt"), FontGenerator::FontFile(role, ".jpg"),
              FontGenerator::FontFile(role, "_alpha.jpg"), Number(role.size), Number(spaceFactors[i]), std::string("1"),
              std::string("0"), std::string(role.fixedWidth ? "1" : "0")})
            text += line + "\n";
    }
    return text;
}

} // namespace

std::string FontGenerator::FontList(std::string_view language)
{
    return "ui\\fonts\\" + std::string(language) + ".ini";
}

std::string FontGenerator::FontFile(const FontRole& role, const char* ending)
{
    return "ui\\fonts\\" + role.name + ending;
}

std::uint32_t FontGenerator::CellHeight(const FontRole& role)
{
    return static_cast<std::uint32_t>(std::lround(role.size * FontRoles::kPixelsPerUnit));
}

std::vector<ManifestEntry> FontGenerator::Files() const
{
    std::vector<ManifestEntry> files;
    for (const FontRole& role : FontRoles::All()) {
        files.push_back({FontFile(role, ".fnt"), "GUIFont"});
        files.push_back({FontFile(role, ".jpg"), "TextureManager"});
        files.push_back({FontFile(role, "_alpha.jpg"), "TextureManager"});
    }
    for (const std::string_view language : kLanguages)
        files.push_back({FontList(language), "FontList"});
    return files;
}

std::vector<std::filesystem::path> FontGenerator::Inputs() const
{
    std::vector<std::filesystem::path> faces;
    for (const FontRole& role : FontRoles::All()) {
        if (std::find(faces.begin(), faces.end(), kFaceFolder / role.face) == faces.end())
            faces.push_back(kFaceFolder / role.face);
    }
    return faces;
}

void FontGenerator::Write(DataFolder& folder) const
{
    const std::vector<FontRole>& roles = FontRoles::All();
    std::vector<float> spaceFactors(roles.size());
    RunInParallel(roles.size(), [&](std::size_t i) { spaceFactors[i] = WriteFont(roles[i], folder); });
    const std::string list = ListText(spaceFactors);
    for (const std::string_view language : kLanguages)
        folder.Write(FontList(language), {list.begin(), list.end()});
}

} // namespace Content
