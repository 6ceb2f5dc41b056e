#include "tools/content/menus/HudArt.h"

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

MenuModels::Maker Unfolding(const std::string& texture, float border)
{
    return [texture, border](const LayoutRect& rect) {
        return MenuModels::Unfolding(rect, border, MenuModels::Look(texture));
    };
}

MenuModels::Maker Control(const std::string& texture, std::uint32_t rows)
{
    return [texture, rows](const LayoutRect& rect) {
        return MenuModels::Open(rect, kButtonBorder, MenuModels::Look(texture, 4, rows));
    };
}

MenuModels::Maker Fill(const std::string& texture)
{
    return [texture](const LayoutRect& rect) {
        return MenuModels::Still(rect, MenuModels::Look(texture, 4, 4, MenuPictures::kBarFrames));
    };
}

// The top band with the picture's opaque edge up, the bottom band with it down.
ModelArt Bands()
{
    Mesh bands = Shapes::Panel(Layout::Area("game_logic\\top_band"));
    bands.Append(Shapes::Panel(Layout::Area("game_logic\\bottom_band"), {0.0f, 1.0f, 1.0f, 0.0f}));
    return {ModelFiles::Static(bands), Surface::Describe(MenuModels::Look("band"))};
}

void AddBar(ArtList& list, const std::string& folder, const std::string& bar, const std::string& texture)
{
    MenuModels::AddAt(list, folder + bar + "_background", Unfolding("bar_frame", 4.0f));
    MenuModels::AddAt(list, folder + bar, Fill(texture));
    MenuModels::AddAt(list, folder + bar + "_text_area", AreaModel);
}

} // namespace

void HudArt::List(ArtList& list) const
{
    const std::string hud = "game_logic\\";
    list.AddModel(MenuModels::ModelName(hud + "background"), Bands);
    MenuModels::AddAt(list, hud + "menu_button", Control("button", 1));
    for (const char* panel : {"level_name", "score"}) {
        MenuModels::AddAt(list, hud + panel, Unfolding("panel", 4.0f));
        MenuModels::AddAt(list, hud + panel + "_text_area", AreaModel);
        MenuModels::AddAt(list, hud + panel + "_title_text_area", AreaModel);
    }
    MenuModels::AddAt(list, hud + "mode_button", Control("button", 1));
    MenuModels::AddAt(list, hud + "minimize_button", Control("button_minimize", 1));
    MenuModels::AddAt(list, hud + "maximize_window_button", Control("check_window", 2));
    MenuModels::AddAt(list, hud + "maximize_fullscreen_button", Control("check_full_screen", 2));
    MenuModels::AddAt(list, hud + "close_button", Control("button_close", 1));
    AddBar(list, hud, "mana", "bar_mana");
    AddBar(list, hud, "energy", "bar_energy");

    const std::string done = "level_complete\\";
    MenuModels::AddAt(list, done + "frame", Unfolding("frame", 8.0f));
    MenuModels::AddAt(list, done + "upgrade", AreaModel);
    AddBar(list, done, "mana", "bar_mana");
}

} // namespace Content
