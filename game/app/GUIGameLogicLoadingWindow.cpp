#include "GUIGameLogicLoadingWindow.h"

#include "GUIMenuWindowManager.h"
#include "MenuBackground.h"

#include "framework/GUITextPrinter.h"
#include "framework/WindowRequest.h"

namespace Wispfold {

GUIGameLogicLoadingWindow::GUIGameLogicLoadingWindow(KeystrelEngine::Engine* engine, GUIMenuWindowManager* menus)
    : GUILoadingWindowBase(engine), m_menus(menus)
{
}

GUIGameLogicLoadingWindow::~GUIGameLogicLoadingWindow() = default;

void GUIGameLogicLoadingWindow::Open(GameFramework::DataKeeper* keeper)
{
    GUILoadingWindowBase::Open(keeper);
    m_active = true;
    m_textTyped = false;
}

void GUIGameLogicLoadingWindow::Close()
{
    GUILoadingWindowBase::Close();
    m_active = false;
}

// The load waits a frame after the text stands whole, so that the whole text is on screen while it runs. A
// window that has loaded loads nothing more until it is closed.
void GUIGameLogicLoadingWindow::Update()
{
    GUILoadingWindowBase::Update();
    if (!m_active || IsDone())
        return;
    if (m_textTyped) {
        RunLoading();
        m_result = GameFramework::RequestDone;
        return;
    }
    if (!m_menus->m_frameFree)
        return;
    GameTools::GUITextPrinter& printer = m_menus->m_background->GetTextPrinter();
    printer.SetTextByKey("LOADING");
    if (printer.IsFinished())
        m_textTyped = true;
}

} // namespace Wispfold
