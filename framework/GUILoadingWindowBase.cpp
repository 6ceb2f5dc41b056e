#include "GUILoadingWindowBase.h"

#include "DataKeeper.h"

#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/render/RenderSystem.h"
#include "engine/sound/SoundManager.h"

#include <utility>

namespace GameFramework {

GUILoadingWindowBase::GUILoadingWindowBase(const LoadingWindowServices& services)
    : m_log(services.log), m_timers(services.timers), m_window(services.window), m_renderSystem(services.renderSystem),
      m_sounds(services.sounds)
{
}

GUILoadingWindowBase::GUILoadingWindowBase(KeystrelEngine::Engine* engine)
    : GUILoadingWindowBase(LoadingWindowServices{engine->m_log.get(), engine->m_timers.get(), engine->m_window.get(),
                                                 engine->m_renderSystem.get(), engine->m_soundManager.get()})
{
    m_engine = engine;
}

GUILoadingWindowBase::~GUILoadingWindowBase() = default;

void GUILoadingWindowBase::Update()
{
    m_result = 0;
}

void GUILoadingWindowBase::Open(DataKeeper* keeper)
{
    m_keeper = keeper;
}

void GUILoadingWindowBase::Close()
{
    m_keeper = nullptr;
    m_done = false;
}

void GUILoadingWindowBase::RunLoading()
{
    m_error = nullptr;
    const HANDLE thread = CreateThread(nullptr, 0, &GUILoadingWindowBase::LoadingThreadProc, this, 0, nullptr);
    if (!thread) {
        m_keeper->Load();
        m_done = true;
    }
    for (;;) {
        KeepResponsive();
        if ((thread && WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) || m_done.load())
            break;
        Sleep(20);
    }
    if (thread)
        CloseHandle(thread);
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

// The worker has no handler of its own: what the load throws goes back to the main thread.
DWORD GUILoadingWindowBase::LoadingThreadProc(LPVOID window)
{
    auto* self = static_cast<GUILoadingWindowBase*>(window);
    try {
        self->m_keeper->Load();
    } catch (...) {
        self->m_error = std::current_exception();
    }
    self->m_done = true;
    return 1;
}

// Nothing else runs meanwhile: no frame and no GUI; a windowed game shows its last frame again.
void GUILoadingWindowBase::KeepResponsive()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (!m_window->m_fullScreen)
        m_renderSystem->SwapBuffers();
    if (m_sounds)
        m_sounds->Update(false);
}

} // namespace GameFramework
