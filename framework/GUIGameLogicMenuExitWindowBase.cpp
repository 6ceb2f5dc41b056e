#include "GUIGameLogicMenuExitWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIGameLogicMenuExitWindowBase::GUIGameLogicMenuExitWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIGameLogicMenuExitWindowBase::~GUIGameLogicMenuExitWindowBase() = default;

void GUIGameLogicMenuExitWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIGameLogicMenuExitWindowBase::Open() {}

void GUIGameLogicMenuExitWindowBase::Close() {}

} // namespace GameFramework
