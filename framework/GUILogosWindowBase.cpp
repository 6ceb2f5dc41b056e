#include "GUILogosWindowBase.h"

#include "WindowRequest.h"

#include "engine/foundation/MessageManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"

namespace GameFramework {

GUILogosWindowBase::GUILogosWindowBase(KeystrelEngine::Engine* engine)
    : m_engine(engine), m_log(engine->m_log.get()), m_timers(engine->m_timers.get())
{
}

GUILogosWindowBase::~GUILogosWindowBase() = default;

void GUILogosWindowBase::Update()
{
    m_result = RequestNone;
}

void GUILogosWindowBase::Open() {}

void GUILogosWindowBase::Close() {}

} // namespace GameFramework
