#include "tools/content/Layout.h"

#include <stdexcept>

namespace Content {
namespace {

// The four frames: the title (478 .. 526) lies inside the top of each, the body text areas below it, and
// every frame stays below the in-game window's top band. The big and the small frame also open over a level,
// whose top band and bottom bars stay in view above them, so they keep clear of the bottom band as well.
const std::vector<LayoutArea> kFrames{
    {"title", {150.0f, 478.0f, 500.0f, 48.0f}},
    {"big_window", {150.0f, 130.0f, 500.0f, 348.0f}},
    {"small_window", {170.0f, 250.0f, 460.0f, 200.0f}},
    {"bubble_1", {170.0f, 420.0f, 440.0f, 56.0f}},
    {"bubble_2", {170.0f, 392.0f, 440.0f, 84.0f}},
    {"bubble_3", {170.0f, 364.0f, 440.0f, 112.0f}},
    {"bubble_4", {170.0f, 336.0f, 440.0f, 140.0f}},
    {"background\\text_area", {150.0f, 478.0f, 500.0f, 48.0f}},
    {"main_menu\\window", {150.0f, 16.0f, 500.0f, 524.0f}},
    {"main_menu\\window_area", {170.0f, 36.0f, 460.0f, 432.0f}},
    {"big_window\\window", {90.0f, 60.0f, 620.0f, 480.0f}},
    {"big_window\\window_area", {150.0f, 130.0f, 500.0f, 348.0f}},
    {"small_window\\window", {140.0f, 150.0f, 520.0f, 390.0f}},
    {"small_window\\window_area", {170.0f, 250.0f, 460.0f, 200.0f}},
    {"start_game\\window", {40.0f, 16.0f, 720.0f, 524.0f}},
    {"start_game\\window_area", {70.0f, 96.0f, 660.0f, 370.0f}},
};

// Buttons of the frames and the shared button models at the place of their first user. Every row and column
// stands in the middle of its frame: the main menu's column with even gaps below the title; the big frame's
// button_0, the one button of most windows, between button_1 and button_2; the small frame's button_1, its
// windows' only or confirming button, under button_0.
const std::vector<LayoutArea> kButtons{
    {"main_menu\\button_0", {250.0f, 50.0f, 300.0f, 50.0f}},
    {"main_menu\\button_1", {250.0f, 109.0f, 300.0f, 50.0f}},
    {"main_menu\\button_2", {250.0f, 168.0f, 300.0f, 50.0f}},
    {"main_menu\\button_3", {250.0f, 227.0f, 300.0f, 50.0f}},
    {"main_menu\\button_4", {250.0f, 286.0f, 300.0f, 50.0f}},
    {"main_menu\\button_5", {250.0f, 345.0f, 300.0f, 50.0f}},
    {"main_menu\\button_6", {250.0f, 404.0f, 300.0f, 50.0f}},
    {"controls\\button_main_menu", {250.0f, 404.0f, 300.0f, 50.0f}},
    {"controls\\button_main_menu_selection_area", {250.0f, 404.0f, 300.0f, 50.0f}},
    {"controls\\button_main_menu_text_area", {270.0f, 412.0f, 260.0f, 34.0f}},
    {"big_window\\button_0", {310.0f, 78.0f, 180.0f, 48.0f}},
    {"big_window\\button_1", {115.0f, 78.0f, 180.0f, 48.0f}},
    {"big_window\\button_2", {505.0f, 78.0f, 180.0f, 48.0f}},
    {"small_window\\button_0", {310.0f, 232.0f, 180.0f, 48.0f}},
    {"small_window\\button_1", {310.0f, 174.0f, 180.0f, 48.0f}},
    {"controls\\button_big", {310.0f, 78.0f, 180.0f, 48.0f}},
    {"controls\\button_big_selection_area", {310.0f, 78.0f, 180.0f, 48.0f}},
    {"controls\\button_big_text_area", {322.0f, 84.0f, 156.0f, 36.0f}},
    {"start_game\\button_0", {80.0f, 36.0f, 160.0f, 44.0f}},
    {"start_game\\button_1", {560.0f, 36.0f, 160.0f, 44.0f}},
    {"profiles\\button_0", {181.0f, 356.0f, 160.0f, 44.0f}},
    {"profiles\\button_1", {181.0f, 298.0f, 160.0f, 44.0f}},
    {"profiles\\button_2", {181.0f, 240.0f, 160.0f, 44.0f}},
    {"profiles\\button_3", {320.0f, 82.0f, 160.0f, 44.0f}},
    {"controls\\button_small", {80.0f, 36.0f, 160.0f, 44.0f}},
    {"controls\\button_small_selection_area", {80.0f, 36.0f, 160.0f, 44.0f}},
    {"controls\\button_small_text_area", {90.0f, 42.0f, 140.0f, 32.0f}},
};

// The settings of the options and in-game menu windows and the profile list, inside the big frame; the
// labels the windows print stand above the sliders and to the right of the check boxes.
const std::vector<LayoutArea> kSettings{
    {"small_window\\edit", {220.0f, 318.0f, 360.0f, 40.0f}},
    {"options\\slider_music", {250.0f, 342.0f, 300.0f, 28.0f}},
    {"options\\slider_sound", {250.0f, 290.0f, 300.0f, 28.0f}},
    {"options\\resolution_button_left", {250.0f, 246.0f, 26.0f, 26.0f}},
    {"options\\resolution_text", {282.0f, 246.0f, 236.0f, 26.0f}},
    {"options\\resolution_text_area", {290.0f, 246.0f, 220.0f, 26.0f}},
    {"options\\resolution_button_right", {524.0f, 246.0f, 26.0f, 26.0f}},
    {"options\\fullscreen_check_box", {200.0f, 206.0f, 32.0f, 32.0f}},
    {"game_logic_menu\\slider_music", {250.0f, 332.0f, 300.0f, 28.0f}},
    {"game_logic_menu\\slider_sound", {250.0f, 270.0f, 300.0f, 28.0f}},
    {"game_logic_menu\\fullscreen_check_box", {200.0f, 220.0f, 32.0f, 32.0f}},
    {"game_logic_menu\\relax_check_box", {200.0f, 182.0f, 32.0f, 32.0f}},
    {"controls\\check_box", {200.0f, 206.0f, 32.0f, 32.0f}},
    {"profiles\\text", {361.0f, 220.0f, 220.0f, 200.0f}},
    {"profiles\\scroll", {587.0f, 220.0f, 32.0f, 200.0f}},
    // The scroll parts in the scroll's own frame (see the placement rule).
    {"controls\\scroll_h_button_decrease", {0.0f, 0.0f, 28.0f, 28.0f}},
    {"controls\\scroll_h_button_increase", {272.0f, 0.0f, 28.0f, 28.0f}},
    {"controls\\scroll_h_toddler_min", {28.0f, 0.0f, 24.0f, 28.0f}},
    {"controls\\scroll_h_toddler_max", {248.0f, 0.0f, 24.0f, 28.0f}},
    {"controls\\scroll_v_button_decrease", {0.0f, 172.0f, 32.0f, 28.0f}},
    {"controls\\scroll_v_button_increase", {0.0f, 0.0f, 32.0f, 28.0f}},
    {"controls\\scroll_v_toddler_min", {0.0f, 144.0f, 32.0f, 28.0f}},
    {"controls\\scroll_v_toddler_max", {0.0f, 28.0f, 32.0f, 28.0f}},
};

// The in-game window: buttons and panels in the top band, bars in the bottom band; and the level-complete
// window's picture and bar inside the big frame.
const std::vector<LayoutArea> kInGame{
    {"game_logic\\top_band", {0.0f, Layout::kTopBand, Layout::kScreenWidth, Layout::kScreenHeight - Layout::kTopBand}},
    {"game_logic\\bottom_band", {0.0f, 0.0f, Layout::kScreenWidth, Layout::kBottomBand}},
    {"game_logic\\menu_button", {10.0f, 548.0f, 160.0f, 44.0f}},
    {"game_logic\\level_name", {180.0f, 546.0f, 150.0f, 50.0f}},
    {"game_logic\\level_name_title_text_area", {186.0f, 572.0f, 138.0f, 20.0f}},
    {"game_logic\\level_name_text_area", {186.0f, 549.0f, 138.0f, 24.0f}},
    {"game_logic\\score", {340.0f, 546.0f, 190.0f, 50.0f}},
    {"game_logic\\score_title_text_area", {346.0f, 572.0f, 178.0f, 20.0f}},
    {"game_logic\\score_text_area", {346.0f, 549.0f, 178.0f, 24.0f}},
    {"game_logic\\mode_button", {540.0f, 548.0f, 96.0f, 44.0f}},
    {"game_logic\\minimize_button", {648.0f, 550.0f, 40.0f, 40.0f}},
    {"game_logic\\maximize_window_button", {698.0f, 550.0f, 40.0f, 40.0f}},
    {"game_logic\\maximize_fullscreen_button", {698.0f, 550.0f, 40.0f, 40.0f}},
    {"game_logic\\close_button", {748.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_mode", {540.0f, 548.0f, 96.0f, 44.0f}},
    {"controls\\button_game_logic_mode_selection_area", {540.0f, 548.0f, 96.0f, 44.0f}},
    {"controls\\button_game_logic_mode_text_area", {548.0f, 554.0f, 80.0f, 32.0f}},
    {"controls\\button_game_logic_minimize", {648.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_minimize_selection_area", {648.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_minimize_text_area", {652.0f, 554.0f, 32.0f, 32.0f}},
    {"controls\\button_game_logic_maximize", {698.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_maximize_selection_area", {698.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_maximize_text_area", {702.0f, 554.0f, 32.0f, 32.0f}},
    {"controls\\button_game_logic_close", {748.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_close_selection_area", {748.0f, 550.0f, 40.0f, 40.0f}},
    {"controls\\button_game_logic_close_text_area", {752.0f, 554.0f, 32.0f, 32.0f}},
    {"game_logic\\mana_background", {30.0f, 6.0f, 350.0f, 48.0f}},
    {"game_logic\\mana", {46.0f, 16.0f, 318.0f, 28.0f}},
    {"game_logic\\mana_text_area", {46.0f, 16.0f, 318.0f, 28.0f}},
    {"game_logic\\energy_background", {420.0f, 6.0f, 350.0f, 48.0f}},
    {"game_logic\\energy", {436.0f, 16.0f, 318.0f, 28.0f}},
    {"game_logic\\energy_text_area", {436.0f, 16.0f, 318.0f, 28.0f}},
    {"level_complete\\frame", {316.0f, 320.0f, 168.0f, 144.0f}},
    {"level_complete\\upgrade", {336.0f, 328.0f, 128.0f, 128.0f}},
    {"controls\\upgrade", {336.0f, 328.0f, 128.0f, 128.0f}},
    {"level_complete\\mana_background", {170.0f, 262.0f, 460.0f, 48.0f}},
    {"level_complete\\mana", {186.0f, 272.0f, 428.0f, 28.0f}},
    {"level_complete\\mana_text_area", {186.0f, 272.0f, 428.0f, 28.0f}},
};

std::vector<LayoutArea> AllAreas()
{
    std::vector<LayoutArea> areas;
    for (const std::vector<LayoutArea>* group : {&kFrames, &kButtons, &kSettings, &kInGame})
        areas.insert(areas.end(), group->begin(), group->end());
    return areas;
}

} // namespace

const std::vector<LayoutArea>& Layout::Areas()
{
    static const std::vector<LayoutArea> areas = AllAreas();
    return areas;
}

const LayoutRect& Layout::Area(const std::string& name)
{
    for (const LayoutArea& area : Areas()) {
        if (area.name == name)
            return area.rect;
    }
    throw std::out_of_range("no layout area \"" + name + "\"");
}

} // namespace Content
