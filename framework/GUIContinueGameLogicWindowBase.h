// The base of the window that offers to continue the current player's saved game: RequestContinueGame,
// RequestNewGame or RequestBack.
#pragma once

#include "GUIRequestWindowBase.h"

namespace GameFramework {

class GUIContinueGameLogicWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;
};

} // namespace GameFramework
