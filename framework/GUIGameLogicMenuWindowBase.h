// The base of the in-game menu: volumes and full screen changed while a level runs. The full-screen choice
// follows "v_fullscreen" every frame unless a window-mode change is pending, so that the menu shows the
// player's choice until the frame has carried it out. There is no cancel: Close keeps what was set and stores
// it. Its game window reports RequestLeaveLevel or RequestResume.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Config;
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class AudioPlayer;
class ProfileManagerBase;

class GUIGameLogicMenuWindowBase
{
public:
    GUIGameLogicMenuWindowBase(KeystrelEngine::Engine* engine, AudioPlayer* player, ProfileManagerBase* profiles);
    virtual ~GUIGameLogicMenuWindowBase();

    GUIGameLogicMenuWindowBase(const GUIGameLogicMenuWindowBase&) = delete;
    GUIGameLogicMenuWindowBase& operator=(const GUIGameLogicMenuWindowBase&) = delete;

    // Clears the request and lets the full-screen choice follow "v_fullscreen" unless a window-mode change is
    // pending.
    virtual void Update();
    // Takes "v_fullscreen" and the player's volumes.
    virtual void Open();
    // Saves the configuration, and the player's volumes into the current profile.
    virtual void Close();
    // When the choice differs from "v_fullscreen": writes it, saves the configuration and raises
    // "v_window_change_mode".
    virtual void ApplyFullScreen();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing
    bool m_fullScreen = false;  // the player's choice

protected:
    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::Config* m_config; // also the video settings
    AudioPlayer* m_player;
    ProfileManagerBase* m_profiles;
    float m_openSoundVolume = 1.0f;
    float m_openMusicVolume = 1.0f;
};

} // namespace GameFramework
