#include "platform/win32/Thread.h"
#include "platform/testing.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<bool> g_failCreateThread{false};
std::atomic<DWORD> g_nextThreadId{1};

// What the thread and its handle share; a detached thread keeps it alive until it has ended.
struct ThreadState
{
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
};

struct ThreadHandle
{
    std::shared_ptr<ThreadState> state = std::make_shared<ThreadState>();
    std::thread thread;
};

bool HasFinished(ThreadState& state, DWORD milliseconds)
{
    std::unique_lock lock(state.mutex);
    const auto finished = [&] { return state.finished; };
    if (milliseconds == INFINITE) {
        state.ended.wait(lock, finished);
        return true;
    }
    return state.ended.wait_for(lock, std::chrono::milliseconds(milliseconds), finished);
}

} // namespace

HANDLE CreateThread(SECURITY_ATTRIBUTES* /*attributes*/, std::size_t /*stackSize*/, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD /*flags*/, DWORD* threadId)
{
    if (g_failCreateThread.load() || !start)
        return nullptr;
    auto handle = std::make_unique<ThreadHandle>();
    try {
        handle->thread = std::thread([state = handle->state, start, parameter] {
            start(parameter);
            std::lock_guard lock(state->mutex);
            state->finished = true;
            state->ended.notify_all();
        });
    } catch (const std::system_error&) {
        return nullptr;
    }
    if (threadId)
        *threadId = g_nextThreadId++;
    return handle.release();
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    if (!handle)
        return WAIT_FAILED;
    return HasFinished(*static_cast<ThreadHandle*>(handle)->state, milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL CloseHandle(HANDLE handle)
{
    if (!handle)
        return FALSE;
    std::unique_ptr<ThreadHandle> owned(static_cast<ThreadHandle*>(handle));
    if (HasFinished(*owned->state, 0))
        owned->thread.join();
    else
        owned->thread.detach();
    return TRUE;
}

void PlatformTesting::FailCreateThread(bool fail)
{
    g_failCreateThread.store(fail);
}

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(::getpid());
}
