// The base of the loading windows: runs a data keeper's load on a worker thread while the main thread keeps the
// program responsive (messages, the last frame presented again, streamed music). The worker is the program's
// only second thread; an error it raises is carried back and raised again by RunLoading on the main thread.
#pragma once

#include "platform/win32/Win32.h"

#include <atomic>
#include <cstdint>
#include <exception>

namespace KeystrelEngine {
class Engine;
class MessageManager;
class RenderSystem;
class SoundManager;
class TimerManager;
class Window;
} // namespace KeystrelEngine

namespace GameFramework {

class DataKeeper;

// What a loading window uses; none is owned. The sound manager may be null.
struct LoadingWindowServices
{
    KeystrelEngine::MessageManager* log = nullptr;
    KeystrelEngine::TimerManager* timers = nullptr;
    KeystrelEngine::Window* window = nullptr;
    KeystrelEngine::RenderSystem* renderSystem = nullptr;
    KeystrelEngine::SoundManager* sounds = nullptr;
};

class GUILoadingWindowBase
{
public:
    explicit GUILoadingWindowBase(const LoadingWindowServices& services);
    // Takes its services from the engine.
    explicit GUILoadingWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUILoadingWindowBase();

    GUILoadingWindowBase(const GUILoadingWindowBase&) = delete;
    GUILoadingWindowBase& operator=(const GUILoadingWindowBase&) = delete;

    // Clears the result.
    virtual void Update();
    virtual void Open(DataKeeper* keeper);
    virtual void Close();

    // Loads the keeper on a worker (on this thread when none can be started) and returns when the load has
    // ended, polling every 20 ms. What the load threw is thrown here.
    void RunLoading();
    static DWORD LoadingThreadProc(LPVOID window);

    bool IsDone() const { return m_done.load(); }
    DataKeeper* GetKeeper() const { return m_keeper; }

    // The request for the game (0: none).
    std::uint32_t m_result = 0;

protected:
    KeystrelEngine::Engine* m_engine = nullptr; // null when the services were given one by one
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::Window* m_window;
    KeystrelEngine::RenderSystem* m_renderSystem;
    KeystrelEngine::SoundManager* m_sounds;
    DataKeeper* m_keeper = nullptr;
    std::atomic<bool> m_done{false};

private:
    void KeepResponsive();

    std::exception_ptr m_error; // written by the worker before it sets done
};

} // namespace GameFramework
