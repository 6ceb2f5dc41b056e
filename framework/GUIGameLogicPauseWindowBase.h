// The base of the pause window over the running level; RequestResume resumes the level.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIGameLogicPauseWindowBase
{
public:
    explicit GUIGameLogicPauseWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIGameLogicPauseWindowBase();

    GUIGameLogicPauseWindowBase(const GUIGameLogicPauseWindowBase&) = delete;
    GUIGameLogicPauseWindowBase& operator=(const GUIGameLogicPauseWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
