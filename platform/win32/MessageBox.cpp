#include "platform/win32/MessageBox.h"

#include "platform/testing.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/WindowHost.h"

#include <SDL.h>
#include <cstdio>
#include <cstring>

namespace {

bool g_recording = false;
std::vector<PlatformTesting::MessageBoxRecord> g_boxes;

bool HasDisplay()
{
    if (!Win32Host::StartVideo())
        return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0 &&
           SDL_GetNumVideoDisplays() > 0;
}

} // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const std::string utf8Text = Win32Host::AnsiToUtf8(text ? text : "");
    const std::string utf8Caption = Win32Host::AnsiToUtf8(caption ? caption : "");
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    if (g_recording) {
        g_boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
        return IDOK;
    }
    if (HasDisplay()) {
        const UINT icon = type & 0xF0;
        const Uint32 flags = icon == MB_ICONERROR     ? SDL_MESSAGEBOX_ERROR
                             : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                                      : SDL_MESSAGEBOX_INFORMATION;
        SDL_ShowSimpleMessageBox(flags, utf8Caption.c_str(), utf8Text.c_str(), nullptr);
    }
    return IDOK;
}

namespace PlatformTesting {

void RecordMessageBoxes(bool on)
{
    g_recording = on;
    g_boxes.clear();
}

const std::vector<MessageBoxRecord>& RecordedMessageBoxes()
{
    return g_boxes;
}

} // namespace PlatformTesting
