#include "GUIGameOverWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIGameOverWindowBase::GUIGameOverWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIGameOverWindowBase::~GUIGameOverWindowBase() = default;

void GUIGameOverWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIGameOverWindowBase::Open() {}

void GUIGameOverWindowBase::Close() {}

} // namespace GameFramework
