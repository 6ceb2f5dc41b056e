// The base of the logo window that opens at start-up; its game window reports RequestDone when the logos have
// been shown. It keeps the log and the timer manager for the game's timing of the logos.
#pragma once

#include "GUIRequestWindowBase.h"

namespace KeystrelEngine {
class MessageManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameFramework {

class GUILogosWindowBase : public GUIRequestWindowBase
{
public:
    explicit GUILogosWindowBase(KeystrelEngine::Engine* engine);

protected:
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::TimerManager* m_timers;
};

} // namespace GameFramework
