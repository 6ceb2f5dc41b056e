#include "GUIOptionsWindowBase.h"

#include "AudioPlayer.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>
#include <tuple>

namespace GameFramework {

using KeystrelEngine::Config;

void GUIOptionsWindowBase::Open()
{
    std::uint32_t width, height;
    Config::ParseVideoMode(m_config->v_mode, &width, &height, &m_bitsPerPixel);
    m_selected = FindVideoMode(width, height);
    if (m_selected == m_videoModes.size())
        m_selected = FindDefaultVideoMode();
    TakeSettings();
}

void GUIOptionsWindowBase::Close() {}

void GUIOptionsWindowBase::Apply()
{
    bool changed = false;
    if (m_selected < m_videoModes.size()) {
        const std::string mode = m_videoModes[m_selected].text + "x" + std::to_string(m_bitsPerPixel);
        if (KeystrelEngine::ToLower(mode) != KeystrelEngine::ToLower(m_config->v_mode)) {
            m_config->v_mode = mode;
            changed = true;
        }
    }
    if (m_config->v_fullscreen != m_fullScreen) {
        m_config->v_fullscreen = m_fullScreen;
        changed = true;
    }
    if (changed)
        m_config->SetCommandState("g_update_video_mode", Config::kCommandRaised);
    SaveSettings();
}

void GUIOptionsWindowBase::ResetToDefaults()
{
    Config::ParseVideoMode(m_config->GetDefaultValue("v_mode"), nullptr, nullptr, &m_bitsPerPixel);
    m_selected = FindDefaultVideoMode();
    m_fullScreen = true;
    m_player->SetSoundVolume(m_player->GetDefaultSoundVolume());
    m_player->SetMusicVolume(m_player->GetDefaultMusicVolume());
}

void GUIOptionsWindowBase::RestoreVolumes()
{
    m_player->SetSoundVolume(m_openSoundVolume);
    m_player->SetMusicVolume(m_openMusicVolume);
}

void GUIOptionsWindowBase::AddVideoMode(std::uint32_t width, std::uint32_t height)
{
    if (FindVideoMode(width, height) < m_videoModes.size())
        return;
    m_videoModes.push_back({std::to_string(width) + "x" + std::to_string(height), width, height});
    std::sort(m_videoModes.begin(), m_videoModes.end(), [](const VideoModeEntry& a, const VideoModeEntry& b) {
        return std::tie(a.width, a.height) < std::tie(b.width, b.height);
    });
}

std::uint32_t GUIOptionsWindowBase::FindDefaultVideoMode() const
{
    std::uint32_t width, height;
    Config::ParseVideoMode(m_config->GetDefaultValue("v_mode"), &width, &height, nullptr);
    const std::uint32_t found = FindVideoMode(width, height);
    return found < m_videoModes.size() ? found : 0;
}

std::uint32_t GUIOptionsWindowBase::FindVideoMode(std::uint32_t width, std::uint32_t height) const
{
    const auto found = std::find_if(m_videoModes.begin(), m_videoModes.end(), [&](const VideoModeEntry& entry) {
        return entry.width == width && entry.height == height;
    });
    return static_cast<std::uint32_t>(found - m_videoModes.begin());
}

} // namespace GameFramework
