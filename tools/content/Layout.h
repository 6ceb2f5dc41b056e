// Where things sit on the GUI's virtual screen: 800 x 600 units, y pointing up, 0 at the bottom. Every model
// and text check that needs a rectangle of the screen takes it from here, so the frames the models draw and
// the room the texts are measured against cannot drift apart.
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

    // Text areas: "title" (where the menu background types window titles), "big_window" and "small_window"
    // (the body text of the two dialog frames) and "bubble_1" .. "bubble_4" (the guide's speech bubble for one
    // to four lines at its widest).
    static const std::vector<LayoutArea>& Areas();

    // The rectangle of a named area; throws std::out_of_range for an unknown name.
    static const LayoutRect& Area(const std::string& name);
};

} // namespace Content
