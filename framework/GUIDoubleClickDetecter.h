// Tells when the player double-clicks one of a set of GUI windows: press, release, press on the same window and
// release, all within 0.6 s of the first press. The owner appends the windows to watch; Update runs once per
// frame after the GUI's hit test, and the flag it leaves says whether a double click ended in this frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {
class Controls;
class GUIWindow;
class TimerManager;
} // namespace KeystrelEngine

namespace GameTools {

class GUIDoubleClickDetecter
{
public:
    static constexpr double kTimeout = 0.6; // seconds from the first press

    GUIDoubleClickDetecter(KeystrelEngine::TimerManager* timers, KeystrelEngine::Controls* controls);
    virtual ~GUIDoubleClickDetecter();

    GUIDoubleClickDetecter(const GUIDoubleClickDetecter&) = delete;
    GUIDoubleClickDetecter& operator=(const GUIDoubleClickDetecter&) = delete;

    void Update();
    // Removes the first occurrence of the window (nothing when it is not watched). A click pending or completed
    // on it is forgotten, so the clicked window never names a window that may be gone.
    void RemoveWidget(KeystrelEngine::GUIWindow* window);

    bool IsDoubleClicked() const { return m_doubleClicked; }
    KeystrelEngine::GUIWindow* GetClickedWindow() const { return m_clickedWindow; }

    std::vector<KeystrelEngine::GUIWindow*> m_windows; // watched, not owned

private:
    enum Step : std::uint32_t
    {
        Idle = 0,
        PressedOnce = 1,
        ReleasedOnce = 2
    };

    // The first watched window that is visible and under the cursor; null with none.
    KeystrelEngine::GUIWindow* FindWindowUnderCursor() const;
    void StartClick(KeystrelEngine::GUIWindow* window, double now);
    void DropClick();
    void FollowPendingClick(bool pressed, bool released, double now);

    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::Controls* m_controls;
    double m_firstClickTime = -1.0; // the master timer's seconds; -1 with no click pending
    bool m_buttonWasDown = false;
    Step m_step = Idle;
    bool m_doubleClicked = false;
    KeystrelEngine::GUIWindow* m_clickedWindow = nullptr;
    const std::string m_button{"MOUSE1"};
};

} // namespace GameTools
