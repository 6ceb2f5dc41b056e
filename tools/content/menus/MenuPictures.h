// The pictures of the menus, the in-game window and the map: frames, button faces in their state frames,
// check boxes, arrows, slider parts, bars that empty over 16 frames, panels, the upgrade pictures and the map
// markers. One palette for all (dark teal glass in gilded wood, leaf-green faces), so every window looks like
// part of one game. Grids follow the engine's order (frame k in column k % columns of row k / columns from the
// top); the widget state frames are those of the button (normal, hover, pressed, disabled) and the check box
// (unchecked 0-2, checked 3-5, disabled unchecked 6, disabled checked 7).
#pragma once

#include "tools/content/art/Picture.h"

#include <cstdint>

namespace Content {

enum class ButtonIcon
{
    None,
    Minimize,
    Window,
    FullScreen,
    Close,
    ArrowLeft,
    ArrowRight,
    ArrowUp,
    ArrowDown,
};

enum class MarkerKind
{
    Start,
    Finish,
    CheckPoint,
    Path,
    PathCheckPoint,
};

class MenuPictures
{
public:
    static constexpr std::uint32_t kButtonStates = 4;
    static constexpr std::uint32_t kCheckBoxStates = 8;
    static constexpr std::uint32_t kBarFrames = 16;
    static constexpr std::uint32_t kMarkerFrames = 6;

    // A window frame of width x height pixels: a gilded rim of rim pixels round dark glass.
    static Picture Frame(std::uint32_t width, std::uint32_t height, float rim);
    // A flat panel (text fields, the in-game level and score plates, the profile list).
    static Picture Panel(std::uint32_t width, std::uint32_t height);
    // The four button states side by side (4 x 1 cells of the given size), with the icon on each.
    static Picture Buttons(std::uint32_t width, std::uint32_t height, ButtonIcon icon = ButtonIcon::None);
    // The eight check-box frames (4 x 2 cells); the icon stands in the box and lights up when checked.
    static Picture CheckBoxes(ButtonIcon icon = ButtonIcon::None);
    // The groove of a slider (horizontal) or of the list scroll (vertical).
    static Picture Track(bool vertical);
    // The fill of a bar in 16 frames (4 x 4 cells), full in frame 0 and empty in frame 15.
    static Picture Bar(const Color& colour);
    // The dark bands behind the in-game window's top and bottom rows, opaque at the picture's top edge.
    static Picture Band();
    // Two frames per stage of the level catalogue: the upgrade won with stage s awakened (2s) and asleep (2s + 1).
    static std::uint32_t UpgradeFrames();
    // The upgrade of each stage in 4 x 2 cells: frame 2s its charm awakened, frame 2s + 1 still asleep.
    static Picture Upgrades();
    // One map marker in 4 x 2 cells: states 0 reachable (a light ring), 1 passed (green with a tick),
    // 2 highlighted, 3 selected, 4 ahead (grey with a padlock: still locked), and frame 5 its shadow.
    static Picture Marker(MarkerKind kind);
};

} // namespace Content
