#include "game/app/GUIProfileNameConflictWindow.h"

#include "engine/foundation/Controls.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

using namespace GameFramework;

GUIProfileNameConflictWindow::GUIProfileNameConflictWindow(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                                           const GameData* data, GUIMenuWindowManager* manager,
                                                           KeystrelEngine::GUIWindow* parent)
    : GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_controls(engine->m_controls.get()), m_ok(AddButton("small_window\\button_1", "controls\\button_big"))
{
    SetTitle("PROFILE_NAME_CONFLICT_TITLE");
}

void GUIProfileNameConflictWindow::Open(std::int32_t callerCode)
{
    GUIProfileNameConflictWindowBase::Open(callerCode);
    RequestOpen();
}

void GUIProfileNameConflictWindow::Close()
{
    GUIProfileNameConflictWindowBase::Close();
    CloseFrame();
}

void GUIProfileNameConflictWindow::Update()
{
    GUIProfileNameConflictWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_ok) || (IsShown() && m_controls->IsKeyPressed("ENTER")))
        m_result = m_callerCode == kFromNewProfile ? RequestNewProfile : RequestRenameProfile;
    for (std::int32_t line = 0; line < 2; ++line)
        MenuTexts::AddLine(*GetFrameWidget(), "PROFILE_NAME_CONFLICT_TEXT_", line,
                           134.0f - 23.0f * static_cast<float>(line), m_colour);
    MenuTexts::AddCaption(*m_ok, "OK", m_colour);
}

} // namespace Wispfold
