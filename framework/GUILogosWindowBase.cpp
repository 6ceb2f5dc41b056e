#include "GUILogosWindowBase.h"

#include "engine/foundation/MessageManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"

namespace GameFramework {

GUILogosWindowBase::GUILogosWindowBase(KeystrelEngine::Engine* engine)
    : GUIRequestWindowBase(engine), m_log(engine->m_log.get()), m_timers(engine->m_timers.get())
{
}

} // namespace GameFramework
