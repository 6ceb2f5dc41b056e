#include "game/app/GUIIntroductionWindow.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"
#include "game/app/TextLineCount.h"

namespace Wispfold {

namespace {

const std::string kTextKey = "INTRODUCTION_TEXT_"; // made once: drawn every frame

} // namespace

GUIIntroductionWindow::GUIIntroductionWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                             const GameData* data, GUIMenuWindowManager* manager,
                                             KeystrelEngine::GUIWindow* parent)
    : GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent),
      m_continue(AddButton("big_window\\button_0", "controls\\button_big"))
{
    SetTitle("INTRODUCTION_TITLE");
}

void GUIIntroductionWindow::Open()
{
    RequestOpen();
    m_pages.Open(ReadLineCount(*m_texts, "INTRODUCTION_TEXT_SIZE"));
}

void GUIIntroductionWindow::Close()
{
    CloseFrame();
}

void GUIIntroductionWindow::Update()
{
    m_result = GameFramework::RequestNone;
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_continue) && m_pages.TurnPage())
        m_result = GameFramework::RequestStart;
    m_pages.Update(m_timers->m_frameTime);
    m_pages.AddLines(*GetFrameWidget(), kTextKey, m_colour);
    MenuTexts::AddCaption(*m_continue, "CONTINUE", m_colour);
}

} // namespace Wispfold
