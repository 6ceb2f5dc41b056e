// The base of the game-complete window; RequestDone acknowledges it.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIGameCompleteWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
