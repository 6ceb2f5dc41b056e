#include "game/app/GameLogicExitQuestion.h"

#include "engine/gui/GUIButton.h"
#include "game/app/MenuTexts.h"

#include <string>

namespace Wispfold {

namespace {

// Keys made once: the texts are added every frame.
const std::string kText = "GAME_LOGIC_EXIT_TEXT_";
const std::string kOk = "GAME_LOGIC_EXIT_OK";

} // namespace

GameLogicExitQuestion::GameLogicExitQuestion(GUIMenuWindow& window)
    : m_window(window), m_no(window.AddButton("small_window\\button_0", "controls\\button_big")),
      m_ok(window.AddButton("small_window\\button_1", "controls\\button_big"))
{
    window.SetTitle("GAME_LOGIC_EXIT_TITLE");
}

bool GameLogicExitQuestion::IsOkClicked() const
{
    return m_ok->GetButton()->IsClicked();
}

bool GameLogicExitQuestion::IsNoClicked() const
{
    return m_no->GetButton()->IsClicked();
}

void GameLogicExitQuestion::AddTexts() const
{
    for (std::int32_t line = 0; line < 3; ++line)
        MenuTexts::AddLine(*m_window.GetFrameWidget(), kText, line, 148.0f - 23.0f * static_cast<float>(line),
                           m_window.m_colour);
    MenuTexts::AddCaption(*m_ok, kOk, m_window.m_colour);
    MenuTexts::AddCaption(*m_no, "NO", m_window.m_colour);
}

} // namespace Wispfold
