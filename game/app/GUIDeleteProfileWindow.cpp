#include "game/app/GUIDeleteProfileWindow.h"

#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

#include <string_view>

namespace Wispfold {

using namespace GameFramework;

namespace {

constexpr std::u16string_view kQuotes = u"\"\""; // around the name

} // namespace

GUIDeleteProfileWindow::GUIDeleteProfileWindow(KeystrelEngine::Engine* engine, AudioPlayer* player,
                                               ProfileManagerBase* profiles, const GameData* data,
                                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIDeleteProfileWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_profiles(profiles), m_yes(AddButton("small_window\\button_1", "controls\\button_big")),
      m_no(AddButton("small_window\\button_0", "controls\\button_big"))
{
    SetTitle("DELETE_PROFILE_TITLE");
}

void GUIDeleteProfileWindow::Open(const std::u16string& name)
{
    GUIDeleteProfileWindowBase::Open(name);
    for (std::int32_t line = 0; line < kLineCount; ++line)
        m_lines[line] = WordLine(m_texts->GetText("DELETE_PROFILE_TEXT_", line), name);
    RequestOpen();
}

// The placeholder may stand in any letter case, any number of times. A long name is shortened so that the line,
// the name in quotes at each placeholder, stays inside the frame's text area.
std::u16string GUIDeleteProfileWindow::WordLine(std::u16string line, const std::u16string& name) const
{
    std::u16string words = line;
    KeystrelEngine::ReplaceAllNoCaseW(words, kNamePlaceholder, kQuotes);
    const std::size_t names =
        (line.size() - words.size()) / (std::u16string_view(kNamePlaceholder).size() - kQuotes.size());
    if (names == 0)
        return line;
    const KeystrelEngine::GUIFontManager& fonts = *m_gui->m_fonts;
    const float room = (GetFrameWidget()->GetTextArea().width - fonts.PrintedWidth(MenuTexts::kLineFont, words)) /
                       static_cast<float>(names);
    const std::u16string shown = fonts.FitText(MenuTexts::kLineFont, name, room);
    KeystrelEngine::ReplaceAllNoCaseW(line, kNamePlaceholder, u"\"" + shown + u"\"");
    return line;
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
