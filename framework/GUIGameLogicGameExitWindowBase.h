// The base of the confirmation of quitting the program from the running level: RequestExitProgram
// quits, RequestResume goes back to the level.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIGameLogicGameExitWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
