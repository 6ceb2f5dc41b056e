#include "GUIGameCompleteWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIGameCompleteWindowBase::GUIGameCompleteWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIGameCompleteWindowBase::~GUIGameCompleteWindowBase() = default;

void GUIGameCompleteWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIGameCompleteWindowBase::Open() {}

void GUIGameCompleteWindowBase::Close() {}

} // namespace GameFramework
