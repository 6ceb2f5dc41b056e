#include "tools/content/scene/MenuBackgroundGenerator.h"

#include "tools/content/art/Surface.h"
#include "tools/content/scene/LandscapePictures.h"
#include "tools/content/scene/SwayingCards.h"
#include "tools/content/world/LevelGenerator.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace Content {
namespace {

constexpr std::uint32_t kTextureSide = 1024;

// One card of a theme with the part of the theme's texture it shows and the painter of that part.
struct Layer
{
    Card card;
    UvRect slot;
    std::function<Picture(std::uint32_t, std::uint32_t)> paint;
};

// When a theme shows: always (a base theme), from the stage whose environment it is named after, or once the
// last stage is done. The stage indices follow the level catalogue, so the background keeps up with its stages.
enum class Shows
{
    Always,
    FromItsStage,
    Finished,
};

struct Theme
{
    std::string name;
    Shows shows;
    std::vector<Layer> layers;
};

constexpr UvRect kBottomHalf{0.0f, 0.0f, 1.0f, 0.5f};
constexpr UvRect kTopHalf{0.0f, 0.5f, 1.0f, 1.0f};
constexpr UvRect kLeftHalf{0.0f, 0.0f, 0.5f, 1.0f};
constexpr UvRect kRightHalf{0.5f, 0.0f, 1.0f, 1.0f};
constexpr UvRect kTopLeft{0.0f, 0.5f, 0.5f, 1.0f};
constexpr UvRect kTopRight{0.5f, 0.5f, 1.0f, 1.0f};

Layer Make(const LayoutRect& rect, Sway sway, float amplitude, float phase, const UvRect& slot,
           std::function<Picture(std::uint32_t, std::uint32_t)> paint)
{
    return {{rect, slot, sway, amplitude, phase}, slot, std::move(paint)};
}

const std::vector<Theme>& ThemeTable()
{
    using P = LandscapePictures;
    static const std::vector<Theme> themes{
        {"sky",
         Shows::Always,
         {Make({-20.0f, -20.0f, 840.0f, 640.0f}, Sway::Drift, 0.0f, 0.0f, kBottomHalf, P::Sky),
          Make({-60.0f, 330.0f, 920.0f, 270.0f}, Sway::Drift, 22.0f, 0.0f, kTopHalf, P::Clouds)}},
        {"hills",
         Shows::Always,
         {Make({-20.0f, 120.0f, 840.0f, 280.0f}, Sway::Drift, 4.0f, 0.25f, kTopHalf, P::FarHills),
          Make({-20.0f, -10.0f, 840.0f, 320.0f}, Sway::Drift, 7.0f, 0.1f, kBottomHalf, P::NearHills)}},
        {"meadow",
         Shows::FromItsStage,
         {Make({-20.0f, -10.0f, 840.0f, 210.0f}, Sway::Bend, 3.0f, 0.0f, kTopHalf, P::Meadow),
          Make({-20.0f, -10.0f, 840.0f, 140.0f}, Sway::Bend, 9.0f, 0.4f, kBottomHalf, P::Grass)}},
        {"grove",
         Shows::FromItsStage,
         {Make({-40.0f, 10.0f, 290.0f, 580.0f}, Sway::Bend, 6.0f, 0.0f, kLeftHalf,
               [](std::uint32_t w, std::uint32_t h) { return P::Tree(w, h, 7); }),
          Make({590.0f, 0.0f, 250.0f, 500.0f}, Sway::Bend, 5.0f, 0.35f, kRightHalf,
               [](std::uint32_t w, std::uint32_t h) { return P::Tree(w, h, 19); })}},
        {"spring",
         Shows::FromItsStage,
         {Make({300.0f, 60.0f, 260.0f, 200.0f}, Sway::Ripple, 1.5f, 0.0f, kTopLeft, P::Brook),
          Make({140.0f, -6.0f, 520.0f, 110.0f}, Sway::Ripple, 2.0f, 0.3f, kBottomHalf, P::Pond),
          Make({70.0f, -6.0f, 150.0f, 170.0f}, Sway::Bend, 8.0f, 0.6f, kTopRight, P::Reeds)}},
        {"bloom",
         Shows::Finished,
         {Make({60.0f, 240.0f, 680.0f, 340.0f}, Sway::Drift, 3.0f, 0.0f, kTopHalf, P::Rainbow),
          Make({-20.0f, -10.0f, 840.0f, 230.0f}, Sway::Bend, 5.0f, 0.2f, kBottomHalf, P::Blossoms)}},
    };
    return themes;
}

// The theme's line of background.ini: kind 0 for a stage theme, 1 for a base theme, and the first stage theme
// index that shows it.
ThemeEntry Entry(const Theme& theme)
{
    const std::vector<StageDesign>& stages = LevelGenerator::Stages();
    switch (theme.shows) {
    case Shows::Always:
        return {theme.name, 1, 0};
    case Shows::Finished:
        return {theme.name, 0, static_cast<int>(stages.size())};
    case Shows::FromItsStage:
        break;
    }
    const auto stage = std::find_if(stages.begin(), stages.end(),
                                    [&theme](const StageDesign& design) { return design.environment == theme.name; });
    if (stage == stages.end())
        throw std::logic_error("no stage of the catalogue has the environment \"" + theme.name + "\"");
    return {theme.name, 0, static_cast<int>(stage - stages.begin())};
}

// The slot's texture coordinates pulled in by a pixel, so that filtering never reaches the neighbouring slot.
UvRect Inset(const UvRect& slot)
{
    const float pixel = 1.0f / static_cast<float>(kTextureSide);
    return {slot.u0 + pixel, slot.v0 + pixel, slot.u1 - pixel, slot.v1 - pixel};
}

Picture ThemePicture(const Theme& theme)
{
    Picture texture(kTextureSide, kTextureSide);
    for (const Layer& layer : theme.layers) {
        const auto side = static_cast<float>(kTextureSide);
        const auto width = static_cast<std::uint32_t>((layer.slot.u1 - layer.slot.u0) * side);
        const auto height = static_cast<std::uint32_t>((layer.slot.v1 - layer.slot.v0) * side);
        texture.Paste(layer.paint(width, height), static_cast<std::uint32_t>(layer.slot.u0 * side),
                      static_cast<std::uint32_t>(layer.slot.v0 * side));
    }
    return texture;
}

ModelArt ThemeModel(const Theme& theme)
{
    std::vector<Card> cards;
    for (const Layer& layer : theme.layers) {
        Card card = layer.card;
        card.uv = Inset(layer.slot);
        cards.push_back(card);
    }
    const std::string texture = "ui\\menus\\background\\textures\\" + theme.name;
    return {SwayingCards::Build(cards),
            Surface::Describe(SurfaceLook(texture + ".jpg").Opacity(texture + "_alpha.jpg").Blending(Blend::Alpha))};
}

} // namespace

std::vector<ThemeEntry> MenuBackgroundGenerator::Themes()
{
    std::vector<ThemeEntry> entries;
    for (const Theme& theme : ThemeTable())
        entries.push_back(Entry(theme));
    return entries;
}

std::string MenuBackgroundGenerator::IniText()
{
    std::string text = std::to_string(ThemeTable().size()) + "\r\n";
    for (const ThemeEntry& entry : Themes())
        text += entry.name + "\r\n" + std::to_string(entry.kind) + "\r\n" + std::to_string(entry.stage) + "\r\n";
    return text;
}

void MenuBackgroundGenerator::List(ArtList& list) const
{
    list.AddFile(kIniName, "GUIBackgroundWindow", [] {
        const std::string text = IniText();
        return Formats::Bytes(text.begin(), text.end());
    });
    for (const Theme& theme : ThemeTable()) {
        list.AddModel("ui\\menus\\background\\models\\" + theme.name, [&theme] { return ThemeModel(theme); });
        list.AddTexture("ui\\menus\\background\\textures\\" + theme.name, [&theme] { return ThemePicture(theme); });
    }
}

} // namespace Content
