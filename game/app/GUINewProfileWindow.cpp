#include "game/app/GUINewProfileWindow.h"

#include "engine/gui/Engine.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"

namespace Wispfold {

using namespace GameFramework;

GUINewProfileWindow::GUINewProfileWindow(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                         ProfileManagerBase* profiles, const GameData* data,
                                         GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUINewProfileWindowBase(profiles), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_entry(*this, engine->m_controls.get())
{
    SetTitle("NEW_PROFILE_TITLE");
}

void GUINewProfileWindow::Open(std::int32_t clear)
{
    GUINewProfileWindowBase::Open(clear);
    if (clear)
        m_entry.Clear();
    m_noProfiles = m_profiles->GetProfiles().empty();
    RequestOpen();
}

void GUINewProfileWindow::Close()
{
    GUINewProfileWindowBase::Close();
    CloseFrame();
}

void GUINewProfileWindow::Update()
{
    GUINewProfileWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsShown() && m_entry.IsSecondClicked())
        m_result = m_noProfiles ? RequestQuit : RequestProfiles;
    if (m_entry.Update() && IsShown())
        m_result = CreateProfile(m_entry.GetName()) ? RequestProfiles : RequestNameTaken;
    m_entry.AddTexts(m_noProfiles ? "EXIT" : "CANCEL", m_colour);
}

} // namespace Wispfold
