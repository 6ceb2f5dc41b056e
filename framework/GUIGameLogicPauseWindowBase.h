// The base of the pause window over the running level; RequestResume resumes the level.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIGameLogicPauseWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
