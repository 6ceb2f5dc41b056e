#include "GUIDoubleClickDetecter.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/GUIWindow.h"

#include <algorithm>

namespace GameTools {

using KeystrelEngine::GUIWindow;

GUIDoubleClickDetecter::GUIDoubleClickDetecter(KeystrelEngine::TimerManager* timers, KeystrelEngine::Controls* controls)
    : m_timers(timers), m_controls(controls)
{
}

GUIDoubleClickDetecter::~GUIDoubleClickDetecter() = default;

void GUIDoubleClickDetecter::Update()
{
    const double now = m_timers->m_masterTimer->GetPreciseTime();
    const bool down = m_controls->IsKeyDown(m_button);
    const bool pressed = m_controls->IsKeyPressed(m_button);
    m_doubleClicked = false;
    if (now - m_firstClickTime >= kTimeout) {
        if (pressed) {
            if (GUIWindow* window = FindWindowUnderCursor())
                StartClick(window, now);
        }
    } else {
        FollowPendingClick(pressed, m_buttonWasDown && !down, now);
    }
    m_buttonWasDown = down;
}

// A press elsewhere drops or moves the pending click; the releases count up to the end of the double click.
void GUIDoubleClickDetecter::FollowPendingClick(bool pressed, bool released, double now)
{
    if (pressed) {
        GUIWindow* window = FindWindowUnderCursor();
        if (!window)
            DropClick();
        else if (window != m_clickedWindow)
            StartClick(window, now);
    } else if (released) {
        if (m_step < ReleasedOnce) {
            m_step = static_cast<Step>(m_step + 1);
        } else {
            m_firstClickTime = -1.0;
            m_step = Idle;
            m_doubleClicked = true;
        }
    }
}

void GUIDoubleClickDetecter::RemoveWidget(GUIWindow* window)
{
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found == m_windows.end())
        return;
    m_windows.erase(found);
    if (window == m_clickedWindow) {
        DropClick();
        m_doubleClicked = false;
    }
}

GUIWindow* GUIDoubleClickDetecter::FindWindowUnderCursor() const
{
    const auto found = std::find_if(m_windows.begin(), m_windows.end(), [](const GUIWindow* window) {
        return window->IsVisible() && window->IsCursorOver();
    });
    return found != m_windows.end() ? *found : nullptr;
}

void GUIDoubleClickDetecter::StartClick(GUIWindow* window, double now)
{
    m_clickedWindow = window;
    m_firstClickTime = now;
    m_step = PressedOnce;
}

void GUIDoubleClickDetecter::DropClick()
{
    m_firstClickTime = -1.0;
    m_step = Idle;
    m_clickedWindow = nullptr;
}

} // namespace GameTools
