// Where things sit on the GUI's virtual screen: 800 x 600 units, y pointing up, 0 at the bottom. Every model
// and text check that needs a rectangle of the screen takes it from here, so the frames the models draw and
// the room the texts are measured against cannot drift apart.
//
// Placement rule of the GUI models: a window at position (0, 0) and scale 1 shows a model where its vertices
// lie, and a model's "position" is its box's minimum corner (x, y), its size twice its half extents. A
// control's own model (named after its window's folder, "main_menu\\button_2") stands at its final place. A
// shared base model ("controls\\button_main_menu") and its selection-area and text-area models stand once at a
// reference place, the place of one of the controls that uses them; every control shows them shifted by its
// own model's position minus the base model's position, so all controls of one base share its size. The scroll
// parts are the exception that proves the rule: their widgets scale the track, thumb and arrow quads (unit
// squares at the origin) to their rectangles, so their reference place is the origin and the part rectangles
// ("controls\\scroll_h_toddler_min") lie in the scroll's own frame, for the one size every scroll of that
// direction has.
#pragma once

#include <string>
#include <vector>

namespace Content {

struct LayoutRect
{
    float left;
    float bottom;
    float width;
    float height;

    float Right() const { return left + width; }
    float Top() const { return bottom + height; }
    bool Contains(const LayoutRect& inner) const
    {
        return inner.left >= left && inner.bottom >= bottom && inner.Right() <= Right() && inner.Top() <= Top();
    }
};

struct LayoutArea
{
    std::string name;
    LayoutRect rect;
};

class Layout
{
public:
    static constexpr float kScreenWidth = 800.0f;
    static constexpr float kScreenHeight = 600.0f;
    // The in-game window keeps its buttons and panels above kTopBand and its bars below kBottomBand, and the
    // board's cameras leave both bands free.
    static constexpr float kTopBand = 540.0f;
    static constexpr float kBottomBand = 60.0f;

    // Text areas: "title" (where the menu background types window titles), "big_window" and "small_window"
    // (the body text of the two dialog frames) and "bubble_1" .. "bubble_4" (the guide's speech bubble for one
    // to four lines at its widest). Every other area is the rectangle of the GUI model of the same name below
    // "ui\\menus\\models\\" ("main_menu\\window", "controls\\button_big_text_area", "game_logic\\mana"), but
    // for "game_logic\\top_band" and "game_logic\\bottom_band", which together make "game_logic\\background".
    static const std::vector<LayoutArea>& Areas();

    // The rectangle of a named area; throws std::out_of_range for an unknown name.
    static const LayoutRect& Area(const std::string& name);
};

} // namespace Content
