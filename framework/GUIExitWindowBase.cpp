#include "GUIExitWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIExitWindowBase::GUIExitWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIExitWindowBase::~GUIExitWindowBase() = default;

void GUIExitWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIExitWindowBase::Open(std::int32_t callerCode)
{
    m_callerCode = callerCode;
}

void GUIExitWindowBase::Close() {}

} // namespace GameFramework
