#include "tools/content/Layout.h"

#include <stdexcept>

namespace Content {

const std::vector<LayoutArea>& Layout::Areas()
{
    static const std::vector<LayoutArea> areas{
        {"title", {150.0f, 492.0f, 500.0f, 48.0f}},         {"big_window", {140.0f, 110.0f, 520.0f, 340.0f}},
        {"small_window", {150.0f, 220.0f, 500.0f, 150.0f}}, {"bubble_1", {170.0f, 420.0f, 440.0f, 56.0f}},
        {"bubble_2", {170.0f, 392.0f, 440.0f, 84.0f}},      {"bubble_3", {170.0f, 364.0f, 440.0f, 112.0f}},
        {"bubble_4", {170.0f, 336.0f, 440.0f, 140.0f}},
    };
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
