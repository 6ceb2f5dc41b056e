#include "platform/dsound/DSound.h"
#include "platform/testing.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class DirectSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatformTesting::UseManualSoundOutput(22050);
        ASSERT_EQ(DirectSoundCreate(nullptr, &m_device, nullptr), DS_OK);
    }

    void TearDown() override
    {
        for (IUnknown* object : m_objects)
            object->Release();
        m_device->Release();
        PlatformTesting::ClearSoundFailures();
        PlatformTesting::UseManualSoundOutput(0);
        EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
    }

    HRESULT Create(unsigned channels, unsigned bits, unsigned rate, DWORD bytes, IDirectSoundBuffer** buffer,
                   DWORD flags = DSBCAPS_CTRLVOLUME)
    {
        WAVEFORMATEX format{WAVE_FORMAT_PCM,
                            static_cast<WORD>(channels),
                            rate,
                            rate * channels * bits / 8,
                            static_cast<WORD>(channels * bits / 8),
                            static_cast<WORD>(bits),
                            0};
        DSBUFFERDESC description{sizeof(DSBUFFERDESC), flags, bytes, 0, &format, DS3DALG_DEFAULT};
        *buffer = nullptr;
        const HRESULT result = m_device->CreateSoundBuffer(&description, buffer, nullptr);
        if (*buffer)
            m_objects.push_back(*buffer);
        return result;
    }

    IDirectSoundBuffer* Filled(unsigned channels, unsigned bits, unsigned rate, const Bytes& bytes,
                               DWORD flags = DSBCAPS_CTRLVOLUME)
    {
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(Create(channels, bits, rate, static_cast<DWORD>(bytes.size()), &buffer, flags), DS_OK);
        Write(buffer, 0, bytes);
        return buffer;
    }

    static void Write(IDirectSoundBuffer* buffer, DWORD offset, const Bytes& bytes)
    {
        void* part1 = nullptr;
        void* part2 = nullptr;
        DWORD size1 = 0;
        DWORD size2 = 0;
        ASSERT_EQ(buffer->Lock(offset, static_cast<DWORD>(bytes.size()), &part1, &size1, &part2, &size2, 0), DS_OK);
        std::memcpy(part1, bytes.data(), size1);
        if (part2)
            std::memcpy(part2, bytes.data() + size1, size2);
        ASSERT_EQ(buffer->Unlock(part1, size1, part2, size2), DS_OK);
    }

    static std::vector<std::int16_t> Render(std::uint32_t frames)
    {
        std::vector<std::int16_t> out(2 * frames);
        PlatformTesting::RenderSoundOutput(out.data(), frames);
        return out;
    }

    static DWORD Cursor(IDirectSoundBuffer* buffer)
    {
        DWORD play = 0;
        EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
        return play;
    }

    static DWORD Status(IDirectSoundBuffer* buffer)
    {
        DWORD status = 0;
        EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
        return status;
    }

    IDirectSound* m_device = nullptr;
    std::vector<IUnknown*> m_objects;
};

Bytes Stereo16(const std::vector<std::int16_t>& samples)
{
    Bytes bytes(2 * samples.size());
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

} // namespace

TEST_F(DirectSoundTest, OneShotAtTheOutputRatePassesBitForBitThenStopsAndRewinds)
{
    const std::vector<std::int16_t> samples = {1, -1, 32767, -32768, 1234, -4321, 7, 8};
    IDirectSoundBuffer* buffer = Filled(2, 16, 22050, Stereo16(samples));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
    std::vector<std::int16_t> expected = samples;
    expected.resize(12, 0);
    EXPECT_EQ(Render(6), expected);
    EXPECT_EQ(Status(buffer), 0u);
    EXPECT_EQ(Cursor(buffer), 0u);
}

TEST_F(DirectSoundTest, LoopingRestartsAndPlayOnAPlayingBufferOnlyChangesTheLoopFlag)
{
    IDirectSoundBuffer* buffer = Filled(1, 16, 22050, Stereo16({100, 200, 300}));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(Render(4), (std::vector<std::int16_t>{100, 100, 200, 200, 300, 300, 100, 100}));
    EXPECT_EQ(Cursor(buffer), 2u);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Cursor(buffer), 2u);
    EXPECT_EQ(Render(3), (std::vector<std::int16_t>{200, 200, 300, 300, 0, 0}));
}

TEST_F(DirectSoundTest, EightBitSamplesAreCentredAndSlowBuffersInterpolated)
{
    IDirectSoundBuffer* buffer = Filled(1, 8, 11025, {0x80, 0x90, 0x70, 0x80});
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    // Half the output rate: every other output frame lies halfway between two samples.
    EXPECT_EQ(Render(8),
              (std::vector<std::int16_t>{0, 0, 2048, 2048, 4096, 4096, 0, 0, -4096, -4096, -2048, -2048, 0, 0, 0, 0}));
}

TEST_F(DirectSoundTest, DuplicatesShareSamplesButKeepTheirOwnCursorAndVolume)
{
    IDirectSoundBuffer* original = Filled(1, 16, 22050, Stereo16({1000, 2000, 3000, 4000}));
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(m_device->DuplicateSoundBuffer(original, &duplicate), DS_OK);
    m_objects.push_back(duplicate);
    ASSERT_EQ(original->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Render(2);
    ASSERT_EQ(duplicate->SetVolume(DSBVOLUME_MIN), DS_OK);
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render(1), (std::vector<std::int16_t>{3000, 3000}));
    EXPECT_EQ(Cursor(original), 6u);
    EXPECT_EQ(Cursor(duplicate), 2u);
    ASSERT_EQ(duplicate->SetVolume(0), DS_OK);
    Write(duplicate, 6, Stereo16({-5}));
    EXPECT_EQ(Render(1), (std::vector<std::int16_t>{-5 + 2000, -5 + 2000}));
}

TEST_F(DirectSoundTest, LockHandsOutBothRegionsOfTheRingAndCommitsOnUnlock)
{
    IDirectSoundBuffer* buffer = Filled(1, 8, 22050, Bytes(8, 0x80));
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD size1 = 0;
    DWORD size2 = 0;
    ASSERT_EQ(buffer->Lock(6, 4, &part1, &size1, &part2, &size2, 0), DS_OK);
    EXPECT_EQ(size1, 2u);
    EXPECT_EQ(size2, 2u);
    std::memset(part1, 0x81, size1);
    std::memset(part2, 0x82, size2);
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render(1)[0], 0) << "locked bytes are not heard before Unlock";
    ASSERT_EQ(buffer->Unlock(part1, size1, part2, size2), DS_OK);
    EXPECT_EQ(Render(7), (std::vector<std::int16_t>{512, 512, 0, 0, 0, 0, 0, 0, 0, 0, 256, 256, 256, 256}));
    EXPECT_EQ(buffer->Unlock(part1, size1, part2, size2), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(8, 1, &part1, &size1, &part2, &size2, 0), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, VolumeIsHundredthsOfADecibelAndPositiveValuesAreRefused)
{
    IDirectSoundBuffer* buffer = Filled(1, 16, 22050, Stereo16({10000, 10000}));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->SetVolume(-2000), DS_OK);
    EXPECT_EQ(Render(1)[0], 1000);
    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    EXPECT_EQ(Render(1)[0], 0);
    IDirectSoundBuffer* fixed = Filled(1, 16, 22050, Stereo16({1}), 0);
    EXPECT_EQ(fixed->SetVolume(0), DSERR_CONTROLUNAVAIL);
}

TEST_F(DirectSoundTest, FormatsNoDeviceAcceptsAreRefused)
{
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(Create(0, 16, 22050, 64, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(3, 16, 22050, 64, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(2, 16, 0, 64, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(2, 16, 22050, 0, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(2, 24, 22050, 64, &buffer), DSERR_BADFORMAT);
    EXPECT_EQ(Create(2, 16, 22050, 64, &buffer, DSBCAPS_CTRL3D), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(DirectSoundTest, LostBuffersRefusePlayAndLockUntilRestored)
{
    IDirectSoundBuffer* buffer = Filled(1, 8, 22050, Bytes(4, 0x90));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    PlatformTesting::LoseSoundBuffers();
    EXPECT_EQ(Status(buffer), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* part = nullptr;
    DWORD size = 0;
    EXPECT_EQ(buffer->Lock(0, 4, &part, &size, nullptr, nullptr, 0), DSERR_BUFFERLOST);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(Status(buffer), 0u);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Render(1)[0], -32768) << "the lost memory was cleared";
}

TEST_F(DirectSoundTest, InjectedFailuresReachTheCaller)
{
    PlatformTesting::FailSoundCall(PlatformTesting::SoundCall::CreateBuffer, DSERR_OUTOFMEMORY);
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(Create(1, 8, 22050, 16, &buffer), DSERR_OUTOFMEMORY);
    PlatformTesting::FailSoundCall(PlatformTesting::SoundCall::CreateBuffer, S_OK);
    EXPECT_EQ(Create(1, 8, 22050, 16, &buffer), DS_OK);
    PlatformTesting::FailSoundCall(PlatformTesting::SoundCall::Create, DSERR_NODRIVER);
    IDirectSound* second = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &second, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(second, nullptr);
}

TEST_F(DirectSoundTest, DeferredPositionsTakeEffectOnCommitAndPanToTheSource)
{
    IDirectSoundBuffer* primary = nullptr;
    DSBUFFERDESC description{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D, 0, 0, nullptr,
                             DS3DALG_DEFAULT};
    ASSERT_EQ(m_device->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    m_objects.push_back(primary);
    void* listener = nullptr;
    ASSERT_EQ(primary->QueryInterface(IID_IDirectSound3DListener, &listener), DS_OK);
    m_objects.push_back(static_cast<IDirectSound3DListener*>(listener));

    IDirectSoundBuffer* buffer = Filled(1, 16, 22050, Stereo16({8000}), DSBCAPS_CTRLVOLUME | DSBCAPS_CTRL3D);
    void* positional = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSound3DBuffer, &positional), DS_OK);
    m_objects.push_back(static_cast<IDirectSound3DBuffer*>(positional));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    // Default listener: front +z, top +y, so +x is to the right. Two units away halves the gain.
    ASSERT_EQ(static_cast<IDirectSound3DBuffer*>(positional)->SetPosition(2, 0, 0, DS3D_DEFERRED), DS_OK);
    EXPECT_EQ(Render(1), (std::vector<std::int16_t>{8000, 8000}));
    ASSERT_EQ(static_cast<IDirectSound3DListener*>(listener)->CommitDeferredSettings(), DS_OK);
    EXPECT_EQ(Render(1), (std::vector<std::int16_t>{0, 4000}));
}

TEST(DirectSoundSilentOutput, WithoutAnAudioDeviceTheCursorsFollowTheClock)
{
    PlatformTesting::FailSoundCall(PlatformTesting::SoundCall::OpenOutput, DSERR_NODRIVER);
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    DSCAPS caps{sizeof(DSCAPS), 0};
    ASSERT_EQ(device->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwFlags & DSCAPS_EMULDRIVER, DSCAPS_EMULDRIVER);

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    DSBUFFERDESC description{sizeof(DSBUFFERDESC), 0, 22050, 0, &format, DS3DALG_DEFAULT};
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD play = 0;
    for (int i = 0; i < 500 && play == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        buffer->GetCurrentPosition(&play, nullptr);
    }
    EXPECT_GT(play, 0u);
    buffer->Release();
    device->Release();
    PlatformTesting::ClearSoundFailures();
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
}

TEST(DirectSoundSdlOutput, TheAudioDevicePlaysBuffersInRealTime)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 0); // SDL's own silent device, unless the run names another
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    DSCAPS caps{sizeof(DSCAPS), 0};
    ASSERT_EQ(device->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwFlags & DSCAPS_EMULDRIVER, 0u);

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    DSBUFFERDESC description{sizeof(DSBUFFERDESC), 0, 4 * 4410, 0, &format, DS3DALG_DEFAULT};
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    DWORD status = DSBSTATUS_PLAYING;
    for (int i = 0; i < 500 && (status & DSBSTATUS_PLAYING); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        buffer->GetStatus(&status);
    }
    EXPECT_EQ(status, 0u) << "a tenth of a second of sound has ended";
    buffer->Release();
    device->Release();
    EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
}
