// The record the game shell fills and hands to the engine object, which keeps a copy of it: names, folders,
// the window's placement and the video and sound choices. Every string starts empty; an empty name or mode takes
// the engine's own default (see Engine).
#pragma once

#include "platform/win32/Win32.h"

#include <cstdint>
#include <string>

namespace KeystrelEngine {

struct EngineSettings
{
    std::string applicationName; // in the window title and the log's title
    std::uint32_t version = 0;   // in hundredths: 100 is 1.00
    std::string installPath;     // base folder of the file manager
    bool saveConfigOnExit = false;
    std::string configName; // the configuration file's name without ".ini"
    bool logEnabled = false;
    bool logReopenEachMessage = false;
    std::string logFolder; // empty: the program's folder
    std::string logName;   // without ".html"; empty: applicationName
    std::string configFolder;
    std::string dataFolder;      // below installPath
    HWND parentWindow = nullptr; // a host program's window to live in, or none
    std::uint32_t iconId = 0;    // icon resource of the window class (low 16 bits); 0: the system's icon
    bool minimizeOnFocusLoss = false;
    bool forceVideoMode = false; // "v_mode" starts as videoMode whatever the configuration file says
    std::string videoMode;       // "WxHxD"; empty: "800x600x32"
    bool forceFullscreen = false;
    bool fullscreen = false;       // default of "v_fullscreen"
    bool renderSystemFlag = false; // the render system keeps the window's size when it picks the video mode
    bool centerWindow = false;
    std::int32_t windowLeft = 0;
    std::int32_t windowTop = 0;
    bool use3DSound = false;
};

} // namespace KeystrelEngine
