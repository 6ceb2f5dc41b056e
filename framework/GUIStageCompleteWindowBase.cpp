#include "GUIStageCompleteWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIStageCompleteWindowBase::GUIStageCompleteWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIStageCompleteWindowBase::~GUIStageCompleteWindowBase() = default;

void GUIStageCompleteWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIStageCompleteWindowBase::Open() {}

void GUIStageCompleteWindowBase::Close() {}

} // namespace GameFramework
