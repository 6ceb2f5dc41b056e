// One score that floats up from a cell: "+" and the points, centred on where it was added in the GUI's virtual
// 800 x 600 screen. It grows from nothing to full size over 0.2 s, drifts upwards at 35 units a second from then
// on, fades out over its last half second and ends after 1.7 s. Every frame it measures itself with the score font
// at its size and adds itself to its window for that frame.
#pragma once

#include "engine/gui/GUIWindow.h"

#include <string>

namespace KeystrelEngine {
class GUIFontManager;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GUIGameLogicText
{
public:
    static constexpr std::uint32_t kFontId = 10;
    static constexpr float kFullSize = 22.0f;
    static constexpr float kGrowthTime = 0.2f;
    static constexpr float kDriftSpeed = 35.0f; // GUI units a second, upwards
    static constexpr float kFadeStart = 1.2f;
    static constexpr float kLifetime = 1.7f;

    // Nothing is owned; the window outlives the text.
    GUIGameLogicText(KeystrelEngine::TimerManager& timers, KeystrelEngine::GUIFontManager& fonts, std::u16string text,
                     KeystrelEngine::GUIPoint position, KeystrelEngine::GUIWindow& window);
    virtual ~GUIGameLogicText() = default;

    GUIGameLogicText(const GUIGameLogicText&) = delete;
    GUIGameLogicText& operator=(const GUIGameLogicText&) = delete;

    // Ages it by the frame time, then adds it to its window for this frame (also in the frame it ends).
    void Update();

    const std::u16string& GetText() const { return m_text; }
    KeystrelEngine::GUIPoint GetPosition() const { return m_position; }
    float GetAge() const { return m_age; }
    bool IsAlive() const { return m_alive; }

private:
    void Draw(float size, float drift, float alpha);

    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUIFontManager* m_fonts;
    KeystrelEngine::GUIPoint m_position;
    std::u16string m_text;
    KeystrelEngine::GUIWindow* m_window;
    float m_age = 0.0f; // seconds
    bool m_alive = true;
};

} // namespace Wispfold
