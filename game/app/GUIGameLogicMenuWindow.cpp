#include "game/app/GUIGameLogicMenuWindow.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"
#include "game/app/Profile.h"

namespace Wispfold {

namespace {

constexpr const char* kFolder = "game_logic_menu";

// Keys made once: the texts are added every frame.
const std::string kMusicVolume = "OPTIONS_MUSIC_VOLUME";
const std::string kSoundVolume = "OPTIONS_SOUND_VOLUME";
const std::string kFullScreen = "OPTIONS_FULLSCREEN";
const std::string kRelaxMode = "OPTIONS_RELAX_MODE";
const std::string kExit = "GAME_LOGIC_MENU_EXIT";
const std::string kReturn = "GAME_LOGIC_MENU_RETURN";

} // namespace

GUIGameLogicMenuWindow::GUIGameLogicMenuWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                               GameFramework::ProfileManagerBase* profiles, const GameData* data,
                                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIGameLogicMenuWindowBase(engine, player, profiles),
      GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent), m_settings(*this, kFolder, player),
      m_relaxBox(
          AddControl(ControlKind::CheckBox, "game_logic_menu\\relax_check_box", "controls\\check_box")->GetCheckBox()),
      // The pair stands either side of the big frame's middle, where a lone button_0 would stand.
      m_exit(AddButton("big_window\\button_1", "controls\\button_big")),
      m_return(AddButton("big_window\\button_2", "controls\\button_big"))
{
    SetTitle("GAME_LOGIC_MENU_TITLE");
}

// The window goes only with the game: closing the game with the menu open keeps its changes too. The saves throw
// nothing: a failure is logged on their way and leaves the previous files whole.
GUIGameLogicMenuWindow::~GUIGameLogicMenuWindow()
{
    if (IsShown())
        SaveSettings();
}

Profile* GUIGameLogicMenuWindow::CurrentProfile() const
{
    return static_cast<Profile*>(m_profiles->m_current);
}

void GUIGameLogicMenuWindow::Open()
{
    GUIGameLogicMenuWindowBase::Open();
    m_fullScreen = GUIMenuWindow::m_engine->m_window->m_fullScreen;
    RequestOpenOverPanel();
    m_settings.ShowVolumes();
    m_settings.ShowFullScreen(m_fullScreen);
    m_relaxBox->m_checked = CurrentProfile() && CurrentProfile()->GetFlag(Profile::RelaxMode);
}

void GUIGameLogicMenuWindow::Close()
{
    GUIGameLogicMenuWindowBase::Close();
    CloseFrame();
}

void GUIGameLogicMenuWindow::Update()
{
    GUIGameLogicMenuWindowBase::Update();
    GUIMenuWindow::Update();
    const bool visible = GetFrameWidget()->IsVisible();
    if (visible)
        ReactToControls();
    if (m_config->GetCommandState("v_window_change_mode") != KeystrelEngine::Config::kCommandRaised)
        m_settings.ShowFullScreen(m_fullScreen);
    m_settings.Update(visible);
    if (visible)
        AddTexts();
}

void GUIGameLogicMenuWindow::ReactToControls()
{
    if (m_settings.GetFullScreenBox().IsClicked()) {
        m_fullScreen = m_settings.IsFullScreenChecked();
        ApplyFullScreen();
    }
    if (m_relaxBox->IsClicked() && CurrentProfile()) {
        CurrentProfile()->SetFlag(Profile::RelaxMode, m_relaxBox->m_checked);
        CurrentProfile()->Save();
    }
    if (IsClicked(*m_exit))
        m_result = GameFramework::RequestLeaveLevel;
    if (IsClicked(*m_return)) {
        m_result = GameFramework::RequestResume;
        GivePanelBackOnceGone();
    }
}

void GUIGameLogicMenuWindow::AddTexts() const
{
    KeystrelEngine::GUIWindow& frame = *GetFrameWidget();
    MenuTexts::AddLine(frame, kMusicVolume, -1, 234.0f, m_colour);
    MenuTexts::AddLine(frame, kSoundVolume, -1, 172.0f, m_colour);
    frame.AddTextKey(0, MenuTexts::kLineFont, kFullScreen, -1, 0.0f, MenuTexts::kNoSize, {88.0f, 96.0f}, m_colour);
    frame.AddTextKey(0, MenuTexts::kLineFont, kRelaxMode, -1, 0.0f, MenuTexts::kNoSize, {88.0f, 60.0f}, m_colour);
    MenuTexts::AddCaption(*m_exit, kExit, m_colour);
    MenuTexts::AddCaption(*m_return, kReturn, m_colour);
}

} // namespace Wispfold
