// The base of the stage-complete window; RequestDone acknowledges it.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIStageCompleteWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
