#include "GUIStartGameLogicWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIStartGameLogicWindowBase::GUIStartGameLogicWindowBase() = default;

GUIStartGameLogicWindowBase::~GUIStartGameLogicWindowBase() = default;

void GUIStartGameLogicWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIStartGameLogicWindowBase::Open(std::int32_t mode)
{
    m_mode = mode;
}

void GUIStartGameLogicWindowBase::Close() {}

} // namespace GameFramework
