#include "GUIGameCursorBase.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"

namespace GameFramework {

using KeystrelEngine::Config;

GUIGameCursorBase::GUIGameCursorBase(KeystrelEngine::Engine* engine)
    : m_engine(engine), m_log(engine->m_log.get()), m_window(engine->m_window.get()), m_config(engine->m_config.get()),
      m_gui(engine->m_gui.get()), m_controls(engine->m_controls.get())
{
    m_config->RegisterVariable("ui_custom_cursor", "1", Config::TypeBool, true, &m_customCursor, true);
    m_customCursorActive = m_customCursor;
    Show(false);
}

GUIGameCursorBase::~GUIGameCursorBase()
{
    m_config->UnregisterVariable("ui_custom_cursor");
    for (auto& [key, entry] : m_cursors) {
        if (m_gui->m_cursors.Remove(entry.drawnCursor))
            delete entry.drawnCursor;
    }
}

bool GUIGameCursorBase::IsShown() const
{
    return UsesDrawnCursor() ? m_current->drawnCursor->m_visible : m_controls->m_cursorVisible;
}

bool GUIGameCursorBase::Update()
{
    if (!IsShown())
        return false;
    if (m_config->HasChanged("ui_custom_cursor")) {
        Show(false);
        m_customCursorActive = m_customCursor;
        Show(true);
    }
    return true;
}

void GUIGameCursorBase::Show(bool show)
{
    if (UsesDrawnCursor()) {
        m_current->drawnCursor->m_visible = show;
        return;
    }
    m_controls->m_cursorVisible = show;
    m_controls->ApplyCursorVisibility();
}

void GUIGameCursorBase::LoadSystemCursor(KeystrelEngine::GUICursor* drawnCursor)
{
    drawnCursor->m_visible = false;
    const HCURSOR systemCursor = LoadCursorA(m_window->m_instance, MAKEINTRESOURCEA(kCursorResource));
    m_cursors[kSystemCursorKey] = {systemCursor, drawnCursor};
}

void GUIGameCursorBase::ApplySystemCursor()
{
    const auto found = m_cursors.find(kSystemCursorKey);
    if (found == m_cursors.end() || &found->second == m_current)
        return;
    const bool hideAround = UsesDrawnCursor() && m_current->drawnCursor->m_visible;
    if (hideAround)
        Show(false);
    m_current = &found->second;
    m_window->m_cursor = m_current->systemCursor;
    SetCursor(m_current->systemCursor);
    if (hideAround)
        Show(true);
}

} // namespace GameFramework
