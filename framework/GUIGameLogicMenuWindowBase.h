// The base of the in-game menu: volumes and full screen changed while a level runs. There is no cancel: Close
// keeps what was set and stores it. Its game window reports RequestLeaveLevel or RequestResume.
#pragma once

#include "GUISettingsWindowBase.h"

namespace GameFramework {

class GUIGameLogicMenuWindowBase : public GUISettingsWindowBase
{
public:
    using GUISettingsWindowBase::GUISettingsWindowBase;

    // Takes "v_fullscreen" and the player's volumes.
    virtual void Open();
    // Saves the configuration, and the player's volumes into the current profile.
    virtual void Close();
    // When the choice differs from "v_fullscreen": writes it, saves the configuration and raises
    // "v_window_change_mode".
    virtual void ApplyFullScreen();
};

} // namespace GameFramework
