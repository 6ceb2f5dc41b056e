#include "game/app/GameLogicExitQuestion.h"

#include "engine/gui/GUIButton.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

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
        MenuTexts::AddLine(*m_window.GetFrameWidget(), "GAME_LOGIC_EXIT_TEXT_", line,
                           148.0f - 23.0f * static_cast<float>(line), m_window.m_colour);
    MenuTexts::AddCaption(*m_ok, "GAME_LOGIC_EXIT_OK", m_window.m_colour);
    MenuTexts::AddCaption(*m_no, "NO", m_window.m_colour);
}

} // namespace Wispfold
