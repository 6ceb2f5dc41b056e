// The base of the confirmation of deleting a profile; it keeps the name of the profile to delete. Its
// game window reports RequestProfiles, or RequestNewProfile when no profile is left.
#pragma once

#include <cstdint>
#include <string>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIDeleteProfileWindowBase
{
public:
    explicit GUIDeleteProfileWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIDeleteProfileWindowBase();

    GUIDeleteProfileWindowBase(const GUIDeleteProfileWindowBase&) = delete;
    GUIDeleteProfileWindowBase& operator=(const GUIDeleteProfileWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // Keeps the parameter.
    virtual void Open(const std::u16string& name);
    virtual void Close();

    std::uint32_t m_result = 0;   // a WindowRequest; 0 asks for nothing
    std::u16string m_profileName; // as opened

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
