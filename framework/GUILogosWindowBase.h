// The base of the logo window that opens at start-up; its game window reports RequestDone when the logos have
// been shown. It keeps the log and the timer manager for the game's timing of the logos.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
class MessageManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameFramework {

class GUILogosWindowBase
{
public:
    explicit GUILogosWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUILogosWindowBase();

    GUILogosWindowBase(const GUILogosWindowBase&) = delete;
    GUILogosWindowBase& operator=(const GUILogosWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::TimerManager* m_timers;
};

} // namespace GameFramework
