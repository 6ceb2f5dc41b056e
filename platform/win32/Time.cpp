#include "platform/testing.h"
#include "platform/win32/Time.h"

#include <ctime>
#include <mutex>
#include <optional>

namespace {
std::mutex g_timeMutex;
std::optional<SYSTEMTIME> g_fixedLocalTime;
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
