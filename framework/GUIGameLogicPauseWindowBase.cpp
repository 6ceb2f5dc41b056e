#include "GUIGameLogicPauseWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIGameLogicPauseWindowBase::GUIGameLogicPauseWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIGameLogicPauseWindowBase::~GUIGameLogicPauseWindowBase() = default;

void GUIGameLogicPauseWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIGameLogicPauseWindowBase::Open() {}

void GUIGameLogicPauseWindowBase::Close() {}

} // namespace GameFramework
