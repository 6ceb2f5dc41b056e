#include "game/app/GUIMainMenuWindow.h"

#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "framework/GUITextPrinter.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/MenuBackground.h"
#include "game/app/MenuTexts.h"
#include "game/app/Profile.h"

#include <algorithm>

namespace Wispfold {

namespace {

using namespace GameFramework;

// Model number in "main_menu" and caption key, in the order of the buttons.
struct ButtonSpec
{
    const char* model;
    const char* caption;
};

constexpr ButtonSpec kButtonSpecs[GUIMainMenuWindow::ButtonCount] = {
    {"main_menu\\button_6", "MAIN_MENU_START"},      {"main_menu\\button_5", "MAIN_MENU_HIGH_SCORES"},
    {"main_menu\\button_4", "MAIN_MENU_OPTIONS"},    {"main_menu\\button_3", "MAIN_MENU_CHANGE_PROFILE"},
    {"main_menu\\button_2", "MAIN_MENU_SHOW_PLACE"}, {"main_menu\\button_1", "MAIN_MENU_CREDITS"},
    {"main_menu\\button_0", "MAIN_MENU_EXIT"},
};

// The order in which the buttons are read; a later click overrides an earlier one.
constexpr GUIMainMenuWindow::Button kReadOrder[] = {
    GUIMainMenuWindow::ChangeProfile, GUIMainMenuWindow::Start, GUIMainMenuWindow::HighScores,
    GUIMainMenuWindow::Options,       GUIMainMenuWindow::Exit,  GUIMainMenuWindow::ShowPlace,
    GUIMainMenuWindow::Credits,
};

// The buttons Open holds back at once.
constexpr GUIMainMenuWindow::Button kHeldAtOpen[] = {GUIMainMenuWindow::Start, GUIMainMenuWindow::HighScores,
                                                     GUIMainMenuWindow::Options, GUIMainMenuWindow::ChangeProfile,
                                                     GUIMainMenuWindow::Exit};

// What each button but START asks for.
constexpr std::uint32_t kRequests[GUIMainMenuWindow::ButtonCount] = {
    RequestStart, RequestHighScores, RequestOptions, RequestProfiles, GUIMainMenuWindow::kRequestShowPlace,
    RequestHelp, // the credits
    RequestQuit,
};

constexpr KeystrelEngine::Color kCaptionColour{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

GUIMainMenuWindow::GUIMainMenuWindow(KeystrelEngine::Engine* engine, AudioPlayer* player, ProfileManagerBase* profiles,
                                     const GameData* data, GUIMenuWindowManager* manager,
                                     KeystrelEngine::GUIWindow* parent)
    : GUIMenuWindow(engine, player, data, manager, FrameKind::MainMenu, parent), m_profiles(profiles)
{
    for (int i = 0; i < ButtonCount; ++i) {
        GUIControl* button = AddButton(kButtonSpecs[i].model, "controls\\button_main_menu");
        if (KeystrelEngine::GUIWindow* modelWindow = button->GetModelWindow())
            modelWindow->GetQuad()->GetAnimationControl().m_speed = kButtonRate;
        button->GetWidget()->SetLayer(i + 1);
        m_buttons[i] = button;
    }
}

void GUIMainMenuWindow::Open()
{
    GUIMainMenuWindowBase::Open();
    const std::u16string welcome = m_texts->GetText("MAIN_MENU_WELCOME", -1) + u", ";
    SetTitleText(welcome + GreetedName(welcome) + u"!");
    for (const Button button : kHeldAtOpen)
        m_buttons[button]->GetButton()->SetEnabled(false);
    RequestOpen();
}

// The background types the greeting centred in its title area, whose ends lie on the rim of the main-menu frame
// below it: the whole greeting keeps clear of the rim, inside the frame's text area, a long name shortened to the
// room the greeting's words leave it.
std::u16string GUIMainMenuWindow::GreetedName(const std::u16string& welcome) const
{
    if (!m_profiles->m_current)
        return {};
    const GameTools::GUITextPrinter& printer = m_manager->m_background->GetTextPrinter();
    const KeystrelEngine::GUIFontManager& fonts = *m_gui->m_fonts;
    const float area = std::min(printer.GetWindow().GetTextArea().width, GetFrameWidget()->GetTextArea().width) -
                       2.0f * kGreetingMargin;
    const float room = area - fonts.PrintedWidth(printer.GetFontId(), welcome + u"!");
    return fonts.FitText(printer.GetFontId(), m_profiles->m_current->GetName(), room);
}

void GUIMainMenuWindow::Close()
{
    GUIMainMenuWindowBase::Close();
    CloseFrame();
}

void GUIMainMenuWindow::Update()
{
    GUIMainMenuWindowBase::Update();
    GUIMenuWindow::Update();
    if (!GetFrameWidget()->IsVisible())
        return;
    AddCaptions();
    EnableButtons(IsShown() && !IsAnyControlAnimating());
    ReadButtons();
}

void GUIMainMenuWindow::AddCaptions() const
{
    for (int i = 0; i < ButtonCount; ++i) {
        const std::uint32_t state = m_buttons[i]->GetButton()->GetState();
        MenuTexts::AddCaption(*m_buttons[i], kButtonSpecs[i].caption, kCaptionColour, kCaptionFonts[state & 3]);
    }
}

void GUIMainMenuWindow::EnableButtons(bool enabled) const
{
    for (GUIControl* button : m_buttons)
        button->GetButton()->SetEnabled(enabled);
}

void GUIMainMenuWindow::ReadButtons()
{
    for (const Button button : kReadOrder) {
        if (IsClicked(*m_buttons[button]))
            m_result = button == Start ? StartRequest() : kRequests[button];
    }
}

std::uint32_t GUIMainMenuWindow::StartRequest() const
{
    const auto* profile = static_cast<const Profile*>(m_profiles->m_current);
    return profile && profile->GetFlag(Profile::IntroductionPending) ? kRequestIntroduction : RequestStart;
}

} // namespace Wispfold
