#include "GUIRequestWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIRequestWindowBase::GUIRequestWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIRequestWindowBase::~GUIRequestWindowBase() = default;

void GUIRequestWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIRequestWindowBase::Open() {}

void GUIRequestWindowBase::Close() {}

} // namespace GameFramework
