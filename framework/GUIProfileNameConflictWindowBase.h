// The base of the window that says the entered name is taken. It keeps the code of the window that
// opened it (3 new profile, 4 rename profile); its game window reports RequestNewProfile or
// RequestRenameProfile to go back there.
#pragma once

#include <cstdint>

namespace GameFramework {

class GUIProfileNameConflictWindowBase
{
public:
    GUIProfileNameConflictWindowBase();
    virtual ~GUIProfileNameConflictWindowBase();

    GUIProfileNameConflictWindowBase(const GUIProfileNameConflictWindowBase&) = delete;
    GUIProfileNameConflictWindowBase& operator=(const GUIProfileNameConflictWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // Keeps the parameter.
    virtual void Open(std::int32_t callerCode);
    virtual void Close();

    std::uint32_t m_result = 0;    // a WindowRequest; 0 asks for nothing
    std::int32_t m_callerCode = 0; // as opened
};

} // namespace GameFramework
