// The pause in which the speaking character tells the player about an upgrade. Once no menu frame is on screen
// the window shows itself over the background (in mode 2 the background's text area fades away first). While the
// character is silent a clock runs; after 2.5 seconds of it a hint asks for a click, and a click after the first
// second brings the background's text area back. Once that fade is done the window reports, until the game
// hides it. The game holds the window itself, updates it every frame and reads its result.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Controls;
class Engine;
class GUIWindow;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GUIBackgroundWindow;
class GUIMenuWindowManager;

class GUIUpgradeWindow
{
public:
    static constexpr std::int32_t kFromMainMenu = 2;      // reports 3: back to the main menu
    static constexpr std::int32_t kFromLevelComplete = 7; // reports 19: on to the stage-complete window
    static constexpr std::uint32_t kRequestStageComplete = 19;
    static constexpr float kHintDelay = 2.5f;  // seconds of silence before the hint
    static constexpr float kClickDelay = 1.0f; // seconds of silence before a click counts
    static constexpr float kHintFadeOutRate = 1.5f;
    static constexpr float kWidth = 800.0f; // the virtual screen, so that the centred hint lies mid-screen
    static constexpr float kHeight = 600.0f;
    static constexpr float kHintY = 12.0f;
    static constexpr std::uint32_t kHintFont = 2;

    // The character's window is visible while the character speaks; it and the background outlive the window.
    GUIUpgradeWindow(KeystrelEngine::Engine* engine, GUIMenuWindowManager* manager, GUIBackgroundWindow* background,
                     const KeystrelEngine::GUIWindow* characterWindow);
    // Deletes the own window.
    virtual ~GUIUpgradeWindow();

    GUIUpgradeWindow(const GUIUpgradeWindow&) = delete;
    GUIUpgradeWindow& operator=(const GUIUpgradeWindow&) = delete;

    // Mode kFromMainMenu or kFromLevelComplete.
    void Open(std::int32_t parameter);
    // Hides the own window; inactive, the clock at 0.
    void Hide();
    // Once per frame.
    void Update();

    bool IsActive() const { return m_active; }
    float GetClock() const { return m_clock; }
    std::int32_t GetMode() const { return m_parameter; } // as opened
    float GetHintAlpha() const { return m_hintAlpha; }
    KeystrelEngine::GUIWindow* GetWindow() const { return m_window; }

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

private:
    bool IsShown() const;
    void Appear();
    void ReportOnceFaded();
    void UpdateShown();
    void UpdateActive();

    KeystrelEngine::TimerManager* m_timers;
    const KeystrelEngine::Controls* m_controls;
    KeystrelEngine::Engine* m_engine;
    GUIMenuWindowManager* m_manager;
    GUIBackgroundWindow* m_background;
    const KeystrelEngine::GUIWindow* m_character;
    KeystrelEngine::GUIWindow* m_window;
    bool m_active = false;
    float m_clock = 0.0f;
    float m_hintAlpha = 0.0f;
    std::int32_t m_parameter = 0;
};

} // namespace Wispfold
