// A bar that fills toward a target at its speed: over the owner's frame control (the bar's background model), a
// fill window whose material shows the fill (its first animation frame full, its last empty; the animation
// itself stands still), and a caption window over the bar's text area.
#pragma once

#include "engine/gui/GUIWindow.h"
#include "engine/render/Color.h"

#include <string_view>

namespace KeystrelEngine {
class Engine;
class GUIManager;
class GUIWindow;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GameData;

class GUIGameLogicProgress
{
public:
    // The bar's models "<bar>.mlf" and "<bar>_text_area.mlf" below "ui\\menus\\models\\". Fill and caption
    // stand under the parent.
    GUIGameLogicProgress(KeystrelEngine::Engine* engine, const GameData& data, float speed, std::string_view bar,
                         KeystrelEngine::GUIWindow* parent);
    ~GUIGameLogicProgress();

    GUIGameLogicProgress(const GUIGameLogicProgress&) = delete;
    GUIGameLogicProgress& operator=(const GUIGameLogicProgress&) = delete;

    // Shows the value at once.
    void Set(float value);
    // Nothing while the parent is hidden; otherwise moves toward the target without passing it.
    void Update(float target);
    // Hides the fill and the caption until the next Set.
    void HideFill();
    // The fill's vertex colour: its owner fades it with its own.
    void SetColour(const KeystrelEngine::Color& colour);
    // Where the fill is drawn, in the parent's units: its model's box moved by the window's place.
    KeystrelEngine::GUIRect GetFillRect() const;

    float GetValue() const { return m_value; }
    // The fill's place in its material animation: 0 full, 1 empty.
    float GetFillPosition() const;
    KeystrelEngine::GUIWindow* GetFill() const { return m_fill; }
    KeystrelEngine::GUIWindow* GetCaption() const { return m_caption; }

    float m_speed; // per second

private:
    void ShowFill();

    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUIWindow* m_parent;
    KeystrelEngine::GUIWindow* m_fill;
    KeystrelEngine::GUIWindow* m_caption;
    KeystrelEngine::GUIRect m_fillBox; // the fill model's box
    float m_value = 0.0f;
};

} // namespace Wispfold
