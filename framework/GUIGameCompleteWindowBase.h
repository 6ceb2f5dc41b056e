// The base of the game-complete window; RequestDone acknowledges it.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIGameCompleteWindowBase
{
public:
    explicit GUIGameCompleteWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIGameCompleteWindowBase();

    GUIGameCompleteWindowBase(const GUIGameCompleteWindowBase&) = delete;
    GUIGameCompleteWindowBase& operator=(const GUIGameCompleteWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
