#include "TimerManager.h"

#include "Timer.h"
#include "platform/win32/Win32.h"

#include <algorithm>

namespace KeystrelEngine {
namespace {

constexpr float kShortestFrame = 0.001f;
constexpr float kLongestFrame = 0.1f;

} // namespace

TimerManager::TimerManager(bool highResolution)
{
    TIMECAPS caps;
    if (timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR) {
        m_timerPeriod = caps.wPeriodMin;
        timeBeginPeriod(m_timerPeriod);
    }
    m_masterTimer = new Timer(highResolution, 0.0f);
    AddTimer(m_masterTimer);
}

TimerManager::~TimerManager()
{
    DeleteTimer(m_masterTimer);
    m_timers.ForEachUsed([](Timer* timer) { delete timer; });
    if (m_timerPeriod != 0)
        timeEndPeriod(m_timerPeriod);
}

void TimerManager::Update()
{
    const double now = m_masterTimer->GetPreciseTime();
    const float elapsed = static_cast<float>(now - m_lastTime);
    m_lastTime = now;

    ++m_frameCounter;
    m_countedSeconds += elapsed;
    if (m_countedSeconds >= 1.0f) {
        m_framesPerSecond = m_frameCounter;
        m_frameCounter = 0;
        m_countedSeconds -= 1.0f;
    }

    m_frameTime = std::clamp(elapsed, kShortestFrame, kLongestFrame);
    if (m_smoothFrameTime)
        Smooth();
}

// A running average over about ten frames, never more than a quarter above the frame it follows.
void TimerManager::Smooth()
{
    if (m_smoothedTime < 0.0001f)
        m_smoothedTime = m_frameTime;
    m_smoothedTime = (m_smoothedTime * 9.0f + m_frameTime) * 0.1f;
    m_frameTime = std::min(m_smoothedTime, m_frameTime * 1.25f);
}

void TimerManager::AddTimer(Timer* timer)
{
    if (timer)
        m_timers.Add(timer);
}

void TimerManager::DeleteTimer(Timer* timer)
{
    if (timer && m_timers.Remove(timer))
        delete timer;
}

} // namespace KeystrelEngine
