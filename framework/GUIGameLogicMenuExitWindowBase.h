// The base of the confirmation of leaving the level from the in-game menu: RequestBack leaves for the
// main menu, RequestGameLogicMenu goes back to the in-game menu.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIGameLogicMenuExitWindowBase
{
public:
    explicit GUIGameLogicMenuExitWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIGameLogicMenuExitWindowBase();

    GUIGameLogicMenuExitWindowBase(const GUIGameLogicMenuExitWindowBase&) = delete;
    GUIGameLogicMenuExitWindowBase& operator=(const GUIGameLogicMenuExitWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
