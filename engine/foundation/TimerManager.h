// The master clock of the frame: measures the frame time and the frames per second once per frame, raises the
// multimedia timer's resolution for the program's life, and owns a pool of further timers.
#pragma once

#include "SlotList.h"

#include <cstdint>
#include <vector>

namespace KeystrelEngine {

class Timer;

class TimerManager
{
public:
    explicit TimerManager(bool highResolution);
    virtual ~TimerManager();

    TimerManager(const TimerManager&) = delete;
    TimerManager& operator=(const TimerManager&) = delete;

    // Once per frame, before anything reads the frame time.
    void Update();

    // The pool takes the caller's timer and owns it from then on; the slot freed last is reused first.
    void AddTimer(Timer* timer);
    // Deletes a timer of the pool; null and timers the pool does not hold are ignored.
    void DeleteTimer(Timer* timer);
    // The pool by slot number; null for a free slot.
    const std::vector<Timer*>& GetSlots() const { return m_timers.GetSlots(); }

    Timer* m_masterTimer = nullptr;
    float m_frameTime = 0; // seconds, clamped to 0.001..0.1 (smoothed when smoothing is on)
    std::uint32_t m_framesPerSecond = 0;
    bool m_smoothFrameTime = false;

private:
    void Smooth();

    std::uint32_t m_timerPeriod = 0; // milliseconds; 0 when the timer's capabilities were not available
    SlotList<Timer> m_timers;
    double m_lastTime = 0; // the master reading at the previous Update, kept in double so that hours of play
                           // do not eat the milliseconds of the frame time
    float m_smoothedTime = 0;
    std::uint32_t m_frameCounter = 0;
    float m_countedSeconds = 0;
};

} // namespace KeystrelEngine
