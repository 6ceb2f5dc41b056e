// The base of the windows that change the full screen and the volumes (the options window and the in-game menu):
// the full-screen choice follows "v_fullscreen" every frame unless a window-mode change is pending, so that the
// window shows the player's choice until the frame has carried it out; the player's volumes are noted at Open.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Config;
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class AudioPlayer;
class ProfileManagerBase;

class GUISettingsWindowBase
{
public:
    GUISettingsWindowBase(KeystrelEngine::Engine* engine, AudioPlayer* player, ProfileManagerBase* profiles);
    virtual ~GUISettingsWindowBase();

    GUISettingsWindowBase(const GUISettingsWindowBase&) = delete;
    GUISettingsWindowBase& operator=(const GUISettingsWindowBase&) = delete;

    // Clears the request and lets the full-screen choice follow "v_fullscreen" unless a window-mode change is
    // pending.
    virtual void Update();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing
    bool m_fullScreen = false;  // the player's choice

protected:
    // Takes "v_fullscreen" and the player's volumes.
    void TakeSettings();
    // Saves the configuration, and the player's volumes into the current profile.
    void SaveSettings();

    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::Config* m_config; // also the video settings: "v_mode" and "v_fullscreen"
    AudioPlayer* m_player;
    ProfileManagerBase* m_profiles;
    float m_openSoundVolume = 1.0f;
    float m_openMusicVolume = 1.0f;
};

} // namespace GameFramework
