// The base of the game-over window; RequestDone acknowledges it.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIGameOverWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
