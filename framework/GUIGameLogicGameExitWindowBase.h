// The base of the confirmation of quitting the program from the running level: RequestExitProgram
// quits, RequestResume goes back to the level.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIGameLogicGameExitWindowBase
{
public:
    explicit GUIGameLogicGameExitWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIGameLogicGameExitWindowBase();

    GUIGameLogicGameExitWindowBase(const GUIGameLogicGameExitWindowBase&) = delete;
    GUIGameLogicGameExitWindowBase& operator=(const GUIGameLogicGameExitWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
