// The base of the help window; its game window reports RequestBack.
#pragma once

#include <cstdint>

namespace GameFramework {

class GUIHelpWindowBase
{
public:
    GUIHelpWindowBase();
    virtual ~GUIHelpWindowBase();

    GUIHelpWindowBase(const GUIHelpWindowBase&) = delete;
    GUIHelpWindowBase& operator=(const GUIHelpWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing
};

} // namespace GameFramework
