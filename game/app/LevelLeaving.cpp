#include "game/app/LevelLeaving.h"

#include "engine/gui/GUIWindow.h"
#include "game/app/GUIMenuWindow.h"
#include "game/app/MenuBackground.h"

namespace Wispfold {

void LevelLeaving::Start(GUIMenuWindow& window, MenuBackground& background)
{
    StartWithoutFade(window);
    background.ShowAll();
}

void LevelLeaving::StartWithoutFade(GUIMenuWindow& window)
{
    window.CloseFrame();
    m_leaving = true;
}

bool LevelLeaving::IsDone(const GUIMenuWindow& window, const MenuBackground& background) const
{
    return m_leaving && !window.GetFrameWidget()->IsVisible() && background.IsFadeComplete();
}

} // namespace Wispfold
