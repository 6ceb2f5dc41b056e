// The base of the window that shows the running level. Open hands it the level's logic, and it keeps the
// current profile and the full-screen flag with it; the flag follows "v_fullscreen" every frame unless a
// window-mode change is pending. The active flag is false while a dialog lies over the level. Its game window
// reports RequestPause, RequestGameLogicMenu or RequestQuit (the game-exit window).
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Config;
class Engine;
class Window;
} // namespace KeystrelEngine

namespace GameFramework {

class GameLogicBase;
class ProfileBase;
class ProfileManagerBase;

class GUIGameLogicWindowBase
{
public:
    GUIGameLogicWindowBase(KeystrelEngine::Engine* engine, ProfileManagerBase* profiles);
    virtual ~GUIGameLogicWindowBase();

    GUIGameLogicWindowBase(const GUIGameLogicWindowBase&) = delete;
    GUIGameLogicWindowBase& operator=(const GUIGameLogicWindowBase&) = delete;

    // Clears the request and lets the full-screen flag follow "v_fullscreen" unless a window-mode change is
    // pending.
    virtual void Update();
    // Keeps the logic (owned by the game) with the current profile and "v_fullscreen".
    virtual void Open(GameLogicBase* logic);
    // Forgets the logic and the profile.
    virtual void Close();
    virtual void SetActive(bool active);

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing
    bool m_fullScreen = false;
    bool m_active = false;

protected:
    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::Config* m_config; // also the video settings
    KeystrelEngine::Window* m_window;
    ProfileManagerBase* m_profiles;
    ProfileBase* m_profile = nullptr;
    GameLogicBase* m_logic = nullptr;
};

} // namespace GameFramework
