#include "GUIGameLogicMenuWindowBase.h"

#include "engine/foundation/Config.h"

namespace GameFramework {

using KeystrelEngine::Config;

void GUIGameLogicMenuWindowBase::Open()
{
    TakeSettings();
}

void GUIGameLogicMenuWindowBase::Close()
{
    SaveSettings();
}

void GUIGameLogicMenuWindowBase::ApplyFullScreen()
{
    if (m_fullScreen == m_config->v_fullscreen)
        return;
    m_config->v_fullscreen = m_fullScreen;
    m_config->Save();
    m_config->SetCommandState("v_window_change_mode", Config::kCommandRaised);
}

} // namespace GameFramework
