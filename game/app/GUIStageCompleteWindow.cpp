#include "game/app/GUIStageCompleteWindow.h"

#include "framework/WindowRequest.h"

namespace Wispfold {

void GUIStageCompleteWindow::Update()
{
    GUIStageCompleteWindowBase::Update();
    if (!m_pending)
        return;
    m_pending = false;
    m_result = GameFramework::RequestDone;
}

} // namespace Wispfold
