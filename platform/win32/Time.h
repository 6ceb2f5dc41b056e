// Time services of the Win32 stand-in.
#pragma once

#include "platform/win32/Types.h"

struct SYSTEMTIME
{
    WORD wYear = 0;
    WORD wMonth = 0;     // 1 = January
    WORD wDayOfWeek = 0; // 0 = Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

void GetLocalTime(SYSTEMTIME* time);

// Multimedia timer, tick count and performance counter. All read CLOCK_MONOTONIC (or the fake clock a test
// installs): the performance counter counts nanoseconds, timeGetTime and GetTickCount milliseconds in 32 bits
// (wrapping after 49.7 days).
// Linux timers already resolve far below a millisecond, so the period calls change nothing.

using MMRESULT = UINT;
constexpr MMRESULT TIMERR_NOERROR = 0;

struct TIMECAPS
{
    UINT wPeriodMin = 0;
    UINT wPeriodMax = 0;
};

MMRESULT timeGetDevCaps(TIMECAPS* caps, UINT size);
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
DWORD timeGetTime();
DWORD GetTickCount();

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);

// Sleeps; under a test's fake clock it advances the clock by the time instead.
void Sleep(DWORD milliseconds);
