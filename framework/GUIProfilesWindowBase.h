// The base of the list of profiles. Its game window reports RequestNewProfile, RequestRenameProfile,
// RequestDeleteProfile (with the profile's name in m_selectedName) or RequestBack.
#pragma once

#include "GUIRequestWindowBase.h"

#include <string>

namespace GameFramework {

class GUIProfilesWindowBase : public GUIRequestWindowBase
{
public:
    using GUIRequestWindowBase::GUIRequestWindowBase;

    std::u16string m_selectedName; // the profile that a rename or delete request names
};

} // namespace GameFramework
