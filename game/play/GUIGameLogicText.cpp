#include "GUIGameLogicText.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/GUIFontManager.h"

#include <algorithm>

namespace Wispfold {

GUIGameLogicText::GUIGameLogicText(KeystrelEngine::TimerManager& timers, KeystrelEngine::GUIFontManager& fonts,
                                   std::u16string text, KeystrelEngine::GUIPoint position,
                                   KeystrelEngine::GUIWindow& window)
    : m_timers(&timers), m_fonts(&fonts), m_position(position), m_text(std::move(text)), m_window(&window)
{
}

void GUIGameLogicText::Update()
{
    m_age += m_timers->m_frameTime;
    const float t = m_age;
    const float growth = std::min(t, kGrowthTime) / kGrowthTime;
    const float drift = t > kGrowthTime ? kDriftSpeed * (t - kGrowthTime) : 0.0f;
    float alpha = growth;
    if (t > kFadeStart)
        alpha = 1.0f - 2.0f * std::min(t - kFadeStart, kLifetime - kFadeStart);
    if (t > kLifetime)
        m_alive = false;
    Draw(kFullSize * growth, drift, alpha);
}

// Centred on its position: half its measured extent to the left and below. Without the font, or with nothing
// to measure, the extent counts as none.
void GUIGameLogicText::Draw(float size, float drift, float alpha)
{
    float width = 0.0f;
    float height = 0.0f;
    if (const KeystrelEngine::GUIFont* font = m_fonts->FindFont(kFontId)) {
        const KeystrelEngine::TextBounds bounds = font->MeasureText(m_text, 0.0f, size);
        width = std::max(0.0f, bounds.maxX - bounds.minX);
        height = std::max(0.0f, bounds.maxY - bounds.minY);
    }
    const KeystrelEngine::GUIPoint at{m_position.x - width / 2.0f, m_position.y - height / 2.0f + drift};
    m_window->AddText(0, kFontId, m_text, 0.0f, size, at, {1.0f, 1.0f, 1.0f, alpha});
}

} // namespace Wispfold
