// The base of the level-complete window; RequestDone acknowledges it.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUILevelCompleteWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
