#include "GUIProfilesWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIProfilesWindowBase::GUIProfilesWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIProfilesWindowBase::~GUIProfilesWindowBase() = default;

void GUIProfilesWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIProfilesWindowBase::Open() {}

void GUIProfilesWindowBase::Close() {}

} // namespace GameFramework
