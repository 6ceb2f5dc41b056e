// Inside the stand-in only: where the window grab finds what a window shows.
//
// A presenter (the Direct3D stand-in's GL back end, or a test's scripted frame) registers itself for the window
// it presents into. The grab asks it only when a grab happens, so presenting costs nothing while nobody grabs.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace GdiHost {

struct FrameSize
{
    int width = 0;
    int height = 0;
};

class FrameSource
{
public:
    // The size of the last frame shown in the window; 0 x 0 when none has been.
    virtual FrameSize GetFrameSize() = 0;
    // Copies that frame into pixels: GetFrameSize() pixels of 4 bytes (blue, green, red, and a fourth byte the
    // grab ignores), rows bottom-up, which is what glReadPixels gives with GL_BGRA and GL_UNSIGNED_BYTE. False
    // when the frame cannot be read.
    virtual bool ReadFrame(std::uint8_t* pixels) = 0;

protected:
    ~FrameSource() = default;
};

// The window's presenter from now on; null when it stops presenting there. A presenter unregisters before it is
// destroyed. Registrations of destroyed windows are never consulted (window handles are not reused).
void SetFrameSource(HWND window, FrameSource* source);

} // namespace GdiHost
