// The base of the welcome window, shown at the first start to take the first player's name. Its game
// window reports RequestBack (to the main menu) or RequestQuit (the exit window).
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIWelcomeWindowBase
{
public:
    explicit GUIWelcomeWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIWelcomeWindowBase();

    GUIWelcomeWindowBase(const GUIWelcomeWindowBase&) = delete;
    GUIWelcomeWindowBase& operator=(const GUIWelcomeWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
