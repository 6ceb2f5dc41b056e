#include "GUISettingsWindowBase.h"

#include "AudioPlayer.h"
#include "ProfileManagerBase.h"
#include "WindowRequest.h"

#include "engine/foundation/Config.h"
#include "engine/gui/Engine.h"

namespace GameFramework {

using KeystrelEngine::Config;

GUISettingsWindowBase::GUISettingsWindowBase(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                             ProfileManagerBase* profiles)
    : m_engine(engine), m_config(engine->m_config.get()), m_player(player), m_profiles(profiles)
{
}

GUISettingsWindowBase::~GUISettingsWindowBase() = default;

void GUISettingsWindowBase::Update()
{
    m_result = RequestNone;
    if (m_config->GetCommandState("v_window_change_mode") != Config::kCommandRaised)
        m_fullScreen = m_config->v_fullscreen;
}

void GUISettingsWindowBase::TakeSettings()
{
    m_fullScreen = m_config->v_fullscreen;
    m_openSoundVolume = m_player->GetSoundVolume();
    m_openMusicVolume = m_player->GetMusicVolume();
}

void GUISettingsWindowBase::SaveSettings()
{
    m_config->Save();
    if (m_profiles->m_current)
        m_profiles->SaveProfileVolumes(*m_profiles->m_current);
}

} // namespace GameFramework
