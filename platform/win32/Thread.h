// Threads of the Win32 stand-in, over std::thread. A thread's handle owns the thread: the handle is signalled
// once the start routine has returned; closing it joins a finished thread and detaches a running one, which
// then ends on its own.
#pragma once

#include "platform/win32/Types.h"

#include <cstddef>

struct SECURITY_ATTRIBUTES;

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// Security attributes, stack size and creation flags are accepted and ignored; a thread starts at once. Null when
// the thread cannot be created (or a test says so).
HANDLE CreateThread(SECURITY_ATTRIBUTES* attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, DWORD* threadId);
// WAIT_OBJECT_0 once the thread has ended, WAIT_TIMEOUT when it is still running after the time-out; INFINITE
// waits without one. WAIT_FAILED for a null handle.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);

// The running program's process id.
DWORD GetCurrentProcessId();
