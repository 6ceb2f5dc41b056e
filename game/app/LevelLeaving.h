// How a window that ends a level takes the player back to the menus: it closes its own frame, the menu scene
// fades back in, and the window reports only once its frame has gone and the fade has ended, so the next menu
// appears over the restored scene.
#pragma once

namespace Wispfold {

class GUIMenuWindow;
class MenuBackground;

class LevelLeaving
{
public:
    // The window closes itself and the background brings the menu scene back.
    void Start(GUIMenuWindow& window, MenuBackground& background);
    // The window closes itself and the background fades by its own choice (the upgrade's scene).
    void StartWithoutFade(GUIMenuWindow& window);
    // Leaving, the frame gone and the background's fade over.
    bool IsDone(const GUIMenuWindow& window, const MenuBackground& background) const;
    bool IsLeaving() const { return m_leaving; }
    void Clear() { m_leaving = false; }

private:
    bool m_leaving = false;
};

} // namespace Wispfold
