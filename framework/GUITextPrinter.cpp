#include "GUITextPrinter.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/GUITextManager.h"

#include <algorithm>

namespace GameTools {
namespace {

// Below this a count is taken as nothing left to erase; above the length by this much typing stops.
constexpr float kEpsilon = 0.0001f;

} // namespace

GUITextPrinter::GUITextPrinter(KeystrelEngine::TimerManager* timers, KeystrelEngine::GUITextManager* texts,
                               KeystrelEngine::GUIWindow* window, std::uint32_t flags, float rate, std::uint32_t fontId,
                               KeystrelEngine::GUIPoint position, const KeystrelEngine::Color& colour)
    : m_timers(timers), m_texts(texts), m_window(window), m_flags(flags), m_fontId(fontId), m_position(position),
      m_colour(colour), m_rate(rate)
{
}

GUITextPrinter::~GUITextPrinter() = default;

void GUITextPrinter::SetText(const std::u16string& text)
{
    if (!(m_finished && text == m_target))
        m_finished = false;
    m_target = text;
}

void GUITextPrinter::SetTextByKey(const std::string& key)
{
    SetText(m_texts->GetText(key, -1));
}

void GUITextPrinter::Clear()
{
    m_target.clear();
    m_current.clear();
    m_count = 0.0f;
    m_finished = true;
}

void GUITextPrinter::Update()
{
    if (!m_window)
        return;
    const float step = m_rate * m_timers->m_frameTime;
    if (m_current == m_target) {
        m_count = std::min(m_count + step, static_cast<float>(m_target.size()) + kEpsilon);
    } else {
        m_count -= step;
        if (m_count < kEpsilon) {
            m_count = 0.0f;
            m_current = m_target;
        }
    }
    const std::size_t length = std::min(static_cast<std::size_t>(std::max(m_count, 0.0f)), m_current.size());
    m_shown.assign(m_current, 0, length);
    m_window->AddText(m_flags, m_fontId, m_shown, 0.0f, 0.0f, m_position, m_colour);
    m_finished = m_shown == m_target;
}

} // namespace GameTools
