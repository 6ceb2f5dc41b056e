#include "platform/testing.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

std::atomic<bool> g_release{false};
std::atomic<int> g_runs{0};

DWORD WaitForRelease(LPVOID parameter)
{
    while (!g_release.load())
        std::this_thread::yield();
    ++*static_cast<std::atomic<int>*>(parameter);
    return 1;
}

TEST(ThreadTest, HandleSignalsTheEndAndClosingJoinsOrDetaches)
{
    for (const bool releaseBeforeClosing : {true, false}) {
        g_release = false;
        const int before = g_runs.load();
        const HANDLE thread = CreateThread(nullptr, 0, &WaitForRelease, &g_runs, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
        if (releaseBeforeClosing) {
            g_release = true;
            EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
            EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
            EXPECT_EQ(g_runs.load(), before + 1);
        }
        EXPECT_EQ(CloseHandle(thread), TRUE);
        // A running thread goes on after its handle is closed.
        g_release = true;
        while (g_runs.load() == before)
            std::this_thread::yield();
    }
}

TEST(ThreadTest, RefusedCreationNullHandleAndSleepOnTheFakeClock)
{
    PlatformTesting::FailCreateThread(true);
    EXPECT_EQ(CreateThread(nullptr, 0, &WaitForRelease, &g_runs, 0, nullptr), nullptr);
    PlatformTesting::FailCreateThread(false);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(CloseHandle(nullptr), FALSE);

    PlatformTesting::UseFakeClock(0);
    Sleep(20);
    Sleep(20);
    EXPECT_EQ(timeGetTime(), 40u);
    PlatformTesting::UseRealClock();
}

} // namespace
