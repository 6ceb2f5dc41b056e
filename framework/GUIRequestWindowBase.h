// The base of the windows whose base does no more than carry the request of their game window: Update clears
// the request, Open and Close do nothing of their own.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIRequestWindowBase
{
public:
    explicit GUIRequestWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIRequestWindowBase();

    GUIRequestWindowBase(const GUIRequestWindowBase&) = delete;
    GUIRequestWindowBase& operator=(const GUIRequestWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
