// What the menu windows share: the background they appear over, and whether the screen is free for a menu
// frame. One frame is on screen at a time; a window opened while another frame is still there waits until that
// one has gone. The level-complete window keeps its count-up state here for the in-game window to read.
#pragma once

namespace Wispfold {

class MenuBackground;

class GUIMenuWindowManager
{
public:
    explicit GUIMenuWindowManager(MenuBackground* background);
    virtual ~GUIMenuWindowManager();

    GUIMenuWindowManager(const GUIMenuWindowManager&) = delete;
    GUIMenuWindowManager& operator=(const GUIMenuWindowManager&) = delete;

    MenuBackground* m_background; // not owned
    // No menu frame on screen. The game sets it once the background scene is ready for menus.
    bool m_frameFree = false;
    bool m_firstCountUp = false;  // the level-complete window's mana bar runs
    bool m_secondCountUp = false; // its energy count has started
    float m_countUpLimit = 0.0f;  // caps the counted energy
};

} // namespace Wispfold
