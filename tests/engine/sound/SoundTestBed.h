// The sound subsystem over the manual output: tests write sound files below the data folder, create sounds
// and render the mixed output frame by frame.
#pragma once

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "tools/formats/SoundWriters.h"

#include <memory>
#include <string>
#include <vector>

namespace SoundTesting {

// Any non-null handle serves as the window of the cooperative level.
HWND TestWindow();

class SoundTestBed
{
public:
    // The output renders 16-bit stereo at outputRate.
    explicit SoundTestBed(unsigned outputRate = 22050, bool enable3D = false);
    ~SoundTestBed();

    // Writes bytes to data\<name> below the base folder.
    void WriteSound(const std::string& name, const Formats::SoundBytes& bytes);
    // Renders frames of output (interleaved stereo) without updating the sound manager.
    std::vector<std::int16_t> Render(std::uint32_t frames);

    bool Logged(const std::string& text) const;
    std::size_t CountLogged(const std::string& text) const;
    void ClearLog() { log.m_history.clear(); }

    KeystrelEngine::MessageManager log{"", "Test", "", false, false};
    std::unique_ptr<KeystrelEngine::FileManager> files;
    std::unique_ptr<KeystrelEngine::SoundSystem_DS7> system;
    std::unique_ptr<KeystrelEngine::SoundManager> manager;
};

// The 16-bit samples of a PCM byte string.
std::vector<std::int16_t> Samples16(const Formats::SoundBytes& pcm);

} // namespace SoundTesting
