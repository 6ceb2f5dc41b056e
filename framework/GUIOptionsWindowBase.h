// The base of the options window: the list of video modes the player can choose from, the full-screen choice
// and the volumes, and the step that applies them. The game's window fills the list with the display modes the
// engine offers; a mode is chosen by its size, and the colour depth stays the one the current mode has.
//
// The window edits copies: the full-screen choice as its base keeps it; the volumes change at once while
// the sliders move, and RestoreVolumes puts back what they were at Open. Apply writes "v_mode" and
// "v_fullscreen" and, when either changed, raises "g_update_video_mode" for the frame to carry out. Its game
// window reports RequestBack.
#pragma once

#include "GUISettingsWindowBase.h"

#include <cstdint>
#include <string>
#include <vector>

namespace GameFramework {

struct VideoModeEntry
{
    std::string text; // "WxH"
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

class GUIOptionsWindowBase : public GUISettingsWindowBase
{
public:
    using GUISettingsWindowBase::GUISettingsWindowBase;

    // Selects the current mode's size in the list (the default mode's, when the list lacks it; the first
    // entry, when it lacks both) and takes the full-screen flag and the volumes.
    virtual void Open();
    virtual void Close();
    // Writes the chosen mode and full-screen flag, raising "g_update_video_mode" when either changed; an empty
    // list changes no mode. Saves the configuration, and the volumes into the current profile.
    virtual void Apply();
    // The default mode's size and depth, full screen, and the player's default volumes.
    virtual void ResetToDefaults();
    // The volumes as they were at Open.
    virtual void RestoreVolumes();

    // Adds a size unless it is listed already; the list stays sorted by width, then height.
    void AddVideoMode(std::uint32_t width, std::uint32_t height);
    const std::vector<VideoModeEntry>& GetVideoModes() const { return m_videoModes; }

    std::uint32_t m_selected = 0; // index into the list

protected:
    // The entry of the size of the default "v_mode"; 0 when the list lacks it.
    std::uint32_t FindDefaultVideoMode() const;
    // The entry of that size, or none (the list's size).
    std::uint32_t FindVideoMode(std::uint32_t width, std::uint32_t height) const;

    std::vector<VideoModeEntry> m_videoModes;
    std::uint32_t m_bitsPerPixel = 0; // of the mode current at Open
};

} // namespace GameFramework
