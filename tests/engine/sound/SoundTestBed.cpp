#include "SoundTestBed.h"

#include "platform/testing.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>

namespace SoundTesting {

HWND TestWindow()
{
    return reinterpret_cast<HWND>(0x1);
}

SoundTestBed::SoundTestBed(unsigned outputRate, bool enable3D)
{
    PlatformTesting::UseManualSoundOutput(outputRate);
    files = std::make_unique<KeystrelEngine::FileManager>(&log, "", "Data");
    system = std::make_unique<KeystrelEngine::SoundSystem_DS7>(&log, files.get(), nullptr, TestWindow(), enable3D);
    manager = std::make_unique<KeystrelEngine::SoundManager>(&log, files.get(), system.get());
}

SoundTestBed::~SoundTestBed()
{
    manager.reset();
    system.reset();
    PlatformTesting::ClearSoundFailures();
    PlatformTesting::UseManualSoundOutput(0);
}

void SoundTestBed::WriteSound(const std::string& name, const Formats::SoundBytes& bytes)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/data/" + name, bytes);
}

std::vector<std::int16_t> SoundTestBed::Render(std::uint32_t frames)
{
    std::vector<std::int16_t> output(2 * static_cast<std::size_t>(frames));
    PlatformTesting::RenderSoundOutput(output.data(), frames);
    return output;
}

std::size_t SoundTestBed::CountLogged(const std::string& text) const
{
    return static_cast<std::size_t>(std::count_if(log.m_history.begin(), log.m_history.end(), [&](const auto& record) {
        return record.text.find(text) != std::string::npos;
    }));
}

bool SoundTestBed::Logged(const std::string& text) const
{
    return CountLogged(text) > 0;
}

std::vector<std::int16_t> Samples16(const Formats::SoundBytes& pcm)
{
    std::vector<std::int16_t> samples(pcm.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
    return samples;
}

} // namespace SoundTesting
