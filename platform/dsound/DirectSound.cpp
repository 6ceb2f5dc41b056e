// The DirectSound objects of the stand-in. A device owns one output (SDL2 audio, the silent clock, or a manual
// output for tests) and its mixer; buffers, listeners and 3D buffers keep the mixer alive through a shared
// pointer, so the order in which a program releases them never matters. Lost buffers do not happen on Linux:
// tests make them happen (PlatformTesting::LoseSoundBuffers) to reach the engine's restore paths.
#include "platform/dsound/DSound.h"
#include "platform/dsound/SoundOutput.h"
#include "platform/testing.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>

const IID IID_IDirectSound3DListener{0x4B5F1E01, 0x3C2A, 0x4E7D, {0x9A, 0x11, 0x52, 0x6E, 0x03, 0x7C, 0x88, 0x41}};
const IID IID_IDirectSound3DBuffer{0x4B5F1E02, 0x3C2A, 0x4E7D, {0x9A, 0x11, 0x52, 0x6E, 0x03, 0x7C, 0x88, 0x41}};

namespace {

using PlatformTesting::SoundCall;
using SoundHost::Mixer;
using SoundHost::SampleMemory;
using SoundHost::Voice;

class Buffer;

// What tests script, and the registry of buffers that LoseSoundBuffers reaches.
struct TestState
{
    std::mutex mutex;
    std::array<HRESULT, static_cast<std::size_t>(SoundCall::Count)> failures{};
    unsigned manualRate = 0;
    std::weak_ptr<Mixer> manualMixer;
    std::vector<Buffer*> buffers;
};

TestState& State()
{
    static TestState state;
    return state;
}

std::atomic<int> g_liveObjects{0};

HRESULT InjectedFailure(SoundCall call)
{
    std::lock_guard lock(State().mutex);
    return State().failures[static_cast<std::size_t>(call)];
}

// Reference counting shared by every object; the last Release deletes.
template <class Interface> class ComObject : public Interface
{
public:
    ComObject() { ++g_liveObjects; }
    ~ComObject() override { --g_liveObjects; }

    HRESULT QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

private:
    ULONG m_references = 1;
};

bool IsPcmFormat(const WAVEFORMATEX& format)
{
    return format.wFormatTag == WAVE_FORMAT_PCM && (format.wBitsPerSample == 8 || format.wBitsPerSample == 16);
}

// Formats no real device accepts: no channels, more than two, rate 0, or a block size that does not match.
bool IsPlayableLayout(const WAVEFORMATEX& format)
{
    return format.nChannels >= 1 && format.nChannels <= 2 && format.nSamplesPerSec > 0 &&
           format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8;
}

bool IsApplyFlag(DWORD apply)
{
    return apply == DS3D_IMMEDIATE || apply == DS3D_DEFERRED;
}

class Listener : public ComObject<IDirectSound3DListener>
{
public:
    explicit Listener(std::shared_ptr<Mixer> mixer) : m_mixer(std::move(mixer)) {}

    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override
    {
        if (!IsApplyFlag(apply))
            return DSERR_INVALIDPARAM;
        std::lock_guard lock(m_mixer->Mutex());
        m_mixer->PendingListener().position = {x, y, z};
        return Apply(apply);
    }

    HRESULT SetOrientation(D3DVALUE frontX, D3DVALUE frontY, D3DVALUE frontZ, D3DVALUE topX, D3DVALUE topY,
                           D3DVALUE topZ, DWORD apply) override
    {
        if (!IsApplyFlag(apply))
            return DSERR_INVALIDPARAM;
        std::lock_guard lock(m_mixer->Mutex());
        m_mixer->PendingListener().front = {frontX, frontY, frontZ};
        m_mixer->PendingListener().top = {topX, topY, topZ};
        return Apply(apply);
    }

    HRESULT CommitDeferredSettings() override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::CommitDeferredSettings))
            return failure;
        std::lock_guard lock(m_mixer->Mutex());
        m_mixer->CommitDeferred();
        return DS_OK;
    }

private:
    // An immediate setting also applies whatever was deferred before it (the caller holds the mutex).
    HRESULT Apply(DWORD apply)
    {
        if (apply == DS3D_IMMEDIATE)
            m_mixer->CommitDeferred();
        return DS_OK;
    }

    std::shared_ptr<Mixer> m_mixer;
};

class Buffer3D;

class Buffer : public ComObject<IDirectSoundBuffer>
{
public:
    // The primary buffer: a format and a status, no samples of its own.
    Buffer(std::shared_ptr<Mixer> mixer, DWORD flags) : m_mixer(std::move(mixer)), m_flags(flags), m_primary(true)
    {
        Register();
    }

    Buffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<SampleMemory> memory, DWORD flags)
        : m_mixer(std::move(mixer)), m_flags(flags), m_primary(false)
    {
        m_voice.memory = std::move(memory);
        {
            std::lock_guard lock(m_mixer->Mutex());
            m_mixer->Add(&m_voice);
        }
        Register();
    }

    // A duplicate: the same memory and flags, a stopped voice of its own at the original's volume.
    explicit Buffer(Buffer& original) : m_mixer(original.m_mixer), m_flags(original.m_flags), m_primary(false)
    {
        {
            std::lock_guard lock(m_mixer->Mutex());
            m_voice.memory = original.m_voice.memory;
            m_voice.volumeGain = original.m_voice.volumeGain;
            m_mixer->Add(&m_voice);
        }
        Register();
    }

    ~Buffer() override
    {
        {
            std::lock_guard lock(m_mixer->Mutex());
            m_mixer->Remove(&m_voice);
        }
        std::lock_guard lock(State().mutex);
        auto& buffers = State().buffers;
        buffers.erase(std::remove(buffers.begin(), buffers.end(), this), buffers.end());
    }

    bool IsPrimary() const { return m_primary; }
    Mixer& GetMixer() { return *m_mixer; }
    Voice& GetVoice() { return m_voice; }

    bool IsLost()
    {
        std::lock_guard lock(m_mixer->Mutex());
        return m_voice.lost;
    }

    void Lose()
    {
        std::lock_guard lock(m_mixer->Mutex());
        m_voice.lost = true;
        m_voice.playing = false;
        if (m_voice.memory)
            std::fill(m_voice.memory->bytes.begin(), m_voice.memory->bytes.end(), std::uint8_t{0});
    }

    HRESULT QueryInterface(REFIID iid, void** object) override;

    HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::GetCurrentPosition))
            return failure;
        if (m_primary)
            return DSERR_INVALIDCALL;
        std::lock_guard lock(m_mixer->Mutex());
        const DWORD play = m_voice.CursorBytes();
        if (playCursor)
            *playCursor = play;
        // The mixer takes data in steps of 10 ms: that much ahead of the play cursor is already spoken for.
        const auto size = static_cast<DWORD>(m_voice.memory->bytes.size());
        const DWORD ahead = m_voice.memory->BlockAlign() * std::max(1u, m_voice.memory->rate / 100);
        if (writeCursor)
            *writeCursor = static_cast<DWORD>((static_cast<std::uint64_t>(play) + ahead) % size);
        return DS_OK;
    }

    HRESULT GetStatus(DWORD* status) override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::GetStatus))
            return failure;
        if (!status)
            return DSERR_INVALIDPARAM;
        std::lock_guard lock(m_mixer->Mutex());
        *status = 0;
        if (m_voice.lost)
            *status = DSBSTATUS_BUFFERLOST;
        else if (m_voice.playing)
            *status = DSBSTATUS_PLAYING | (m_voice.looping ? DSBSTATUS_LOOPING : 0);
        return DS_OK;
    }

    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2, DWORD* bytes2,
                 DWORD flags) override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::Lock))
            return failure;
        if (m_primary || m_locked)
            return DSERR_INVALIDCALL;
        std::lock_guard lock(m_mixer->Mutex());
        const std::vector<std::uint8_t>& memory = m_voice.memory->bytes;
        if (!part1 || !bytes1 || flags != 0 || offset >= memory.size() || bytes == 0 || bytes > memory.size())
            return DSERR_INVALIDPARAM;
        if (m_voice.lost)
            return DSERR_BUFFERLOST;
        m_lockOffset = offset;
        m_lockFirst = std::min<DWORD>(bytes, static_cast<DWORD>(memory.size()) - offset);
        m_lockSecond = bytes - m_lockFirst;
        if (m_lockSecond > 0 && (!part2 || !bytes2))
            return DSERR_INVALIDPARAM;
        m_staging.assign(memory.begin() + offset, memory.begin() + offset + m_lockFirst);
        m_staging.insert(m_staging.end(), memory.begin(), memory.begin() + m_lockSecond);
        *part1 = m_staging.data();
        *bytes1 = m_lockFirst;
        if (part2)
            *part2 = m_lockSecond > 0 ? m_staging.data() + m_lockFirst : nullptr;
        if (bytes2)
            *bytes2 = m_lockSecond;
        m_locked = true;
        return DS_OK;
    }

    HRESULT Unlock(void* part1, DWORD bytes1, void*, DWORD bytes2) override
    {
        if (!m_locked)
            return DSERR_INVALIDCALL;
        if (part1 != m_staging.data() || bytes1 > m_lockFirst || bytes2 > m_lockSecond)
            return DSERR_INVALIDPARAM;
        m_locked = false;
        std::lock_guard lock(m_mixer->Mutex());
        std::vector<std::uint8_t>& memory = m_voice.memory->bytes;
        std::copy_n(m_staging.begin(), bytes1, memory.begin() + m_lockOffset);
        std::copy_n(m_staging.begin() + m_lockFirst, bytes2, memory.begin());
        return DS_OK;
    }

    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override
    {
        if (m_primary)
            return DSERR_INVALIDCALL;
        if (reserved != 0 || priority != 0 || (flags & ~DSBPLAY_LOOPING) != 0)
            return DSERR_INVALIDPARAM;
        std::lock_guard lock(m_mixer->Mutex());
        if (m_voice.lost)
            return DSERR_BUFFERLOST;
        m_voice.looping = (flags & DSBPLAY_LOOPING) != 0;
        m_voice.playing = true;
        return DS_OK;
    }

    HRESULT SetCurrentPosition(DWORD position) override
    {
        if (m_primary)
            return DSERR_INVALIDCALL;
        std::lock_guard lock(m_mixer->Mutex());
        if (position >= m_voice.memory->bytes.size())
            return DSERR_INVALIDPARAM;
        m_voice.SetCursorBytes(position);
        return DS_OK;
    }

    // The primary format is checked and kept; the mixer writes at its output's own rate.
    HRESULT SetFormat(const WAVEFORMATEX* format) override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::SetFormat))
            return failure;
        if (!m_primary)
            return DSERR_INVALIDCALL;
        if (!format)
            return DSERR_INVALIDPARAM;
        if (!IsPcmFormat(*format) || !IsPlayableLayout(*format))
            return DSERR_BADFORMAT;
        m_primaryFormat = *format;
        return DS_OK;
    }

    HRESULT SetVolume(LONG volume) override
    {
        if (!(m_flags & DSBCAPS_CTRLVOLUME))
            return DSERR_CONTROLUNAVAIL;
        if (volume > DSBVOLUME_MAX || volume < DSBVOLUME_MIN)
            return DSERR_INVALIDPARAM;
        std::lock_guard lock(m_mixer->Mutex());
        // The lowest volume is silence; above it the gain is 10^(volume / 2000).
        m_voice.volumeGain = volume == DSBVOLUME_MIN ? 0.0f : static_cast<float>(std::pow(10.0, volume / 2000.0));
        return DS_OK;
    }

    HRESULT Stop() override
    {
        std::lock_guard lock(m_mixer->Mutex());
        m_voice.playing = false;
        return DS_OK;
    }

    HRESULT Restore() override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::Restore))
            return failure;
        std::lock_guard lock(m_mixer->Mutex());
        m_voice.lost = false;
        return DS_OK;
    }

private:
    void Register()
    {
        std::lock_guard lock(State().mutex);
        State().buffers.push_back(this);
    }

    std::shared_ptr<Mixer> m_mixer;
    DWORD m_flags;
    bool m_primary;
    Voice m_voice;
    WAVEFORMATEX m_primaryFormat{};
    // Lock hands out this copy of the region; Unlock writes it back.
    std::vector<std::uint8_t> m_staging;
    bool m_locked = false;
    DWORD m_lockOffset = 0;
    DWORD m_lockFirst = 0;
    DWORD m_lockSecond = 0;
};

class Buffer3D : public ComObject<IDirectSound3DBuffer>
{
public:
    explicit Buffer3D(Buffer* owner) : m_owner(owner)
    {
        m_owner->AddRef();
        std::lock_guard lock(m_owner->GetMixer().Mutex());
        m_owner->GetVoice().positional = true;
    }

    ~Buffer3D() override { m_owner->Release(); }

    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override
    {
        if (!IsApplyFlag(apply))
            return DSERR_INVALIDPARAM;
        Mixer& mixer = m_owner->GetMixer();
        std::lock_guard lock(mixer.Mutex());
        Voice& voice = m_owner->GetVoice();
        voice.pendingPosition = {x, y, z};
        if (apply == DS3D_IMMEDIATE) {
            voice.position3D = voice.pendingPosition;
            mixer.Place(voice);
        }
        return DS_OK;
    }

private:
    Buffer* m_owner;
};

HRESULT Buffer::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return DSERR_INVALIDPARAM;
    *object = nullptr;
    const bool listener = m_primary && iid == IID_IDirectSound3DListener;
    const bool buffer3D = !m_primary && iid == IID_IDirectSound3DBuffer;
    if (!listener && !buffer3D)
        return E_NOINTERFACE;
    if (const HRESULT failure = InjectedFailure(listener ? SoundCall::GetListener : SoundCall::Get3DBuffer))
        return failure;
    if (!(m_flags & DSBCAPS_CTRL3D))
        return E_NOINTERFACE;
    if (listener)
        *object = static_cast<IDirectSound3DListener*>(new Listener(m_mixer));
    else
        *object = static_cast<IDirectSound3DBuffer*>(new Buffer3D(this));
    return DS_OK;
}

class Device : public ComObject<IDirectSound>
{
public:
    explicit Device(std::unique_ptr<SoundHost::Output> output) : m_output(std::move(output)) {}

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer, IUnknown* outer) override
    {
        if (!description || !buffer || description->dwSize != sizeof(DSBUFFERDESC))
            return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer)
            return DSERR_NOAGGREGATION;
        if (description->dwFlags & DSBCAPS_PRIMARYBUFFER)
            return CreatePrimary(*description, buffer);
        return CreateSecondary(*description, buffer);
    }

    HRESULT GetCaps(DSCAPS* caps) override
    {
        if (!caps || caps->dwSize != sizeof(DSCAPS))
            return DSERR_INVALIDPARAM;
        caps->dwFlags = m_output->IsAudible() ? 0 : DSCAPS_EMULDRIVER;
        return DS_OK;
    }

    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate) override
    {
        if (!original || !duplicate)
            return DSERR_INVALIDPARAM;
        *duplicate = nullptr;
        if (const HRESULT failure = InjectedFailure(SoundCall::DuplicateBuffer))
            return failure;
        auto* source = dynamic_cast<Buffer*>(original);
        if (!source || source->IsPrimary())
            return DSERR_INVALIDCALL;
        *duplicate = new Buffer(*source);
        return DS_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD level) override
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::SetCooperativeLevel))
            return failure;
        return window && level == DSSCL_PRIORITY ? DS_OK : DSERR_INVALIDPARAM;
    }

private:
    HRESULT CreatePrimary(const DSBUFFERDESC& description, IDirectSoundBuffer** buffer)
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::CreatePrimaryBuffer))
            return failure;
        if (description.dwBufferBytes != 0 || description.lpwfxFormat)
            return DSERR_INVALIDPARAM;
        *buffer = new Buffer(m_output->GetMixer(), description.dwFlags);
        return DS_OK;
    }

    HRESULT CreateSecondary(const DSBUFFERDESC& description, IDirectSoundBuffer** buffer)
    {
        if (const HRESULT failure = InjectedFailure(SoundCall::CreateBuffer))
            return failure;
        const WAVEFORMATEX* format = description.lpwfxFormat;
        if (!format)
            return DSERR_INVALIDPARAM;
        if (!IsPcmFormat(*format))
            return DSERR_BADFORMAT;
        // 3D control needs a mono buffer; the size must hold a whole frame and stay within 256 MiB.
        const bool positional = (description.dwFlags & DSBCAPS_CTRL3D) != 0;
        if (!IsPlayableLayout(*format) || (positional && format->nChannels != 1) ||
            description.dwBufferBytes < format->nBlockAlign || description.dwBufferBytes > 0x0FFFFFFF)
            return DSERR_INVALIDPARAM;
        auto memory = std::make_shared<SampleMemory>();
        memory->channels = format->nChannels;
        memory->bits = format->wBitsPerSample;
        memory->rate = format->nSamplesPerSec;
        memory->bytes.assign(description.dwBufferBytes, format->wBitsPerSample == 8 ? 0x80 : 0);
        *buffer = new Buffer(m_output->GetMixer(), std::move(memory), description.dwFlags);
        return DS_OK;
    }

    std::unique_ptr<SoundHost::Output> m_output;
};

std::unique_ptr<SoundHost::Output> OpenOutput()
{
    unsigned manualRate = 0;
    {
        std::lock_guard lock(State().mutex);
        manualRate = State().manualRate;
    }
    if (manualRate > 0) {
        auto output = SoundHost::OpenManualOutput(manualRate);
        std::lock_guard lock(State().mutex);
        State().manualMixer = output->GetMixer();
        return output;
    }
    std::unique_ptr<SoundHost::Output> output;
    if (InjectedFailure(SoundCall::OpenOutput) == S_OK)
        output = SoundHost::OpenSdlOutput();
    return output ? std::move(output) : SoundHost::OpenSilentOutput();
}

} // namespace

HRESULT DirectSoundCreate(GUID* device, IDirectSound** directSound, IUnknown* outer)
{
    if (!directSound)
        return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (const HRESULT failure = InjectedFailure(SoundCall::Create))
        return failure;
    if (outer)
        return DSERR_NOAGGREGATION;
    if (device)
        return DSERR_NODRIVER;
    *directSound = new Device(OpenOutput());
    return DS_OK;
}

void PlatformTesting::FailSoundCall(SoundCall call, HRESULT code)
{
    std::lock_guard lock(State().mutex);
    State().failures[static_cast<std::size_t>(call)] = code;
}

void PlatformTesting::ClearSoundFailures()
{
    std::lock_guard lock(State().mutex);
    State().failures.fill(S_OK);
}

void PlatformTesting::UseManualSoundOutput(unsigned rate)
{
    std::lock_guard lock(State().mutex);
    State().manualRate = rate;
}

void PlatformTesting::RenderSoundOutput(std::int16_t* stereo, std::uint32_t frames)
{
    std::shared_ptr<Mixer> mixer;
    {
        std::lock_guard lock(State().mutex);
        mixer = State().manualMixer.lock();
    }
    if (mixer)
        mixer->Render(stereo, frames);
    else
        std::fill(stereo, stereo + 2 * static_cast<std::size_t>(frames), std::int16_t{0});
}

void PlatformTesting::LoseSoundBuffers()
{
    std::lock_guard lock(State().mutex);
    for (Buffer* buffer : State().buffers)
        buffer->Lose();
}

int PlatformTesting::LostSoundBuffers()
{
    std::lock_guard lock(State().mutex);
    const auto& buffers = State().buffers;
    return static_cast<int>(
        std::count_if(buffers.begin(), buffers.end(), [](Buffer* buffer) { return buffer->IsLost(); }));
}

int PlatformTesting::LiveSoundObjects()
{
    return g_liveObjects;
}
