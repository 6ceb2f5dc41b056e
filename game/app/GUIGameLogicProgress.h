// A bar of the in-game window and the level-complete window: a frame model around a fill whose material shows
// the value as one frame of its grid (the first frame full, the last empty), and a caption window over it. The
// shown value moves toward a target at a fixed speed per second.
#pragma once

#include "engine/gui/GUIWindow.h"

#include <memory>
#include <string>

namespace KeystrelEngine {
class Engine;
class GUIManager;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GUIControl;
class GameData;

class GUIGameLogicProgress
{
public:
    static constexpr std::int32_t kFillLayer = 2;
    static constexpr std::int32_t kCaptionLayer = 3;

    // The bar's models are barName + "_background.mlf" (the frame), barName + ".mlf" (the fill) and barName +
    // "_text_area.mlf" (the caption's place), as "ui\\menus\\models\\game_logic\\mana".
    GUIGameLogicProgress(KeystrelEngine::Engine* engine, const GameData* data, float speed, const std::string& barName,
                         KeystrelEngine::GUIWindow* parent);
    ~GUIGameLogicProgress();

    GUIGameLogicProgress(const GUIGameLogicProgress&) = delete;
    GUIGameLogicProgress& operator=(const GUIGameLogicProgress&) = delete;

    // Shows the value at once; the fill and the caption become visible.
    void Set(float value);
    // Moves the value toward the target without passing it, and shows it; nothing while the parent is hidden.
    void Update(float target);
    // Hides the fill and the caption (the frame goes with its control).
    void HideFill();

    // The fill's grid frame for a value: 0 for a full bar, the last frame for an empty one.
    static std::uint32_t FillFrame(float value, std::uint32_t frameCount);

    float GetValue() const { return m_value; }
    GUIControl& GetFrame() const { return *m_frame; }
    KeystrelEngine::GUIWindow* GetFill() const { return m_fill; }
    KeystrelEngine::GUIWindow* GetCaption() const { return m_caption; }
    // Where the fill is drawn, in the parent's units: its model's box moved by the window's place.
    KeystrelEngine::GUIRect GetFillRect() const;

    float m_speed; // per second
    KeystrelEngine::Color m_colour{1.0f, 1.0f, 1.0f, 1.0f};

private:
    void ShowValue();

    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUIWindow* m_parent;
    std::unique_ptr<GUIControl> m_frame;
    KeystrelEngine::GUIWindow* m_fill;
    KeystrelEngine::GUIWindow* m_caption;
    KeystrelEngine::GUIRect m_fillBox; // the fill model's box
    float m_value = 0.0f;
};

} // namespace Wispfold
