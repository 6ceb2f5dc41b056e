// The base of the welcome window, shown at the first start to take the first player's name. Its game
// window reports RequestBack (to the main menu) or RequestQuit (the exit window).
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIWelcomeWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
