// The base of the window from which a level starts (the game's level map). It keeps the mode it was
// opened in: 2 a new game or one level back, 6 from the continue window, 7 after a level, 8 after a stage.
// Its game window reports RequestStart or RequestBack.
#pragma once

#include <cstdint>

namespace GameFramework {

class GUIStartGameLogicWindowBase
{
public:
    GUIStartGameLogicWindowBase();
    virtual ~GUIStartGameLogicWindowBase();

    GUIStartGameLogicWindowBase(const GUIStartGameLogicWindowBase&) = delete;
    GUIStartGameLogicWindowBase& operator=(const GUIStartGameLogicWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // Keeps the parameter.
    virtual void Open(std::int32_t mode);
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing
    std::int32_t m_mode = 0;    // as opened
};

} // namespace GameFramework
