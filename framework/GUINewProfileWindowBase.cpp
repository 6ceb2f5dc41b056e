#include "GUINewProfileWindowBase.h"

#include "ProfileManagerBase.h"
#include "WindowRequest.h"

namespace GameFramework {

GUINewProfileWindowBase::GUINewProfileWindowBase(ProfileManagerBase* profiles) : m_profiles(profiles) {}

GUINewProfileWindowBase::~GUINewProfileWindowBase() = default;

void GUINewProfileWindowBase::Update()
{
    m_result = RequestNone;
}

void GUINewProfileWindowBase::Open(std::int32_t /*clear*/) {}

void GUINewProfileWindowBase::Close() {}

bool GUINewProfileWindowBase::CreateProfile(const std::u16string& name)
{
    if (m_profiles->FindProfile(name))
        return false;
    m_profiles->m_current = m_profiles->AddProfile(name);
    m_profiles->Save();
    return true;
}

} // namespace GameFramework
