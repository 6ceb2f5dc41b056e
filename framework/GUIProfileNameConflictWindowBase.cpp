#include "GUIProfileNameConflictWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIProfileNameConflictWindowBase::GUIProfileNameConflictWindowBase() = default;

GUIProfileNameConflictWindowBase::~GUIProfileNameConflictWindowBase() = default;

void GUIProfileNameConflictWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIProfileNameConflictWindowBase::Open(std::int32_t callerCode)
{
    m_callerCode = callerCode;
}

void GUIProfileNameConflictWindowBase::Close() {}

} // namespace GameFramework
