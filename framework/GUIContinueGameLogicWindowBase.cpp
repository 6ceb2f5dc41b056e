#include "GUIContinueGameLogicWindowBase.h"

#include "WindowRequest.h"

namespace GameFramework {

GUIContinueGameLogicWindowBase::GUIContinueGameLogicWindowBase(KeystrelEngine::Engine* engine) : m_engine(engine) {}

GUIContinueGameLogicWindowBase::~GUIContinueGameLogicWindowBase() = default;

void GUIContinueGameLogicWindowBase::Update()
{
    m_result = RequestNone;
}

void GUIContinueGameLogicWindowBase::Open() {}

void GUIContinueGameLogicWindowBase::Close() {}

} // namespace GameFramework
