// The base of the main menu. Its game window reports RequestStart, RequestProfiles, RequestHighScores,
// RequestOptions, RequestHelp or RequestQuit.
#pragma once

#include <cstdint>

namespace GameFramework {

class GUIMainMenuWindowBase
{
public:
    GUIMainMenuWindowBase();
    virtual ~GUIMainMenuWindowBase();

    GUIMainMenuWindowBase(const GUIMainMenuWindowBase&) = delete;
    GUIMainMenuWindowBase& operator=(const GUIMainMenuWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    virtual void Open();
    virtual void Close();

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing
};

} // namespace GameFramework
