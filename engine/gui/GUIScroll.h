// A slider with two step buttons that move the position by a step: once in the frame of the press, then every
// 0.15 seconds of frame time while the button stays held under the cursor (a long frame makes several steps).
#pragma once

#include "GUISlider.h"

namespace KeystrelEngine {

class TimerManager;

class GUIScroll : public GUISlider
{
public:
    static constexpr float kRepeatSeconds = 0.15f;
    static constexpr std::uint32_t kThumbLayer = 2;
    static constexpr std::uint32_t kThumbSelectSound = 8;
    static constexpr std::uint32_t kThumbClickSound = 9;
    static constexpr std::uint32_t kStepSelectSound = 10;
    static constexpr std::uint32_t kStepClickSound = 11;

    // The slider's arguments; the step buttons start without quads, at (0, 0) with no size.
    GUIScroll(const GUIServices& services, TimerManager* timers, GUISoundManager* sounds, GUIPoint position,
              GUISize size, const Model* source, GUIWindow* parent, std::uint32_t vertical, GUIPoint trackStart,
              GUIPoint trackEnd);
    ~GUIScroll() override;

    // The slider's update, then the step buttons' and their steps.
    bool Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown) override;
    // The slider's drawing, then the step buttons'.
    bool Draw() override;
    void SetColour(const Color& colour) override;
    // The slider's thumb, one layer above the scroll, with the scroll's thumb sounds.
    void SetThumb(const std::string& modelName, GUISize thumbSize) override;
    void SetThumb(const Model* source, GUISize thumbSize) override;
    void SetThumb(const ShaderDescriptor& descriptor, float extentU, float extentV, GUISize thumbSize) override;
    void SetEnabled(bool enabled) override;
    bool IsPressed() const override;

    // A new step button with the quad cloned from the source (none for null), relative to the scroll; the old one
    // goes once the new one is made.
    void SetIncreaseButton(GUIPoint position, GUISize size, const Model* source);
    void SetDecreaseButton(GUIPoint position, GUISize size, const Model* source);

    GUIButton* GetIncreaseButton() const { return m_increaseButton.get(); }
    GUIButton* GetDecreaseButton() const { return m_decreaseButton.get(); }

    std::uint32_t m_step = 1;

private:
    void AdaptThumb();
    std::unique_ptr<GUIButton> MakeStepButton(GUIPoint position, GUISize size, const Model* source);
    void Step(bool increase, bool decrease);

    TimerManager* m_timers;
    std::unique_ptr<GUIButton> m_increaseButton; // children of the scroll
    std::unique_ptr<GUIButton> m_decreaseButton;
    float m_repeatTime = 0.0f; // seconds held beyond the steps made
};

} // namespace KeystrelEngine
