#include "GUIDeleteProfileWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIDeleteProfileWindowBase::GUIDeleteProfileWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIDeleteProfileWindowBase::~GUIDeleteProfileWindowBase() = default;

void GUIDeleteProfileWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIDeleteProfileWindowBase::Open(const std::u16string& name)
{
    m_profileName = name;
}

void GUIDeleteProfileWindowBase::Close() {}

} // namespace GameFramework
