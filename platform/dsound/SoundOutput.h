// Where the mixer's output goes (used inside the stand-in only): SDL2 audio, a silent clock that advances the
// cursors in real time when no audio device opens, or a manual output that tests render on request.
#pragma once

#include "platform/dsound/Mixer.h"

#include <memory>

namespace SoundHost {

class Output
{
public:
    virtual ~Output() = default;

    const std::shared_ptr<Mixer>& GetMixer() const { return m_mixer; }
    // False for the silent clock.
    virtual bool IsAudible() const { return true; }

protected:
    std::shared_ptr<Mixer> m_mixer;
};

// Null when SDL opens no audio device.
std::unique_ptr<Output> OpenSdlOutput();
std::unique_ptr<Output> OpenSilentOutput();
// Renders only when the caller asks the mixer (see PlatformTesting::RenderSoundOutput).
std::unique_ptr<Output> OpenManualOutput(unsigned rate);

} // namespace SoundHost
