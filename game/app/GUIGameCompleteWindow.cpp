#include "game/app/GUIGameCompleteWindow.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"
#include "game/app/TextLineCount.h"

#include <string>

namespace Wispfold {

namespace {

// Keys made once: the texts are added every frame.
const std::string kText = "GAME_COMPLETE_TEXT_";

} // namespace

GUIGameCompleteWindow::GUIGameCompleteWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                             const GameData* data, GUIMenuWindowManager* manager,
                                             KeystrelEngine::GUIWindow* parent)
    : GUIGameCompleteWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent),
      m_continue(AddButton("big_window\\button_0", "controls\\button_big"))
{
    SetTitle("GAME_COMPLETE_TITLE");
}

void GUIGameCompleteWindow::Open()
{
    if (!m_show) {
        m_passThrough = true;
        return;
    }
    RequestOpen();
    m_pages.Open(ReadLineCount(*m_texts, "GAME_COMPLETE_TEXT_SIZE"));
}

void GUIGameCompleteWindow::Close()
{
    if (m_show || GetFrameWidget()->IsVisible())
        CloseFrame();
}

void GUIGameCompleteWindow::Update()
{
    GUIGameCompleteWindowBase::Update();
    if (m_passThrough) {
        m_passThrough = false;
        m_result = GameFramework::RequestDone;
        return;
    }
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_continue) && m_pages.TurnPage())
        m_result = GameFramework::RequestDone;
    m_pages.Update(m_timers->m_frameTime);
    m_pages.AddLines(*GetFrameWidget(), kText, m_colour);
    MenuTexts::AddCaption(*m_continue, "CONTINUE", m_colour);
}

} // namespace Wispfold
