#include "GUIGameLogicGameExitWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIGameLogicGameExitWindowBase::GUIGameLogicGameExitWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIGameLogicGameExitWindowBase::~GUIGameLogicGameExitWindowBase() = default;

void GUIGameLogicGameExitWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIGameLogicGameExitWindowBase::Open() {}

void GUIGameLogicGameExitWindowBase::Close() {}

} // namespace GameFramework
