#include "game/app/GUIOptionsWindow.h"

#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "framework/WindowRequest.h"
#include "game/app/MenuTexts.h"

namespace Wispfold {

namespace {

constexpr const char* kFolder = "options";

// Keys made once: the texts are added every frame.
const std::string kMusicVolume = "OPTIONS_MUSIC_VOLUME";
const std::string kSoundVolume = "OPTIONS_SOUND_VOLUME";
const std::string kResolution = "OPTIONS_RESOLUTION";
const std::string kFullScreen = "OPTIONS_FULLSCREEN";
const std::string kApply = "OPTIONS_APPLY";
const std::string kDefaults = "OPTIONS_DEFAULTS";
const std::string kCancel = "CANCEL";

} // namespace

GUIOptionsWindow::GUIOptionsWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                   GameFramework::ProfileManagerBase* profiles, const GameData* data,
                                   GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUIOptionsWindowBase(engine, player, profiles),
      GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent), m_settings(*this, kFolder, player),
      m_modeText(AddControl(ControlKind::ModelWindow, "options\\resolution_text", "options\\resolution_text", {},
                            "options\\resolution_text_area")),
      m_leftArrow(
          AddControl(ControlKind::Button, "options\\resolution_button_left", "options\\resolution_button_left")),
      m_rightArrow(
          AddControl(ControlKind::Button, "options\\resolution_button_right", "options\\resolution_button_right")),
      m_apply(AddButton("big_window\\button_0", "controls\\button_big")),
      m_defaults(AddButton("big_window\\button_1", "controls\\button_big")),
      m_cancel(AddButton("big_window\\button_2", "controls\\button_big"))
{
    SetTitle("OPTIONS_TITLE");
    AddDisplayModes();
}

void GUIOptionsWindow::AddDisplayModes()
{
    const auto* renderSystem =
        dynamic_cast<const KeystrelEngine::RenderSystem_D3D7*>(GUIMenuWindow::m_engine->m_renderSystem.get());
    const KeystrelEngine::RenderSystem_D3D7::DeviceRecord* device =
        renderSystem ? renderSystem->GetCurrentDevice() : nullptr;
    if (!device)
        return;
    for (const auto& mode : device->modes)
        AddVideoMode(mode->width, mode->height);
}

void GUIOptionsWindow::Open()
{
    GUIOptionsWindowBase::Open();
    RequestOpen();
    m_settings.ShowVolumes();
    m_settings.ShowFullScreen(m_fullScreen);
    m_openSelected = m_selected;
    NoteMode();
}

void GUIOptionsWindow::Close()
{
    GUIOptionsWindowBase::Close();
    CloseFrame();
}

void GUIOptionsWindow::Update()
{
    GUIOptionsWindowBase::Update();
    GUIMenuWindow::Update();
    const bool visible = GetFrameWidget()->IsVisible();
    m_settings.Update(visible);
    if (!visible)
        return;
    ReactToButtons();
    AddTexts();
}

void GUIOptionsWindow::ReactToButtons()
{
    if (IsClicked(*m_leftArrow) && m_selected > 0) {
        --m_selected;
        NoteMode();
    }
    if (IsClicked(*m_rightArrow) && m_selected + 1 < m_videoModes.size()) {
        ++m_selected;
        NoteMode();
    }
    if (IsClicked(*m_apply)) {
        m_fullScreen = m_settings.IsFullScreenChecked();
        Apply();
        m_result = GameFramework::RequestBack;
    }
    if (IsClicked(*m_defaults))
        ShowDefaults();
    if (IsClicked(*m_cancel)) {
        Cancel();
        m_result = GameFramework::RequestBack;
    }
}

// The controls go back with the volumes: the sliders set the volumes for as long as the window folds.
void GUIOptionsWindow::Cancel()
{
    RestoreVolumes();
    m_selected = m_openSelected;
    m_settings.ShowVolumes();
    m_settings.ShowFullScreen(m_fullScreen);
    NoteMode();
}

void GUIOptionsWindow::ShowDefaults()
{
    ResetToDefaults();
    m_settings.ShowVolumes();
    m_settings.ShowFullScreen(m_fullScreen);
    NoteMode();
}

// Made anew only when the choice changes: the text is added every frame. An empty list shows none.
void GUIOptionsWindow::NoteMode()
{
    const std::string text = m_selected < m_videoModes.size() ? m_videoModes[m_selected].text : std::string();
    if (text != m_shownMode) {
        m_shownMode = text;
        m_modeName = KeystrelEngine::ToWide(text);
    }
}

void GUIOptionsWindow::AddTexts() const
{
    KeystrelEngine::GUIWindow& frame = *GetFrameWidget();
    MenuTexts::AddLine(frame, kMusicVolume, -1, 243.0f, m_colour);
    MenuTexts::AddLine(frame, kSoundVolume, -1, 192.0f, m_colour);
    MenuTexts::AddLine(frame, kResolution, -1, 142.0f, m_colour);
    frame.AddTextKey(0, MenuTexts::kLineFont, kFullScreen, -1, 0.0f, MenuTexts::kNoSize, {89.0f, 86.0f}, m_colour);
    m_modeText->GetWidget()->AddText(MenuTexts::kCaptionFlags, kModeFont, m_modeName, 0.0f, MenuTexts::kNoSize, {},
                                     m_colour);
    MenuTexts::AddCaption(*m_apply, kApply, m_colour);
    MenuTexts::AddCaption(*m_defaults, kDefaults, m_colour);
    MenuTexts::AddCaption(*m_cancel, kCancel, m_colour);
}

} // namespace Wispfold
