#include "game/app/GUIContinueGameLogicWindow.h"

#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUITextManager.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

#include <string>

namespace Wispfold {

namespace {

// Keys made once: the texts are added every frame.
const std::string kText = "CONTINUE_GAME_LOGIC_TEXT_";
const std::string kContinue = "CONTINUE_GAME_LOGIC_CONTINUE_GAME";
const std::string kNewGame = "CONTINUE_GAME_LOGIC_NEW_GAME";

constexpr std::uint32_t kLabelFlags = 4; // at the area's left edge
constexpr std::uint32_t kValueFlags = 8; // at its right edge
constexpr std::uint32_t kValueFont = 4;

} // namespace

GUIContinueGameLogicWindow::GUIContinueGameLogicWindow(KeystrelEngine::Engine* engine,
                                                       GameFramework::AudioPlayer* player,
                                                       GameFramework::ProfileManagerBase* profiles,
                                                       const GameData* data, GUIMenuWindowManager* manager,
                                                       KeystrelEngine::GUIWindow* parent)
    : GUIContinueGameLogicWindowBase(engine),
      GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent), m_profiles(profiles),
      m_continue(AddButton("big_window\\button_0", "controls\\button_big")),
      m_newGame(AddButton("big_window\\button_1", "controls\\button_big")),
      m_cancel(AddButton("big_window\\button_2", "controls\\button_big"))
{
    SetTitle("CONTINUE_GAME_LOGIC_TITLE");
}

void GUIContinueGameLogicWindow::Open()
{
    RequestOpen();
    m_score = m_profiles->m_current ? m_profiles->m_current->m_score : 0;
}

void GUIContinueGameLogicWindow::Close()
{
    CloseFrame();
}

void GUIContinueGameLogicWindow::Update()
{
    GUIContinueGameLogicWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    ReadButtons();
    AddTexts();
}

void GUIContinueGameLogicWindow::ReadButtons()
{
    if (IsClicked(*m_continue))
        m_result = GameFramework::RequestContinueGame;
    if (IsClicked(*m_newGame))
        m_result = GameFramework::RequestNewGame;
    if (IsClicked(*m_cancel))
        m_result = GameFramework::RequestBack;
}

void GUIContinueGameLogicWindow::AddTexts()
{
    for (std::int32_t line = 0; line < 3; ++line)
        MenuTexts::AddLine(*GetFrameWidget(), kText, line, kFirstLineY - kLineStep * static_cast<float>(line),
                           m_colour);
    if (const GameFramework::ProfileBase* profile = m_profiles->m_current) {
        const GameFramework::LevelId level = profile->m_currentLevel;
        AddValue("CONTINUE_GAME_LOGIC_LEVEL",
                 KeystrelEngine::FormatUnsignedW(level.stage + 1) + u"-" +
                     KeystrelEngine::FormatUnsignedW(level.level + 1),
                 kLevelY);
    }
    AddValue("CONTINUE_GAME_LOGIC_SCORE", KeystrelEngine::FormatUnsignedW(m_score), kScoreY);
    MenuTexts::AddCaption(*m_continue, kContinue, m_colour);
    MenuTexts::AddCaption(*m_newGame, kNewGame, m_colour);
    MenuTexts::AddCaption(*m_cancel, "CANCEL", m_colour);
}

// The label with a colon at the left of the row, its value at the right.
void GUIContinueGameLogicWindow::AddValue(const std::string& labelKey, std::u16string_view value, float y)
{
    MenuTexts::AddLiteralLine(*GetFrameWidget(), m_texts->GetText(labelKey, -1) + u":", y, m_colour, kLabelFlags);
    MenuTexts::AddLiteralLine(*GetFrameWidget(), value, y, m_colour, kValueFlags, kValueFont);
}

} // namespace Wispfold
