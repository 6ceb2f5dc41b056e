#include "game/app/GUIUpgradeWindow.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "framework/GUITextPrinter.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIBackgroundWindow.h"
#include "game/app/GUIMenuWindowManager.h"

#include <algorithm>

namespace Wispfold {

using KeystrelEngine::GUIWindow;

GUIUpgradeWindow::GUIUpgradeWindow(KeystrelEngine::Engine* engine, GUIMenuWindowManager* manager,
                                   GUIBackgroundWindow* background, const GUIWindow* characterWindow)
    : m_timers(engine->m_timers.get()), m_controls(engine->m_controls.get()), m_engine(engine), m_manager(manager),
      m_background(background), m_character(characterWindow),
      m_window(engine->m_gui->CreateWindow(0, {0.0f, 0.0f}, {kWidth, kHeight},
                                           static_cast<const KeystrelEngine::Model*>(nullptr),
                                           background->GetTopRoot()))
{
}

GUIUpgradeWindow::~GUIUpgradeWindow()
{
    m_engine->m_gui->DeleteWindow(m_window);
}

void GUIUpgradeWindow::Open(std::int32_t parameter)
{
    m_active = true;
    m_clock = 0.0f;
    m_result = GameFramework::RequestNone;
    m_parameter = parameter;
}

void GUIUpgradeWindow::Hide()
{
    if (IsShown())
        m_window->SetVisible(false);
    m_active = false;
    m_clock = 0.0f;
}

bool GUIUpgradeWindow::IsShown() const
{
    return (m_window->GetFlags() & GUIWindow::kShown) != 0;
}

void GUIUpgradeWindow::Update()
{
    m_result = GameFramework::RequestNone;
    if (!IsShown()) {
        if (m_active && m_manager->m_frameFree)
            Appear();
        return;
    }
    if (!m_active)
        ReportOnceFaded();
    UpdateShown();
}

void GUIUpgradeWindow::Appear()
{
    if (m_parameter == kFromMainMenu)
        m_background->ShowScene();
    m_window->SetVisible(true);
}

void GUIUpgradeWindow::ReportOnceFaded()
{
    if (!m_background->IsFadeComplete())
        return;
    m_result = m_parameter == kFromMainMenu ? GameFramework::RequestBack : kRequestStageComplete;
}

void GUIUpgradeWindow::UpdateShown()
{
    if (!m_character->IsVisible())
        m_clock += m_timers->m_frameTime;
    if (m_active)
        UpdateActive();
    else
        m_hintAlpha = std::clamp(1.0f - kHintFadeOutRate * m_clock, 0.0f, 1.0f);
    m_window->AddTextKey(1, kHintFont, "HIT_MOUSE_BUTTON_TO_CONTINUE", -1, 0.0f, -1.0f, {0.0f, kHintY},
                         {1.0f, 1.0f, 1.0f, m_hintAlpha});
}

void GUIUpgradeWindow::UpdateActive()
{
    if (m_background->IsFadeComplete())
        m_background->GetTextPrinter().Clear();
    m_hintAlpha = std::clamp(m_clock - kHintDelay, 0.0f, 1.0f);
    if (m_controls->IsAnyMouseButtonDown() && m_clock > kClickDelay) {
        m_background->ShowAll();
        m_active = false;
    }
}

} // namespace Wispfold
