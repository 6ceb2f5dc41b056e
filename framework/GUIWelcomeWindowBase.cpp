#include "GUIWelcomeWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIWelcomeWindowBase::GUIWelcomeWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIWelcomeWindowBase::~GUIWelcomeWindowBase() = default;

void GUIWelcomeWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIWelcomeWindowBase::Open() {}

void GUIWelcomeWindowBase::Close() {}

} // namespace GameFramework
