// COM's start and end per thread. No COM exists on Linux: the stand-in only counts, per thread, how often COM
// was started, so that callers see the results they expect.
#pragma once

#include "platform/win32/Types.h"

// S_OK at a thread's first call (or the first after the count fell back to 0), S_FALSE while already started.
HRESULT CoInitialize(LPVOID reserved);
// One CoInitialize undone; nothing when the thread has none left.
void CoUninitialize();
