#include "GUIGameLogicWindowBase.h"

#include "ProfileManagerBase.h"
#include "WindowRequest.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"

namespace GameFramework {

using KeystrelEngine::Config;

GUIGameLogicWindowBase::GUIGameLogicWindowBase(KeystrelEngine::Engine* engine, ProfileManagerBase* profiles)
    : m_engine(engine), m_config(engine->m_config.get()), m_window(engine->m_window.get()), m_profiles(profiles)
{
}

GUIGameLogicWindowBase::~GUIGameLogicWindowBase() = default;

void GUIGameLogicWindowBase::Update()
{
    m_result = RequestNone;
    if (m_config->GetCommandState("v_window_change_mode") != Config::kCommandRaised)
        m_fullScreen = m_config->v_fullscreen;
}

void GUIGameLogicWindowBase::Open(GameLogicBase* logic)
{
    m_logic = logic;
    m_profile = m_profiles->m_current;
    m_fullScreen = m_config->v_fullscreen;
}

void GUIGameLogicWindowBase::Close()
{
    m_logic = nullptr;
    m_profile = nullptr;
}

void GUIGameLogicWindowBase::SetActive(bool active)
{
    m_active = active;
}

} // namespace GameFramework
