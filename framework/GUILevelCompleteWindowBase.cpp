#include "GUILevelCompleteWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUILevelCompleteWindowBase::GUILevelCompleteWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUILevelCompleteWindowBase::~GUILevelCompleteWindowBase() = default;

void GUILevelCompleteWindowBase::Update()
{
    m_result = RequestNone;
}

void GUILevelCompleteWindowBase::Open() {}

void GUILevelCompleteWindowBase::Close() {}

} // namespace GameFramework
