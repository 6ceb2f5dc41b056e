// The base of the level-complete window; RequestDone acknowledges it.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUILevelCompleteWindowBase
{
public:
    explicit GUILevelCompleteWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUILevelCompleteWindowBase();

    GUILevelCompleteWindowBase(const GUILevelCompleteWindowBase&) = delete;
    GUILevelCompleteWindowBase& operator=(const GUILevelCompleteWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
