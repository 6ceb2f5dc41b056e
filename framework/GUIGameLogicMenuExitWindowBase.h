// The base of the confirmation of leaving the level from the in-game menu: RequestBack leaves for the
// main menu, RequestGameLogicMenu goes back to the in-game menu.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIGameLogicMenuExitWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
