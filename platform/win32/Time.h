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
