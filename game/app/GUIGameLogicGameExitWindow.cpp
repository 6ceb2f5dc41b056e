#include "game/app/GUIGameLogicGameExitWindow.h"

#include "engine/gui/GUIWindow.h"
#include "framework/WindowRequest.h"

namespace Wispfold {

GUIGameLogicGameExitWindow::GUIGameLogicGameExitWindow(KeystrelEngine::Engine* engine,
                                                       GameFramework::AudioPlayer* player, const GameData* data,
                                                       GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIGameLogicGameExitWindowBase(engine),
      GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent), m_question(*this)
{
}

void GUIGameLogicGameExitWindow::Open()
{
    RequestOpenOverPanel();
}

void GUIGameLogicGameExitWindow::Close()
{
    CloseFrame();
}

void GUIGameLogicGameExitWindow::Update()
{
    GUIGameLogicGameExitWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsShown() && m_question.IsOkClicked())
        m_result = GameFramework::RequestExitProgram;
    if (IsShown() && m_question.IsNoClicked())
        m_result = GameFramework::RequestResume;
    m_question.AddTexts();
}

} // namespace Wispfold
