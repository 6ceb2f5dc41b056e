// A pausable stopwatch that reads seconds. In high-resolution mode it counts the performance counter, otherwise
// the milliseconds of the multimedia timer.
#pragma once

#include <cstdint>

namespace KeystrelEngine {

class Timer
{
public:
    Timer(bool highResolution, float startTime);
    virtual ~Timer() = default;

    // The stopwatch reads startTime now and runs.
    void Reset(float startTime);
    // true stops the stopwatch, false lets it run on; the paused span is not counted.
    void Pause(bool pause);
    bool IsPaused() const { return m_paused; }
    float GetTime() const { return static_cast<float>(GetPreciseTime()); }
    // The same reading in double precision, which keeps milliseconds after days of running.
    double GetPreciseTime() const;

private:
    std::int64_t ReadCounter() const;
    std::uint32_t ReadMilliseconds() const;

    bool m_highResolution;
    bool m_paused = false;
    std::int64_t m_frequency = 0;
    std::int64_t m_startCount = 0;
    std::int64_t m_pauseCount = 0;
    std::uint32_t m_startTime = 0;
    std::uint32_t m_pauseTime = 0;
};

} // namespace KeystrelEngine
