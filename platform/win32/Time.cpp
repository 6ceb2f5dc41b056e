#include "platform/win32/Time.h"
#include "platform/testing.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>
#include <optional>
#include <thread>

namespace {

std::mutex g_timeMutex;
std::optional<SYSTEMTIME> g_fixedLocalTime;

constexpr MMRESULT kTimerCannotDo = 97;

std::atomic<bool> g_fakeClock{false};
std::atomic<std::int64_t> g_fakeNanoseconds{0};

std::int64_t MonotonicNanoseconds()
{
    if (g_fakeClock.load())
        return g_fakeNanoseconds.load();
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

void GetLocalTime(SYSTEMTIME* time)
{
    {
        std::lock_guard lock(g_timeMutex);
        if (g_fixedLocalTime) {
            *time = *g_fixedLocalTime;
            return;
        }
    }
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local;
    ::localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

void PlatformTesting::SetLocalTime(const SYSTEMTIME* time)
{
    std::lock_guard lock(g_timeMutex);
    if (time)
        g_fixedLocalTime = *time;
    else
        g_fixedLocalTime.reset();
}

MMRESULT timeGetDevCaps(TIMECAPS* caps, UINT size)
{
    if (!caps || size < sizeof(TIMECAPS))
        return kTimerCannotDo;
    caps->wPeriodMin = 1;
    caps->wPeriodMax = 1000000;
    return TIMERR_NOERROR;
}

MMRESULT timeBeginPeriod(UINT /*period*/)
{
    return TIMERR_NOERROR;
}

MMRESULT timeEndPeriod(UINT /*period*/)
{
    return TIMERR_NOERROR;
}

DWORD timeGetTime()
{
    return static_cast<DWORD>(MonotonicNanoseconds() / 1000000);
}

DWORD GetTickCount()
{
    return timeGetTime();
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = 1000000000;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    count->QuadPart = MonotonicNanoseconds();
    return TRUE;
}

void Sleep(DWORD milliseconds)
{
    if (g_fakeClock.load())
        g_fakeNanoseconds += static_cast<std::int64_t>(milliseconds) * 1000000;
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void PlatformTesting::UseFakeClock(std::int64_t startNanoseconds)
{
    g_fakeNanoseconds.store(startNanoseconds);
    g_fakeClock.store(true);
}

void PlatformTesting::AdvanceFakeClock(double seconds)
{
    g_fakeNanoseconds += std::llround(seconds * 1e9);
}

void PlatformTesting::UseRealClock()
{
    g_fakeClock.store(false);
}
