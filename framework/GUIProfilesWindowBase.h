// The base of the list of profiles. Its game window reports RequestNewProfile, RequestRenameProfile,
// RequestDeleteProfile (with the profile's name in m_selectedName) or RequestBack.
#pragma once

#include <cstdint>
#include <string>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

class GUIProfilesWindowBase
{
public:
    explicit GUIProfilesWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIProfilesWindowBase();

    GUIProfilesWindowBase(const GUIProfilesWindowBase&) = delete;
    GUIProfilesWindowBase& operator=(const GUIProfilesWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0;    // a WindowRequest; 0 asks for nothing
    std::u16string m_selectedName; // the profile that a rename or delete request names

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
