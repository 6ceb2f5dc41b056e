// The position counts frames from the low end of the current range. A looping range keeps it within
// [0, span) and blends frame by frame from low to high; a range that runs backwards maps the same position
// from its high end down. Spans are reckoned in 64 bits, so a range over every frame number (the whole range of
// a control without frames is one) still has a frame count to divide by, and positions far out of range are
// brought back with one fmod instead of a loop of subtractions.
#include "AnimationControl.h"

#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"

#include <algorithm>
#include <cmath>

namespace KeystrelEngine {

namespace {

// The position brought into [0, span). Not-a-number, the infinities and a span of 0 give 0, as does a wrapped
// value that rounds up to the span in float.
float Wrap(float position, std::uint64_t span)
{
    const double length = static_cast<double>(span);
    double wrapped = std::fmod(static_cast<double>(position), length);
    if (wrapped < 0.0)
        wrapped += length;
    const float result = static_cast<float>(wrapped);
    return result >= 0.0f && result < length ? result : 0.0f;
}

} // namespace

AnimationControl::AnimationControl(std::uint32_t frameCount, MessageManager* log, TimerManager* timerManager)
    : m_log(log), m_timerManager(timerManager), m_frameCount(frameCount)
{
    m_ranges[kWholeAnimation] = {0, frameCount - 1};
}

AnimationControl& AnimationControl::operator=(const AnimationControl& other)
{
    if (m_frameCount != other.m_frameCount)
        return *this;
    m_ranges = other.m_ranges;
    m_speed = other.m_speed;
    m_position = other.m_position;
    m_looping = other.m_looping;
    m_playing = other.m_playing;
    m_currentFrame = other.m_currentFrame;
    m_nextFrame = other.m_nextFrame;
    m_blendFraction = other.m_blendFraction;
    m_currentAnimation = other.m_currentAnimation;
    return *this;
}

void AnimationControl::AddAnimation(std::uint32_t id, std::uint32_t firstFrame, std::uint32_t lastFrame)
{
    m_ranges.try_emplace(id, AnimationRange{firstFrame, lastFrame});
}

const AnimationRange* AnimationControl::GetAnimation(std::uint32_t id) const
{
    const auto found = m_ranges.find(id);
    return found == m_ranges.end() ? nullptr : &found->second;
}

const AnimationRange& AnimationControl::FindOrAddRange(std::uint32_t id)
{
    return m_ranges.try_emplace(id, AnimationRange{}).first->second;
}

void AnimationControl::Update()
{
    const AnimationRange& range = FindOrAddRange(m_currentAnimation);
    const bool forward = range.m_firstFrame <= range.m_lastFrame;
    const std::uint64_t low = std::min(range.m_firstFrame, range.m_lastFrame);
    const std::uint64_t span = std::max(range.m_firstFrame, range.m_lastFrame) - low;
    const std::uint64_t count = span + 1;

    if (m_playing)
        m_position += m_timerManager->m_frameTime * m_speed;
    if (!std::isfinite(m_position) || m_position < 0.0f)
        m_position = Wrap(m_position, span);

    std::uint64_t current = 0;
    std::uint64_t next = 0;
    m_blendFraction = 0.0f;
    if (!m_looping && static_cast<double>(count) <= static_cast<double>(m_position) + 1.0) {
        // The end of a range played once: stay on its last frame.
        current = span;
        m_position = static_cast<float>(span);
        m_playing = false;
    } else {
        if (m_position >= static_cast<double>(span))
            m_position = Wrap(m_position, span);
        current = static_cast<std::uint64_t>(m_position);
        m_blendFraction = m_position - static_cast<float>(current);
        next = current + 1 == count ? 0 : current + 1;
    }

    if (forward) {
        m_currentFrame = static_cast<std::uint32_t>(low + current);
        m_nextFrame = static_cast<std::uint32_t>(low + next);
    } else {
        m_blendFraction = 1.0f - m_blendFraction;
        m_currentFrame = static_cast<std::uint32_t>(low + span - next);
        m_nextFrame = static_cast<std::uint32_t>(low + span - current);
    }
}

void AnimationControl::SetRandomPosition(std::uint32_t id)
{
    const AnimationRange& range = FindOrAddRange(id);
    // A backwards range takes its position over the same span as a forward one.
    const std::uint32_t span =
        std::max(range.m_firstFrame, range.m_lastFrame) - std::min(range.m_firstFrame, range.m_lastFrame);
    m_position = static_cast<float>(RandomNext() / 32768.0 * span);
}

} // namespace KeystrelEngine
