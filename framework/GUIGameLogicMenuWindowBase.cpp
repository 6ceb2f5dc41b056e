#include "GUIGameLogicMenuWindowBase.h"

#include "AudioPlayer.h"
#include "ProfileManagerBase.h"
#include "WindowRequest.h"

#include "engine/foundation/Config.h"
#include "engine/gui/Engine.h"

namespace GameFramework {

using KeystrelEngine::Config;

GUIGameLogicMenuWindowBase::GUIGameLogicMenuWindowBase(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                                       ProfileManagerBase* profiles)
    : m_engine(engine), m_config(engine->m_config.get()), m_player(player), m_profiles(profiles)
{
}

GUIGameLogicMenuWindowBase::~GUIGameLogicMenuWindowBase() = default;

void GUIGameLogicMenuWindowBase::Update()
{
    m_result = RequestNone;
    if (m_config->GetCommandState("v_window_change_mode") != Config::kCommandRaised)
        m_fullScreen = m_config->v_fullscreen;
}

void GUIGameLogicMenuWindowBase::Open()
{
    m_fullScreen = m_config->v_fullscreen;
    m_openSoundVolume = m_player->GetSoundVolume();
    m_openMusicVolume = m_player->GetMusicVolume();
}

void GUIGameLogicMenuWindowBase::Close()
{
    m_config->Save();
    if (m_profiles->m_current)
        m_profiles->SaveProfileVolumes(*m_profiles->m_current);
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
