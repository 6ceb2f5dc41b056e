#include "game/app/GUIGameOverWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

GUIGameOverWindow::GUIGameOverWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                     const GameData* data, GUIMenuWindowManager* manager,
                                     KeystrelEngine::GUIWindow* parent)
    : GUIGameOverWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_continue(AddButton("small_window\\button_1", "controls\\button_big"))
{
    SetTitle("GAME_OVER_TITLE");
}

void GUIGameOverWindow::Open()
{
    RequestOpenOverPanel();
    m_leaving.Clear();
}

void GUIGameOverWindow::Close()
{
    m_leaving.Clear();
}

void GUIGameOverWindow::Update()
{
    GUIGameOverWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible()) {
        if (m_leaving.IsDone(*this, *m_manager->m_background))
            m_result = GameFramework::RequestDone;
        return;
    }
    if (IsClicked(*m_continue))
        m_leaving.Start(*this, *m_manager->m_background);
    for (std::int32_t line = 0; line < 2; ++line)
        MenuTexts::AddLine(*GetFrameWidget(), "GAME_OVER_TEXT_", line, 134.0f - 23.0f * static_cast<float>(line),
                           m_colour);
    MenuTexts::AddCaption(*m_continue, "CONTINUE", m_colour);
}

} // namespace Wispfold
