#include "Timer.h"

#include "platform/win32/Win32.h"

namespace KeystrelEngine {

Timer::Timer(bool highResolution, float startTime) : m_highResolution(highResolution)
{
    if (m_highResolution) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        m_frequency = frequency.QuadPart;
    }
    Reset(startTime);
}

std::int64_t Timer::ReadCounter() const
{
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

std::uint32_t Timer::ReadMilliseconds() const
{
    return timeGetTime();
}

void Timer::Reset(float startTime)
{
    m_paused = false;
    if (m_highResolution) {
        m_startCount = ReadCounter() - static_cast<std::int64_t>(static_cast<double>(m_frequency) * startTime);
    } else {
        // Through a signed 64-bit number, so a negative start time wraps instead of being undefined.
        const auto offset = static_cast<std::uint32_t>(static_cast<std::int64_t>(startTime * 1000.0));
        m_startTime = ReadMilliseconds() - offset;
    }
}

void Timer::Pause(bool pause)
{
    if (pause == m_paused)
        return;
    m_paused = pause;
    if (m_highResolution) {
        if (pause)
            m_pauseCount = ReadCounter();
        else
            m_startCount += ReadCounter() - m_pauseCount;
    } else {
        if (pause)
            m_pauseTime = ReadMilliseconds();
        else
            m_startTime += ReadMilliseconds() - m_pauseTime;
    }
}

double Timer::GetPreciseTime() const
{
    if (m_highResolution) {
        const std::int64_t now = m_paused ? m_pauseCount : ReadCounter();
        return static_cast<double>(static_cast<long double>(now - m_startCount) / m_frequency);
    }
    // Unsigned difference: the millisecond counter's wrap-around after 49.7 days still gives the right span.
    const std::uint32_t now = m_paused ? m_pauseTime : ReadMilliseconds();
    return static_cast<std::uint32_t>(now - m_startTime) * 0.001;
}

} // namespace KeystrelEngine
