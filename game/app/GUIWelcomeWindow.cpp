#include "game/app/GUIWelcomeWindow.h"

#include "engine/gui/Engine.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"

namespace Wispfold {

using namespace GameFramework;

GUIWelcomeWindow::GUIWelcomeWindow(KeystrelEngine::Engine* engine, AudioPlayer* player, ProfileManagerBase* profiles,
                                   const GameData* data, GUIMenuWindowManager* manager,
                                   KeystrelEngine::GUIWindow* parent)
    : GUIWelcomeWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_profiles(profiles), m_entry(*this, engine->m_controls.get())
{
    SetTitle("WELCOME_TITLE");
}

void GUIWelcomeWindow::Open()
{
    GUIWelcomeWindowBase::Open();
    m_entry.Clear();
    RequestOpen();
}

void GUIWelcomeWindow::Close()
{
    GUIWelcomeWindowBase::Close();
    CloseFrame();
}

// At the first start there is no profile whose name the new one could take.
void GUIWelcomeWindow::Update()
{
    GUIWelcomeWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsShown() && m_entry.IsSecondClicked())
        m_result = RequestQuit;
    if (m_entry.Update() && IsShown()) {
        const std::u16string name = m_entry.GetName();
        m_profiles->AddProfile(name);
        m_profiles->m_current = m_profiles->FindProfile(name);
        m_profiles->Save();
        m_result = RequestBack;
    }
    m_entry.AddTexts("EXIT", m_colour);
}

} // namespace Wispfold
