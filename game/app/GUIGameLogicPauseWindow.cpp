#include "game/app/GUIGameLogicPauseWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

#include <string>

namespace Wispfold {

namespace {

// Keys made once: the texts are added every frame.
const std::string kText = "GAME_LOGIC_PAUSED_TEXT";
const std::string kResume = "GAME_LOGIC_PAUSED_RESUME";

} // namespace

GUIGameLogicPauseWindow::GUIGameLogicPauseWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                                 const GameData* data, GUIMenuWindowManager* manager,
                                                 KeystrelEngine::GUIWindow* parent)
    : GUIGameLogicPauseWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::SmallWindow, parent),
      m_resume(AddButton("small_window\\button_1", "controls\\button_big"))
{
    SetTitle("GAME_LOGIC_PAUSED_TITLE");
}

void GUIGameLogicPauseWindow::Open()
{
    RequestOpenOverPanel();
}

void GUIGameLogicPauseWindow::Close()
{
    CloseFrame();
}

void GUIGameLogicPauseWindow::Update()
{
    GUIGameLogicPauseWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    if (IsClicked(*m_resume))
        m_result = GameFramework::RequestResume;
    MenuTexts::AddLine(*GetFrameWidget(), kText, -1, 110.0f, m_colour);
    MenuTexts::AddCaption(*m_resume, kResume, m_colour);
}

} // namespace Wispfold
