#include "SoundBuffer_DS7.h"

#include "SoundFileReader.h"

#include "engine/foundation/MessageManager.h"

#include <cmath>
#include <cstring>

namespace KeystrelEngine {
namespace {

// A chunk is refilled once the play position is this far past its end.
constexpr std::uint64_t kRefillLag = 2 * SoundBuffer::kChunkSize;

LONG ToDirectSoundVolume(float volume)
{
    if (volume < 0.0001f)
        return DSBVOLUME_MIN;
    const float reciprocal = 1.0f / volume;
    const float logarithm = std::log(reciprocal);
    return static_cast<LONG>(-1000.0f * logarithm);
}

} // namespace

void StreamProgress::Reset()
{
    m_lastCursor = 0;
    m_total = 0;
    m_nextChunk = 0;
}

void StreamProgress::Advance(DWORD playCursor, std::vector<std::uint32_t>& played)
{
    const DWORD moved =
        playCursor >= m_lastCursor ? playCursor - m_lastCursor : playCursor + SoundBuffer::kRingSize - m_lastCursor;
    m_total += moved;
    m_lastCursor = playCursor;
    while ((m_nextChunk + 1) * SoundBuffer::kChunkSize + kRefillLag < m_total) {
        played.push_back(static_cast<std::uint32_t>(m_nextChunk % SoundBuffer::kChunkCount));
        ++m_nextChunk;
    }
}

SoundBuffer_DS7::SoundBuffer_DS7(FileManager* files, const std::string& name, MessageManager* log,
                                 SoundSystem_DS7* system)
    : SoundBuffer(files, name, log), m_system(system), m_device(system->GetDevice())
{
    Load(nullptr);
}

SoundBuffer_DS7::SoundBuffer_DS7(SoundBuffer_DS7& source)
    : SoundBuffer(source.m_files, source.m_name, source.m_log), m_system(source.m_system), m_device(source.m_device)
{
    Load(&source);
}

SoundBuffer_DS7::~SoundBuffer_DS7()
{
    m_reader.reset();
    ReleaseDeviceBuffer();
}

void SoundBuffer_DS7::Update()
{
    SoundBuffer::Update();
    SetVolume(m_volume);
}

void SoundBuffer_DS7::Unload()
{
    SoundBuffer::Unload();
    ReleaseDeviceBuffer();
}

void SoundBuffer_DS7::CreateDeviceBuffer(SoundBuffer* source)
{
    if (m_buffer)
        return;
    if (source)
        DuplicateSecondaryBuffer(static_cast<SoundBuffer_DS7&>(*source));
    else
        CreateSecondaryBuffer();
    if (m_buffer && m_system->Is3DEnabled() && m_channels == 1)
        Get3DBuffer();
}

void SoundBuffer_DS7::CreateSecondaryBuffer()
{
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(m_channels);
    format.nSamplesPerSec = m_samplingRate;
    format.nBlockAlign = static_cast<WORD>(m_bitsPerSample * m_channels / 8);
    format.nAvgBytesPerSec = m_samplingRate * format.nBlockAlign;
    format.wBitsPerSample = static_cast<WORD>(m_bitsPerSample);

    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = DSBCAPS_CTRLVOLUME;
    if (m_system->Is3DEnabled() && m_channels == 1)
        description.dwFlags |= DSBCAPS_CTRL3D;
    description.dwFlags |= m_streamed ? DSBCAPS_GETCURRENTPOSITION2 : DSBCAPS_STATIC;
    description.dwBufferBytes = m_streamed ? kRingSize : m_pcmSize;
    description.lpwfxFormat = &format;
    description.guid3DAlgorithm = DS3DALG_DEFAULT;

    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(m_device->CreateSoundBuffer(&description, &buffer, nullptr))) {
        m_log->Error("Sound System: DirectSound buffers overflow");
        return;
    }
    m_buffer.reset(buffer);
}

void SoundBuffer_DS7::DuplicateSecondaryBuffer(SoundBuffer_DS7& source)
{
    IDirectSoundBuffer* buffer = nullptr;
    if (!source.m_buffer || FAILED(m_device->DuplicateSoundBuffer(source.m_buffer.get(), &buffer))) {
        m_log->Error("Sound System: DirectSound buffers overflow");
        return;
    }
    m_buffer.reset(buffer);
}

void SoundBuffer_DS7::Get3DBuffer()
{
    void* buffer3D = nullptr;
    if (FAILED(m_buffer->QueryInterface(IID_IDirectSound3DBuffer, &buffer3D))) {
        m_log->Error("Sound System: Failed to get the 3D buffer from the secondary buffer");
        return;
    }
    m_buffer3D.reset(static_cast<IDirectSound3DBuffer*>(buffer3D));
}

void SoundBuffer_DS7::ReleaseDeviceBuffer()
{
    m_buffer3D.reset();
    m_buffer.reset();
}

bool SoundBuffer_DS7::WriteChunk(std::uint32_t index, const std::uint8_t* data, std::uint32_t bytes)
{
    return !m_buffer || WriteRing(index * kChunkSize, data, bytes);
}

bool SoundBuffer_DS7::WriteRing(DWORD offset, const std::uint8_t* data, DWORD bytes)
{
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    if (FAILED(m_buffer->Lock(offset, bytes, &part1, &bytes1, &part2, &bytes2, 0)))
        return false;
    const auto copy = [&](void* part, DWORD size, DWORD from) {
        if (data)
            std::memcpy(part, data + from, size);
        else
            std::memset(part, Silence(), size);
    };
    copy(part1, bytes1, 0);
    if (part2)
        copy(part2, bytes2, bytes1);
    return SUCCEEDED(m_buffer->Unlock(part1, bytes1, part2, bytes2));
}

void SoundBuffer_DS7::UnqueueProcessedBuffers(std::vector<std::uint32_t>& played)
{
    played.clear();
    if (!m_buffer || !(GetStatus() & DSBSTATUS_PLAYING) || m_finished)
        return;
    DWORD playCursor = 0;
    if (FAILED(m_buffer->GetCurrentPosition(&playCursor, nullptr)))
        return;
    m_progress.Advance(playCursor, played);
    // A stream that does not loop ends once the end of its data and one chunk of silence behind it were played.
    if (!m_streamLoops && m_dataEnd && m_progress.GetTotalPlayed() > *m_dataEnd + kChunkSize) {
        m_system->CheckResult("SoundBuffer_DS7::UnqueueProcessedBuffers", m_buffer->Stop());
        m_finished = true;
    }
}

void SoundBuffer_DS7::EndWithCurrentPass()
{
    if (!m_buffer || m_streamState == StreamStopped || !m_lastWrap || *m_lastWrap <= m_progress.GetTotalPlayed())
        return;
    WriteRing(static_cast<DWORD>(*m_lastWrap % kRingSize), nullptr, static_cast<DWORD>(m_fed - *m_lastWrap));
    m_dataEnd = m_lastWrap;
    m_lastWrap.reset();
}

void SoundBuffer_DS7::Play(bool loop)
{
    if (!m_buffer)
        return;
    const DWORD flags = m_streamed || loop ? DSBPLAY_LOOPING : 0;
    m_system->CheckResult("SoundBuffer_DS7::Play", m_buffer->Play(0, 0, flags));
    m_finished = false;
}

void SoundBuffer_DS7::Pause()
{
    if (m_buffer)
        m_system->CheckResult("SoundBuffer_DS7::Pause", m_buffer->Stop());
}

void SoundBuffer_DS7::Stop()
{
    if (!m_buffer)
        return;
    m_system->CheckResult("SoundBuffer_DS7::Stop", m_buffer->Stop());
    m_system->CheckResult("SoundBuffer_DS7::Stop", m_buffer->SetCurrentPosition(0));
    m_progress.Reset();
}

bool SoundBuffer_DS7::IsPlaying()
{
    return (GetStatus() & DSBSTATUS_PLAYING) != 0;
}

DWORD SoundBuffer_DS7::GetStatus()
{
    DWORD status = 0;
    if (m_buffer)
        m_system->CheckResult("SoundBuffer_DS7::IsPlaying", m_buffer->GetStatus(&status));
    return status;
}

bool SoundBuffer_DS7::Restore()
{
    const HRESULT result = m_buffer->Restore();
    m_system->CheckResult("SoundBuffer_DS7::Restore", result);
    return SUCCEEDED(result);
}

void SoundBuffer_DS7::SetVolume(float volume)
{
    if (!m_buffer)
        return;
    m_volume = volume;
    m_system->CheckResult("SoundBuffer_DS7::SetVolume", m_buffer->SetVolume(ToDirectSoundVolume(volume)));
}

void SoundBuffer_DS7::SetPosition(const Vector3& position)
{
    if (m_buffer3D)
        m_system->CheckResult("SoundBuffer_DS7::SetPosition",
                              m_buffer3D->SetPosition(position.x, position.y, position.z, DS3D_DEFERRED));
}

} // namespace KeystrelEngine
