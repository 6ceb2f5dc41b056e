// The base of the exit confirmation. It keeps the code of the window that opened it (1 welcome, 2 main
// menu, 3 new profile), so that its game window can report the way back: RequestWelcome, RequestBack or
// RequestNewProfile; RequestExitProgram quits.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIExitWindowBase
{
public:
    explicit GUIExitWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIExitWindowBase();

    GUIExitWindowBase(const GUIExitWindowBase&) = delete;
    GUIExitWindowBase& operator=(const GUIExitWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // Keeps the parameter.
    virtual void Open(std::int32_t callerCode);
    virtual void Close();
    // Whether the player has confirmed the quit, which the game's window reports once it has gone.
    virtual bool IsConfirmed() const { return false; }

    std::uint32_t m_result = 0;    // a WindowRequest; 0 asks for nothing
    std::int32_t m_callerCode = 0; // as opened

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
