#include "platform/dsound/SoundOutput.h"

#include <SDL.h>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <vector>

namespace SoundHost {
namespace {

constexpr int kPreferredRate = 44100;

class SdlOutput : public Output
{
public:
    bool Open()
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        m_initialised = true;
        SDL_AudioSpec wanted{};
        wanted.freq = kPreferredRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 512;
        wanted.callback = &SdlOutput::Fill;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (m_device == 0)
            return false;
        m_mixer = std::make_shared<Mixer>(static_cast<unsigned>(obtained.freq));
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

    ~SdlOutput() override
    {
        if (m_device != 0)
            SDL_CloseAudioDevice(m_device);
        if (m_initialised)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    static void Fill(void* user, Uint8* stream, int length)
    {
        auto* self = static_cast<SdlOutput*>(user);
        self->m_mixer->Render(reinterpret_cast<std::int16_t*>(stream), static_cast<std::uint32_t>(length) / 4);
    }

    bool m_initialised = false;
    SDL_AudioDeviceID m_device = 0;
};

// Renders into a scratch buffer every 10 ms, as many frames as the clock says have passed (at most one second
// at once), so that buffers play, end and stream exactly as they would on a sound card.
class SilentOutput : public Output
{
public:
    SilentOutput()
    {
        m_mixer = std::make_shared<Mixer>(kPreferredRate);
        m_thread = std::thread([this] { Run(); });
    }

    ~SilentOutput() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

    bool IsAudible() const override { return false; }

private:
    void Run()
    {
        using Clock = std::chrono::steady_clock;
        std::vector<std::int16_t> scratch(2 * kPreferredRate);
        const Clock::time_point start = Clock::now();
        std::uint64_t rendered = 0;
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(10), [this] { return m_stop; })) {
            const std::chrono::duration<double> elapsed = Clock::now() - start;
            const auto due = static_cast<std::uint64_t>(elapsed.count() * kPreferredRate);
            const auto frames = static_cast<std::uint32_t>(std::min<std::uint64_t>(due - rendered, kPreferredRate));
            m_mixer->Render(scratch.data(), frames);
            rendered = due;
        }
    }

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
};

class ManualOutput : public Output
{
public:
    explicit ManualOutput(unsigned rate) { m_mixer = std::make_shared<Mixer>(rate); }
};

} // namespace

std::unique_ptr<Output> OpenSdlOutput()
{
    auto output = std::make_unique<SdlOutput>();
    if (!output->Open())
        return nullptr;
    return output;
}

std::unique_ptr<Output> OpenSilentOutput()
{
    return std::make_unique<SilentOutput>();
}

std::unique_ptr<Output> OpenManualOutput(unsigned rate)
{
    return std::make_unique<ManualOutput>(rate);
}

} // namespace SoundHost
