#include "game/app/GUIProfilesWindow.h"

#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GameData.h"
#include "game/app/MenuTexts.h"

#include <algorithm>

namespace Wispfold {

using namespace GameFramework;
using KeystrelEngine::GUIButton;

namespace {

constexpr const char* kListArea = "ui\\menus\\models\\profiles\\text.mlf";

constexpr const char* kCaptions[GUIProfilesWindow::ButtonCount] = {"PROFILES_NEW", "PROFILES_RENAME", "PROFILES_DELETE",
                                                                   "PROFILES_DONE"};
constexpr std::uint32_t kRequests[GUIProfilesWindow::ButtonCount] = {RequestNewProfile, RequestRenameProfile,
                                                                     RequestDeleteProfile, RequestBack};

} // namespace

GUIProfilesWindow::GUIProfilesWindow(KeystrelEngine::Engine* engine, AudioPlayer* player, ProfileManagerBase* profiles,
                                     const GameData* data, GUIMenuWindowManager* manager,
                                     KeystrelEngine::GUIWindow* parent)
    : GUIProfilesWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent),
      m_profiles(profiles)
{
    AddControl(ControlKind::ModelWindow, "profiles\\text", "profiles\\text");
    for (int i = 0; i < ButtonCount; ++i)
        m_buttons[i] = AddButton("profiles\\button_" + std::to_string(i), "controls\\button_small");
    m_scroll = AddControl(ControlKind::VerticalScroll, "profiles\\scroll", "controls\\scroll_v");
    SetTitle("PROFILES_TITLE");
    MakeNameButtons();
}

GUIProfilesWindow::~GUIProfilesWindow()
{
    for (GUIButton* button : m_nameButtons) {
        if (m_gui->m_buttons.Remove(button))
            delete button;
    }
}

// Centred across the list area, from near its top down.
void GUIProfilesWindow::MakeNameButtons()
{
    const KeystrelEngine::Model& area = *m_data->GetModel(kListArea);
    const KeystrelEngine::GUIPoint origin = GUIControl::GetModelPosition(area);
    const float x = origin.x + (GUIControl::GetModelExtent(area).width - kNameButtonSize.width) * 0.5f;
    for (std::size_t i = 0; i < kNameButtonCount; ++i) {
        const float y = origin.y + kNameTop - kNameStep * static_cast<float>(i);
        m_nameButtons[i] = m_gui->CreateButton(0, {x, y}, kNameButtonSize,
                                               static_cast<const KeystrelEngine::Model*>(nullptr), GetFrameWidget());
    }
}

void GUIProfilesWindow::Open()
{
    GUIProfilesWindowBase::Open();
    m_selectedName.clear();
    ListNames();
    SetUpScroll();
    RequestOpen();
}

void GUIProfilesWindow::ListNames()
{
    m_names.clear();
    if (m_profiles->m_current)
        m_names.push_back(m_profiles->m_current->GetName());
    for (const std::unique_ptr<ProfileBase>& profile : m_profiles->GetProfiles()) {
        if (profile.get() != m_profiles->m_current)
            m_names.push_back(profile->GetName());
    }
    m_shownNames.clear();
    for (const std::u16string& name : m_names)
        m_shownNames.push_back(FitName(name));
    for (std::size_t i = 0; i < kNameButtonCount; ++i)
        m_nameButtons[i]->SetVisible(i < m_names.size());
}

// A name stays on its button in each of the fonts the button prints it in: shortened in one, it is shortened
// further where another measures it wider.
std::u16string GUIProfilesWindow::FitName(const std::u16string& name) const
{
    const float room = kNameButtonSize.width - 2.0f * kNameInset;
    std::u16string shown = name;
    for (const std::uint32_t font : {kNameFont, kCurrentNameFont, kHoveredNameFont})
        shown = m_gui->m_fonts->FitText(font, shown, room);
    return shown;
}

void GUIProfilesWindow::SetUpScroll()
{
    KeystrelEngine::GUIScroll& scroll = *m_scroll->GetScroll();
    m_scrollShown = m_names.size() > kNameButtonCount;
    const std::size_t hidden = m_scrollShown ? m_names.size() - kNameButtonCount : 0;
    scroll.m_positionCount = static_cast<std::uint32_t>(std::max<std::size_t>(2, hidden + 1));
    scroll.SetPosition(scroll.GetPosition());
    scroll.SetPosition(0);
    scroll.SetVisible(m_scrollShown);
}

void GUIProfilesWindow::Close()
{
    GUIProfilesWindowBase::Close();
    CloseFrame();
}

void GUIProfilesWindow::Update()
{
    GUIProfilesWindowBase::Update();
    GUIMenuWindow::Update();
    // The frame shows its controls as it fades; a short list keeps its scroll hidden all the same.
    if (!m_scrollShown)
        m_scroll->GetWidget()->SetVisible(false);
    if (!GetFrameWidget()->IsVisible())
        return;
    UpdateNames();
    ReadButtons();
}

void GUIProfilesWindow::UpdateNames()
{
    const std::size_t first = m_scroll->GetScroll()->GetPosition();
    for (std::size_t i = 0; i < kNameButtonCount && first + i < m_names.size(); ++i) {
        if (m_nameButtons[i]->IsVisible())
            UpdateNameButton(*m_nameButtons[i], m_names[first + i], m_shownNames[first + i]);
    }
}

void GUIProfilesWindow::UpdateNameButton(GUIButton& button, const std::u16string& name, const std::u16string& shown)
{
    if (IsShown() && button.IsClicked()) {
        m_profiles->m_current = m_profiles->FindProfile(name);
        m_profiles->Save();
    }
    const bool current = IsCurrent(name);
    button.SetEnabled(!current);
    const std::uint32_t font = current ? kCurrentNameFont : button.IsCursorOver() ? kHoveredNameFont : kNameFont;
    button.AddText(MenuTexts::kCaptionFlags, font, shown, 0.0f, MenuTexts::kNoSize, {}, m_colour);
}

bool GUIProfilesWindow::IsCurrent(const std::u16string& name) const
{
    return m_profiles->m_current && m_profiles->m_current->GetName() == name;
}

// A window already closed (folding away) takes no more clicks: a DELETE caught after BACK would open the delete
// question over whatever window came next and take away the profile it runs on.
void GUIProfilesWindow::ReadButtons()
{
    for (int i = 0; i < ButtonCount; ++i) {
        if (IsClicked(*m_buttons[i])) {
            if ((i == Rename || i == Delete) && m_profiles->m_current)
                m_selectedName = m_profiles->m_current->GetName();
            m_result = kRequests[i];
        }
        MenuTexts::AddCaption(*m_buttons[i], kCaptions[i], m_colour);
    }
}

} // namespace Wispfold
