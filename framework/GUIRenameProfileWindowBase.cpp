#include "GUIRenameProfileWindowBase.h"

#include "ProfileManagerBase.h"
#include "WindowRequest.h"

namespace GameFramework {

GUIRenameProfileWindowBase::GUIRenameProfileWindowBase(ProfileManagerBase* profiles) : m_profiles(profiles) {}

GUIRenameProfileWindowBase::~GUIRenameProfileWindowBase() = default;

void GUIRenameProfileWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIRenameProfileWindowBase::Open(bool keepName, const std::u16string& name)
{
    if (keepName)
        m_profileName = name;
}

void GUIRenameProfileWindowBase::Close() {}

bool GUIRenameProfileWindowBase::RenameProfile(const std::u16string& name)
{
    if (FoldProfileName(name) == FoldProfileName(m_profileName))
        return true;
    if (m_profiles->FindProfile(name) || !m_profiles->m_current)
        return false;
    const std::u16string oldName = m_profiles->m_current->GetName();
    m_profiles->RenameProfile(oldName, name);
    return true;
}

} // namespace GameFramework
