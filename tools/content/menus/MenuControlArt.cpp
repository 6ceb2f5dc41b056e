#include "tools/content/menus/MenuControlArt.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Shapes.h"
#include "tools/content/menus/MenuModels.h"
#include "tools/content/menus/MenuPictures.h"

namespace Content {
namespace {

constexpr float kButtonBorder = 4.0f;

ModelArt AreaModel(const LayoutRect& rect)
{
    return MenuModels::Area(rect);
}

// A base model with its selection and text areas.
void AddBase(ArtList& list, const std::string& name, const SurfaceLook& look)
{
    MenuModels::AddAt(list, "controls\\" + name,
                      [look](const LayoutRect& rect) { return MenuModels::Unfolding(rect, kButtonBorder, look); });
    MenuModels::AddAt(list, "controls\\" + name + "_selection_area", AreaModel);
    MenuModels::AddAt(list, "controls\\" + name + "_text_area", AreaModel);
}

void AddQuad(ArtList& list, const std::string& name, const SurfaceLook& look)
{
    list.AddModel(MenuModels::ModelName("controls\\" + name), [look] { return MenuModels::UnitQuad(look); });
}

void AddScroll(ArtList& list, const std::string& direction, const char* track)
{
    const std::string scroll = "scroll_" + direction;
    AddQuad(list, scroll, MenuModels::Look(track));
    AddQuad(list, scroll + "_toddler", MenuModels::Look("thumb", 4, 1));
    for (const char* part : {"_toddler_min", "_toddler_max", "_button_increase", "_button_decrease"})
        MenuModels::AddAt(list, "controls\\" + scroll + part, AreaModel);
}

// The picture's frame k lies in cell k of its 4 x 2 grid; every frame maps the quad onto its own cell.
ModelArt Upgrade(const LayoutRect& rect)
{
    const int frames = static_cast<int>(MenuPictures::UpgradeFrames());
    const auto frame = [&rect](int k) {
        const float u = 0.25f * static_cast<float>(k % 4), v = 0.5f * static_cast<float>(1 - k / 4);
        return Shapes::Panel(rect, {u, v, u + 0.25f, v + 0.5f});
    };
    return {ModelFiles::Morph(frames, 0.0f, frame), Surface::Describe(MenuModels::Look("upgrades"))};
}

} // namespace

void MenuControlArt::List(ArtList& list) const
{
    for (const char* arrow : {"up", "down", "left", "right"})
        AddQuad(list, std::string("button_arrow_") + arrow, MenuModels::Look(std::string("arrow_") + arrow, 4, 1));
    AddBase(list, "button_main_menu", MenuModels::Look("button_main", 4, 1));
    AddBase(list, "button_big", MenuModels::Look("button", 4, 1));
    AddBase(list, "button_small", MenuModels::Look("button", 4, 1));
    AddBase(list, "button_game_logic_mode", MenuModels::Look("button", 4, 1));
    AddBase(list, "button_game_logic_minimize", MenuModels::Look("button_minimize", 4, 1));
    AddBase(list, "button_game_logic_maximize", MenuModels::Look("check_window", 4, 2));
    AddBase(list, "button_game_logic_close", MenuModels::Look("button_close", 4, 1));
    MenuModels::AddAt(list, "controls\\upgrade", Upgrade);
    MenuModels::AddAt(list, "controls\\check_box", [](const LayoutRect& rect) {
        return MenuModels::Unfolding(rect, kButtonBorder, MenuModels::Look("check_box", 4, 2));
    });
    AddScroll(list, "h", "track_h");
    AddScroll(list, "v", "track_v");
}

} // namespace Content
