#include "GUIMainMenuWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIMainMenuWindowBase::GUIMainMenuWindowBase() = default;

GUIMainMenuWindowBase::~GUIMainMenuWindowBase() = default;

void GUIMainMenuWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIMainMenuWindowBase::Open() {}

void GUIMainMenuWindowBase::Close() {}

} // namespace GameFramework
