#include "game/app/GUIDeleteProfileWindow.h"

#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUITextManager.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

using namespace GameFramework;

GUIDeleteProfileWindow::GUIDeleteProfileWindow(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                               ProfileManagerBase* profiles, const GameData* data,
                                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIDeleteProfileWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_profiles(profiles), m_yes(AddButton("small_window\\button_1", "controls\\button_big")),
      m_no(AddButton("small_window\\button_0", "controls\\button_big"))
{
    SetTitle("DELETE_PROFILE_TITLE");
}

// The placeholder may stand in any letter case, any number of times.
void GUIDeleteProfileWindow::Open(const std::u16string& name)
{
    GUIDeleteProfileWindowBase::Open(name);
    const std::u16string quoted = u"\"" + name + u"\"";
    for (std::int32_t line = 0; line < kLineCount; ++line) {
        m_lines[line] = m_texts->GetText("DELETE_PROFILE_TEXT_", line);
        KeystrelEngine::ReplaceAllNoCaseW(m_lines[line], kNamePlaceholder, quoted);
    }
    RequestOpen();
}

void GUIDeleteProfileWindow::Close()
{
    GUIDeleteProfileWindowBase::Close();
    CloseFrame();
}

void GUIDeleteProfileWindow::Update()
{
    GUIDeleteProfileWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    ReadButtons();
    AddTexts();
}

void GUIDeleteProfileWindow::ReadButtons()
{
    if (IsClicked(*m_no))
        m_result = RequestProfiles;
    if (IsClicked(*m_yes)) {
        m_profiles->RemoveProfile(m_profileName);
        m_result = m_profiles->GetProfiles().empty() ? RequestNewProfile : RequestProfiles;
    }
}

void GUIDeleteProfileWindow::AddTexts()
{
    for (std::int32_t line = 0; line < kLineCount; ++line)
        MenuTexts::AddLiteralLine(*GetFrameWidget(), m_lines[line], 152.0f - 23.0f * static_cast<float>(line),
                                  m_colour);
    MenuTexts::AddCaption(*m_yes, "YES", m_colour);
    MenuTexts::AddCaption(*m_no, "NO", m_colour);
}

} // namespace Wispfold
