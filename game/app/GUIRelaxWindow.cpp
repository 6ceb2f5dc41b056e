#include "game/app/GUIRelaxWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"
#include "game/app/PagedText.h"
#include "game/app/Profile.h"
#include "game/app/TextLineCount.h"

namespace Wispfold {

GUIRelaxWindow::GUIRelaxWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                               GameFramework::ProfileManagerBase* profiles, const GameData* data,
                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent), m_profiles(profiles),
      // The pair stands either side of the big frame's middle, as the in-game menu's does.
      m_yes(AddButton("big_window\\button_1", "controls\\button_big")),
      m_no(AddButton("big_window\\button_2", "controls\\button_big"))
{
    SetTitle("RELAX_TITLE");
}

void GUIRelaxWindow::Open()
{
    RequestOpen();
    m_lineCount = ReadLineCount(*m_texts, "RELAX_TEXT_SIZE");
}

void GUIRelaxWindow::Close()
{
    CloseFrame();
}

void GUIRelaxWindow::Update()
{
    m_result = GameFramework::RequestNone;
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_yes)) {
        AcceptRelaxMode();
        m_result = GameFramework::RequestBack;
    }
    if (IsClicked(*m_no))
        m_result = GameFramework::RequestBack;
    AddLines();
    MenuTexts::AddCaption(*m_yes, "YES", m_colour);
    MenuTexts::AddCaption(*m_no, "NO", m_colour);
}

void GUIRelaxWindow::AcceptRelaxMode()
{
    auto* profile = static_cast<Profile*>(m_profiles->m_current);
    if (!profile)
        return;
    profile->SetFlag(Profile::RelaxMode, true);
    profile->Save();
}

void GUIRelaxWindow::AddLines()
{
    for (std::int32_t line = 0; line < m_lineCount; ++line)
        MenuTexts::AddLine(*GetFrameWidget(), "RELAX_TEXT_", line,
                           PagedText::kFirstLineY - PagedText::kLineStep * static_cast<float>(line), m_colour);
}

} // namespace Wispfold
