#include "GameLoaderBase.h"

#include "GameBase.h"
#include "UserFolderLock.h"

#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"

namespace GameFramework {

GameLoaderBase::GameLoaderBase(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showWindow)
    : m_instance(instance), m_previousInstance(previousInstance), m_commandLine(commandLine ? commandLine : ""),
      m_showWindow(showWindow)
{
}

GameLoaderBase::~GameLoaderBase() = default;

void GameLoaderBase::Run()
{
    try {
        CreateGame();
        MessageLoop();
        DestroyGame();
    } catch (const GameAlreadyRunning& running) {
        DestroyGame();
        MessageBoxA(nullptr, running.GetText().c_str(), running.GetCaption().c_str(), MB_ICONINFORMATION);
    } catch (const KeystrelEngine::FatalError& error) {
        DestroyGame();
        ShowFatalError(error.GetText().c_str());
    } catch (...) {
        // Only a fatal error speaks for itself; any other failure reached here unexpectedly.
        DestroyGame();
        ShowFatalError("Unhandled exception!");
    }
}

void GameLoaderBase::ShowFatalError(const char* text)
{
    m_failed = true;
    MessageBoxA(nullptr, text, "Fatal Error", MB_ICONERROR);
}

void GameLoaderBase::DestroyGame()
{
    m_game.reset();
}

void GameLoaderBase::MessageLoop()
{
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            m_game->Frame();
        }
        if (m_game->GetEngine()->IsExitRequested())
            return;
    }
}

} // namespace GameFramework
