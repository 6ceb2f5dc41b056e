// Hooks through which tests decide what the "system" reports. Production code never includes this header.
#pragma once

#include "platform/win32/Win32.h"

#include <string>

namespace PlatformTesting {

// The program file GetModuleFileNameA reports (its folder is the program folder); empty restores the real one.
void SetModuleFileName(const std::string& path);

// A fixed local time for GetLocalTime; null restores the real clock.
void SetLocalTime(const SYSTEMTIME* time);

// The active ANSI code page (1252 or 1251).
void SetAnsiCodePage(UINT codePage);

} // namespace PlatformTesting
