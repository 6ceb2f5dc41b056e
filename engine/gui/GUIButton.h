// A window that the mouse presses and clicks. A click is a press that starts on the button and ends over it, so
// a press dragged off and back still clicks and one that started elsewhere never does. Its state (normal, hover,
// pressed, disabled) picks the frame of the quad's animated texture, and it plays a GUI sound when the cursor
// comes over it and one when the mouse button goes down on it.
#pragma once

#include "GUIWindow.h"

#include <cstdint>
#include <string>

namespace KeystrelEngine {

class GUISoundManager;

class GUIButton : public GUIWindow
{
public:
    static constexpr std::uint32_t kNormal = 0;
    static constexpr std::uint32_t kHover = 1;
    static constexpr std::uint32_t kPressed = 2;
    static constexpr std::uint32_t kDisabled = 3;
    static constexpr std::uint32_t kSelectSound = 0;
    static constexpr std::uint32_t kClickSound = 1;

    // The three kinds of quad of a window, each with the sound manager the button plays through (may be null).
    GUIButton(const GUIServices& services, GUISoundManager* sounds, std::uint32_t flags, GUIPoint position,
              GUISize size, const ShaderDescriptor& descriptor, GUIWindow* parent, float extentU, float extentV);
    GUIButton(const GUIServices& services, GUISoundManager* sounds, std::uint32_t flags, GUIPoint position,
              GUISize size, const Model* source, GUIWindow* parent);
    GUIButton(const GUIServices& services, GUISoundManager* sounds, std::uint32_t flags, GUIPoint position,
              GUISize size, const std::string& modelName, GUIWindow* parent);

    // The hit test, then the press, click and hover rules. A button that is not visible changes nothing and returns
    // false; a disabled one returns false too and only forgets a press whose mouse button has been released.
    bool Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown) override;
    // The window's drawing, then the frame GetState of a texture with more than one frame.
    bool Draw() override;
    // Hiding forgets a press; becoming visible makes a button that is not disabled normal again.
    void UpdateVisibility() override;
    // Enabling makes a disabled button normal and keeps any other state; disabling gives the disabled state.
    virtual void SetEnabled(bool enabled);
    // The frame the button shows.
    virtual std::uint32_t GetState() const { return m_state; }

    bool IsEnabled() const { return m_state != kDisabled; }
    bool IsPressed() const { return m_pressed; }
    // True for the one update in which a click completed.
    bool IsClicked() const { return m_clicked; }

    std::uint32_t m_selectSoundId = kSelectSound; // when the cursor comes over the button
    std::uint32_t m_clickSoundId = kClickSound;   // when the mouse button goes down on it

protected:
    // The state alone, whatever frame a kind of button makes of it.
    std::uint32_t GetButtonState() const { return m_state; }

private:
    void PlaySound(std::uint32_t id) const;
    void ShowFrame(std::uint32_t frame) const;

    GUISoundManager* m_sounds;
    std::uint32_t m_state = kNormal;
    bool m_pressed = false;
    // Starts true, so that a button made under the cursor stays silent until the cursor comes over it again.
    bool m_wasOver = true;
    bool m_clicked = false;
};

} // namespace KeystrelEngine
