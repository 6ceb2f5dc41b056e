// The base of the window that offers to continue the current player's saved game: RequestContinueGame,
// RequestNewGame or RequestBack.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIContinueGameLogicWindowBase
{
public:
    explicit GUIContinueGameLogicWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIContinueGameLogicWindowBase();

    GUIContinueGameLogicWindowBase(const GUIContinueGameLogicWindowBase&) = delete;
    GUIContinueGameLogicWindowBase& operator=(const GUIContinueGameLogicWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
