// The object the program entry builds. The game's loader derives from it, supplies the factory of the game
// object and calls Run as the last step of its constructor, so that constructing the loader plays the whole game:
// the game object is made (its constructor runs the start-up), the message loop runs frames until the engine's
// exit request, and the game object is deleted. An error that escapes any of the three ends in a message box;
// the game object is deleted exactly once on every road.
#pragma once

#include "platform/win32/Win32.h"

#include <memory>
#include <string>

namespace GameFramework {

class GameBase;

class GameLoaderBase
{
public:
    // Keeps the program entry's values; makes nothing.
    GameLoaderBase(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showWindow);
    virtual ~GameLoaderBase();

    GameLoaderBase(const GameLoaderBase&) = delete;
    GameLoaderBase& operator=(const GameLoaderBase&) = delete;

    // Creates the game, runs the loop and destroys the game. A FatalError shows its own text, anything else
    // "Unhandled exception!", both captioned "Fatal Error"; Run then returns, and the exit code tells the failure.
    // A game already running on the user folder is no failure: its box shows, and the exit code stays 0.
    virtual void Run();
    // Makes the game object and keeps it in m_game.
    virtual void CreateGame() = 0;
    // Deletes the game object when there is one.
    virtual void DestroyGame();
    // One waiting message or else one frame per turn, with no limiter, until the engine's exit request. A burst
    // of messages is drained before the next frame; messages left when the exit comes stay unread.
    virtual void MessageLoop();

    HINSTANCE GetInstance() const { return m_instance; }
    HINSTANCE GetPreviousInstance() const { return m_previousInstance; }
    const std::string& GetCommandLine() const { return m_commandLine; }
    int GetShowWindow() const { return m_showWindow; }
    GameBase* GetGame() const { return m_game.get(); }
    // The program's exit code: 1 once Run ended in its message box, else 0.
    int GetExitCode() const { return m_failed ? 1 : 0; }

protected:
    HINSTANCE m_instance;
    HINSTANCE m_previousInstance;
    std::string m_commandLine; // kept; nothing reads it
    int m_showWindow;
    std::unique_ptr<GameBase> m_game;

private:
    void ShowFatalError(const char* text);

    bool m_failed = false;
};

} // namespace GameFramework
