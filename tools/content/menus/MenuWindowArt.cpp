#include "tools/content/menus/MenuWindowArt.h"

#include "tools/content/menus/MapArt.h"
#include "tools/content/menus/MenuModels.h"

namespace Content {
namespace {

constexpr float kFrameBorder = 14.0f;
constexpr float kButtonBorder = 4.0f;

ModelArt FrameModel(const LayoutRect& rect)
{
    return MenuModels::Unfolding(rect, kFrameBorder, MenuModels::Look("frame"));
}

// The map's frame shows the valley its markers stand on.
ModelArt MapFrameModel(const LayoutRect& rect)
{
    return MenuModels::Unfolding(rect, kFrameBorder, MapArt::ValleyLook());
}

ModelArt AreaModel(const LayoutRect& rect)
{
    return MenuModels::Area(rect);
}

ModelArt PanelModel(const LayoutRect& rect)
{
    return MenuModels::Still(rect, MenuModels::Look("panel"));
}

MenuModels::Maker ButtonModel(const std::string& texture)
{
    return [texture](const LayoutRect& rect) {
        return MenuModels::Open(rect, kButtonBorder, MenuModels::Look(texture, 4, 1));
    };
}

ModelArt CheckBoxModel(const LayoutRect& rect)
{
    return MenuModels::Open(rect, kButtonBorder, MenuModels::Look("check_box", 4, 2));
}

void AddButtons(ArtList& list, const std::string& folder, int count, const std::string& texture)
{
    for (int i = 0; i < count; ++i)
        MenuModels::AddAt(list, folder + "\\button_" + std::to_string(i), ButtonModel(texture));
}

} // namespace

void MenuWindowArt::List(ArtList& list) const
{
    MenuModels::AddAt(list, "background\\text_area", AreaModel);
    for (const char* frame : {"small_window", "big_window", "main_menu", "start_game"}) {
        MenuModels::AddAt(list, std::string(frame) + "\\window",
                          std::string(frame) == "start_game" ? MapFrameModel : FrameModel);
        MenuModels::AddAt(list, std::string(frame) + "\\window_area", AreaModel);
        if (std::string(frame) == "small_window")
            MenuModels::AddAt(list, "small_window\\edit", PanelModel);
    }
    AddButtons(list, "small_window", 2, "button");
    AddButtons(list, "big_window", 3, "button");
    AddButtons(list, "main_menu", 7, "button_main");
    AddButtons(list, "start_game", 2, "button");

    MenuModels::AddAt(list, "options\\fullscreen_check_box", CheckBoxModel);
    MenuModels::AddAt(list, "options\\resolution_button_left", ButtonModel("arrow_left"));
    MenuModels::AddAt(list, "options\\resolution_button_right", ButtonModel("arrow_right"));
    MenuModels::AddAt(list, "options\\resolution_text", PanelModel);
    MenuModels::AddAt(list, "options\\resolution_text_area", AreaModel);
    MenuModels::AddAt(list, "options\\slider_music", AreaModel);
    MenuModels::AddAt(list, "options\\slider_sound", AreaModel);

    AddButtons(list, "profiles", 4, "button");
    MenuModels::AddAt(list, "profiles\\scroll", AreaModel);
    MenuModels::AddAt(list, "profiles\\text", PanelModel);

    MenuModels::AddAt(list, "game_logic_menu\\relax_check_box", CheckBoxModel);
    MenuModels::AddAt(list, "game_logic_menu\\fullscreen_check_box", CheckBoxModel);
    MenuModels::AddAt(list, "game_logic_menu\\slider_music", AreaModel);
    MenuModels::AddAt(list, "game_logic_menu\\slider_sound", AreaModel);
}

} // namespace Content
