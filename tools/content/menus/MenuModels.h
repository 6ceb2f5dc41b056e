// The models of the menus, the in-game window and the map, in virtual-screen units at their layout rectangles.
// Frames and the shared button and check-box base models unfold over 16 frames (0 folded to a sliver across
// the middle, the last open); a control's own button or check box is open in both of its 2 frames; text and
// selection areas and other static parts have one frame.
#pragma once

#include "tools/content/Layout.h"
#include "tools/content/art/ArtList.h"
#include "tools/content/art/Surface.h"

#include <functional>
#include <string>

namespace Content {

class MenuModels
{
public:
    static constexpr int kUnfoldFrames = 16;
    static constexpr int kControlFrames = 2;

    // A window or bar frame that unfolds over kUnfoldFrames.
    static ModelArt Unfolding(const LayoutRect& rect, float border, const SurfaceLook& look);
    // A control's own model: the same shape, open in each of its kControlFrames frames.
    static ModelArt Open(const LayoutRect& rect, float border, const SurfaceLook& look);
    // A static textured rectangle (panels, bars, bands).
    static ModelArt Still(const LayoutRect& rect, const SurfaceLook& look);
    // A rectangle that is never drawn: selection and text areas, scroll part places.
    static ModelArt Area(const LayoutRect& rect);
    // A unit square at the origin, for quads a widget scales to its rectangle.
    static ModelArt UnitQuad(const SurfaceLook& look);

    using Maker = std::function<ModelArt(const LayoutRect&)>;
    // Lists the model of the layout area of the same name below "ui\\menus\\models\\", made at its rectangle.
    static void AddAt(ArtList& list, const std::string& area, Maker make);

    // A texture of the shared menu folder with its opacity picture, alpha-blended, optionally a grid.
    static SurfaceLook Look(const std::string& texture, std::uint32_t columns = 1, std::uint32_t rows = 1,
                            std::uint32_t frames = 0);
    // The engine name of a model below "ui\\menus\\models\\".
    static std::string ModelName(const std::string& area);
    // The engine stem of a picture of the shared menu folder ("ui\\menus\\textures\\menu_" + name).
    static std::string TextureStem(const std::string& name);
};

} // namespace Content
