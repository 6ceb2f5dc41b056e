// Turns frame time into a position within a named range of an animation's frames, and the position into the two
// frames to blend and the weight of the second. Owners choose the animation, start and stop it, and set looping,
// speed and position by writing the public fields; Update resolves them once per frame.
#pragma once

#include <cstdint>
#include <map>

namespace KeystrelEngine {

class MessageManager;
class TimerManager;

// The frames of one animation; a range whose first frame lies above its last plays backwards.
struct AnimationRange
{
    std::uint32_t m_firstFrame = 0;
    std::uint32_t m_lastFrame = 0;
};

class AnimationControl
{
public:
    // The id of the range over every frame, registered at creation.
    static constexpr std::uint32_t kWholeAnimation = 0xFFFFFFFFu;

    AnimationControl(std::uint32_t frameCount, MessageManager* log, TimerManager* timerManager);
    AnimationControl(const AnimationControl& source) = default;
    // Copies the animation state from a control of the same frame count; with another frame count nothing
    // changes.
    AnimationControl& operator=(const AnimationControl& other);
    virtual ~AnimationControl() = default;

    // Registers a range under a new id; an id already present keeps its range.
    void AddAnimation(std::uint32_t id, std::uint32_t firstFrame, std::uint32_t lastFrame);
    // The range of the id; null when the id was never registered.
    const AnimationRange* GetAnimation(std::uint32_t id) const;

    // Advances the position by the frame time when playing, and resolves the current frame, the next frame and
    // the blend fraction.
    void Update();
    // Puts the position at a random point of the id's range, with one step of the engine's generator.
    void SetRandomPosition(std::uint32_t id);

    std::uint32_t GetFrameCount() const { return m_frameCount; }

    float m_speed = 0.0f;    // frames per second
    float m_position = 0.0f; // frames into the current range, from its low end
    bool m_looping = false;
    bool m_playing = false;
    std::uint32_t m_currentAnimation = kWholeAnimation;
    // The results of the last Update: absolute frame numbers and the weight of the next frame, in [0, 1].
    std::uint32_t m_currentFrame = 0;
    std::uint32_t m_nextFrame = 0;
    float m_blendFraction = 0.0f;

private:
    // The range of the id; an unknown id is registered as frame 0 alone.
    const AnimationRange& FindOrAddRange(std::uint32_t id);

    MessageManager* m_log;
    TimerManager* m_timerManager;
    std::uint32_t m_frameCount;
    std::map<std::uint32_t, AnimationRange> m_ranges;
};

} // namespace KeystrelEngine
