#include "game/app/GUIRenameProfileWindow.h"

#include "engine/gui/Engine.h"
#include "framework/WindowRequest.h"

namespace Wispfold {

using namespace GameFramework;

GUIRenameProfileWindow::GUIRenameProfileWindow(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                               ProfileManagerBase* profiles, const GameData* data,
                                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIRenameProfileWindowBase(profiles),
      GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_entry(*this, engine->m_controls.get())
{
    SetTitle("RENAME_PROFILE_TITLE");
}

void GUIRenameProfileWindow::Open(bool keepName, const std::u16string& name)
{
    GUIRenameProfileWindowBase::Open(keepName, name);
    if (keepName)
        m_entry.SetName(name);
    RequestOpen();
}

void GUIRenameProfileWindow::Close()
{
    GUIRenameProfileWindowBase::Close();
    CloseFrame();
}

void GUIRenameProfileWindow::Update()
{
    GUIRenameProfileWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsShown() && m_entry.IsSecondClicked())
        m_result = RequestProfiles;
    if (m_entry.Update() && IsShown())
        m_result = RenameProfile(m_entry.GetName()) ? RequestProfiles : RequestNameTaken;
    m_entry.AddTexts("CANCEL", m_colour);
}

} // namespace Wispfold
