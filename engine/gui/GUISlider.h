// A window with a thumb that the mouse drags along a straight track; the thumb snaps to one of a number of
// positions, position 0 at the track's start (at its end when inverted). The track may run either way along its
// axis. The thumb is a button whose window covers the whole track, so a press anywhere on the track takes the
// thumb's middle there, while a press on the thumb holds it where it was taken; the slider places the thumb's quad
// itself. The slider's own texture shows its state: normal, hover or disabled.
#pragma once

#include "GUIButton.h"

#include <cstdint>
#include <memory>
#include <string>

namespace KeystrelEngine {

class GUISlider : public GUIWindow
{
public:
    static constexpr std::uint32_t kNormal = 0;
    static constexpr std::uint32_t kHover = 1;
    static constexpr std::uint32_t kDisabled = 2;
    static constexpr std::uint32_t kThumbSelectSound = 6;
    static constexpr std::uint32_t kThumbClickSound = 7;

    // The window's quad is a clone of the source model (none when it is null), with coloured vertices. vertical 0:
    // the track runs along x, otherwise along y. The track's ends are where the thumb's top-left corner lies at
    // the first and at the last position, relative to the slider. The thumb starts without a quad.
    GUISlider(const GUIServices& services, GUISoundManager* sounds, GUIPoint position, GUISize size,
              const Model* source, GUIWindow* parent, std::uint32_t vertical, GUIPoint trackStart, GUIPoint trackEnd);
    ~GUISlider() override;

    // The hit test and the thumb's update; while the thumb is pressed the position follows the cursor. A slider
    // that is not visible or is disabled returns false.
    bool Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown) override;
    // Places the thumb's quad on the position, draws the thumb and shows the state as the texture's frame.
    bool Draw() override;
    // The slider's quad and the thumb's.
    void SetColour(const Color& colour) override;
    // Becoming visible makes a slider that is not disabled normal again.
    void UpdateVisibility() override;

    // A new thumb of the given size, its quad loaded, cloned (none for a null source) or made for a description;
    // the old thumb is deleted once the new one is built, and stays when building it fails.
    virtual void SetThumb(const std::string& modelName, GUISize thumbSize);
    virtual void SetThumb(const Model* source, GUISize thumbSize);
    virtual void SetThumb(const ShaderDescriptor& descriptor, float extentU, float extentV, GUISize thumbSize);
    // Enabling or disabling the slider does the same to its thumb.
    virtual void SetEnabled(bool enabled);
    // Whether the mouse holds the slider.
    virtual bool IsPressed() const;

    // At most the last position.
    void SetPosition(std::uint32_t position);
    std::uint32_t GetPosition() const { return m_position; }
    std::uint32_t GetState() const { return m_state; }
    GUIButton* GetThumb() const { return m_thumb.get(); }

    // Fewer than two positions give the one position 0.
    std::uint32_t m_positionCount = 2;
    bool m_inverted = false;

protected:
    GUISoundManager* GetSoundManager() const { return m_sounds; }
    std::uint32_t LastPosition() const { return m_positionCount < 2 ? 0 : m_positionCount - 1; }

private:
    void AdoptThumb(std::unique_ptr<GUIButton> thumb, GUISize thumbSize);
    // The thumb's window spans the track and a thumb of the size, whichever way the track runs.
    GUIPoint ThumbWindowPosition() const;
    GUISize ThumbWindowSize(GUISize thumbSize) const;
    // Where a press that starts at the cursor holds the thumb, from the thumb's corner that the track places.
    GUIPoint GripAt(float cursorX, float cursorY) const;
    // The position nearest a thumb whose corner lies at the point.
    std::uint32_t PositionAt(float cornerX, float cornerY) const;
    // The thumb's corner at the position, on the GUI's screen.
    GUIPoint ThumbCorner() const;
    void PlaceThumbQuad(Model& quad) const;

    GUISoundManager* m_sounds;
    std::uint32_t m_state = kNormal;
    std::uint32_t m_vertical;
    GUIPoint m_trackStart;
    GUIPoint m_trackEnd;
    GUISize m_thumbSize;
    std::uint32_t m_position = 0;
    GUIPoint m_grip;                    // where the cursor holds the thumb while it is pressed
    std::unique_ptr<GUIButton> m_thumb; // a child of the slider
};

} // namespace KeystrelEngine
