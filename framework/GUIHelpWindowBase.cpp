#include "GUIHelpWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIHelpWindowBase::GUIHelpWindowBase() = default;

GUIHelpWindowBase::~GUIHelpWindowBase() = default;

void GUIHelpWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIHelpWindowBase::Open() {}

void GUIHelpWindowBase::Close() {}

} // namespace GameFramework
