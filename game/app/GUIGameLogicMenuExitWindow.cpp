#include "game/app/GUIGameLogicMenuExitWindow.h"

#include "engine/gui/GUIWindow.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIMenuWindowManager.h"

namespace Wispfold {

GUIGameLogicMenuExitWindow::GUIGameLogicMenuExitWindow(KeystrelEngine::Engine* engine,
                                                       GameFramework::AudioPlayer* player, const GameData* data,
                                                       GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIGameLogicMenuExitWindowBase(engine),
      GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent), m_question(*this)
{
}

void GUIGameLogicMenuExitWindow::Open()
{
    RequestOpen();
    m_leaving.Clear();
}

void GUIGameLogicMenuExitWindow::Close()
{
    const bool closedItself = m_leaving.IsLeaving();
    m_leaving.Clear();
    if (!closedItself)
        CloseFrame();
}

void GUIGameLogicMenuExitWindow::Update()
{
    GUIGameLogicMenuExitWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible()) {
        if (m_leaving.IsDone(*this, *m_manager->m_background))
            m_result = GameFramework::RequestBack;
        return;
    }
    if (IsShown() && m_question.IsOkClicked())
        m_leaving.Start(*this, *m_manager->m_background);
    if (IsShown() && m_question.IsNoClicked())
        m_result = GameFramework::RequestGameLogicMenu;
    m_question.AddTexts();
}

} // namespace Wispfold
