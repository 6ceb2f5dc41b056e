#include "game/app/GUIHelpWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

namespace {

bool IsHeading(std::int32_t line)
{
    return line == 0 || line == 4 || line == 6 || line == 8 || line == 10;
}

// How far the next line stands below this one: headings keep close to their text, paragraphs end with a gap.
float StepAfter(std::int32_t line)
{
    if (IsHeading(line))
        return 19.0f;
    if (line == 3 || line == 5 || line == 7 || line == 9)
        return 24.0f;
    return 18.0f;
}

} // namespace

GUIHelpWindow::GUIHelpWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                             GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent),
      m_back(AddButton("big_window\\button_0", "controls\\button_big"))
{
    SetTitle("HELP_TITLE");
}

void GUIHelpWindow::Open()
{
    GUIHelpWindowBase::Open();
    RequestOpen();
}

void GUIHelpWindow::Close()
{
    GUIHelpWindowBase::Close();
    CloseFrame();
}

void GUIHelpWindow::Update()
{
    GUIHelpWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_back))
        m_result = GameFramework::RequestBack;
    AddLines();
    MenuTexts::AddCaption(*m_back, "BACK", m_colour);
}

void GUIHelpWindow::AddLines()
{
    float y = kFirstLineY;
    for (std::int32_t line = 0; line < kLineCount; ++line) {
        const std::uint32_t font = IsHeading(line) ? MenuTexts::kHeadingFont : MenuTexts::kLineFont;
        MenuTexts::AddLine(*GetFrameWidget(), "HELP_TEXT_", line, y, m_colour, font);
        y -= StepAfter(line);
    }
}

} // namespace Wispfold
