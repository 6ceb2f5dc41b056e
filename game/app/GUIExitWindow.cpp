#include "game/app/GUIExitWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

using namespace GameFramework;

GUIExitWindow::GUIExitWindow(KeystrelEngine::Engine* engine, AudioPlayer* player, const GameData* data,
                             GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIExitWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_no(AddButton("small_window\\button_0", "controls\\button_big")),
      m_yes(AddButton("small_window\\button_1", "controls\\button_big"))
{
    SetTitle("EXIT_TITLE");
}

void GUIExitWindow::Open(std::int32_t callerCode)
{
    GUIExitWindowBase::Open(callerCode);
    RequestOpen();
}

void GUIExitWindow::Close()
{
    GUIExitWindowBase::Close();
    CloseFrame();
}

void GUIExitWindow::Update()
{
    GUIExitWindowBase::Update();
    GUIMenuWindow::Update();
    // The quit waits until the window has folded away, so the player sees it go.
    if (m_confirmed && m_manager->m_frameFree)
        m_result = RequestExitProgram;
    if (!GetFrameWidget()->IsVisible())
        return;
    ReadButtons();
    AddTexts();
}

void GUIExitWindow::ReadButtons()
{
    if (IsClicked(*m_yes)) {
        m_confirmed = true;
        Close();
    }
    if (!IsClicked(*m_no))
        return;
    switch (m_callerCode) {
    case 1:
        m_result = RequestWelcome;
        break;
    case 2:
        m_result = RequestBack;
        break;
    case 3:
        m_result = RequestNewProfile;
        break;
    default:
        break;
    }
}

void GUIExitWindow::AddTexts()
{
    for (std::int32_t line = 0; line < 2; ++line)
        MenuTexts::AddLine(*GetFrameWidget(), "EXIT_TEXT_", line, 147.0f - 23.0f * static_cast<float>(line), m_colour);
    MenuTexts::AddCaption(*m_yes, "YES", m_colour);
    MenuTexts::AddCaption(*m_no, "NO", m_colour);
}

} // namespace Wispfold
