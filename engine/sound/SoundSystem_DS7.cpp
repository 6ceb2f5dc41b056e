#include "SoundSystem_DS7.h"

#include "SoundBuffer_DS7.h"
#include "Sound_DS7.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <new>

namespace KeystrelEngine {
namespace {

struct ResultText
{
    HRESULT code;
    const char* text;
};

constexpr ResultText kResultTexts[] = {
    {DSERR_ACCESSDENIED, "The request failed because access was denied."},
    {DSERR_ALLOCATED, "The request failed because resources, such as a priority level, were already in use by "
                      "another caller."},
    {DSERR_ALREADYINITIALIZED, "The object is already initialized."},
    {DSERR_BADFORMAT, "The specified wave format is not supported."},
    {DSERR_BUFFERLOST, "The buffer memory has been lost and must be restored."},
    {DSERR_CONTROLUNAVAIL, "The buffer control (volume, pan, and so on) requested by the caller is not available."},
    {DSERR_GENERIC, "An undetermined error occurred inside the DirectSound subsystem."},
    {DSERR_INVALIDCALL, "This function is not valid for the current state of this object."},
    {DSERR_INVALIDPARAM, "An invalid parameter was passed to the returning function."},
    {DSERR_NOAGGREGATION, "The object does not support aggregation."},
    {DSERR_NODRIVER, "No sound driver is available for use."},
    {DSERR_NOINTERFACE, "The requested COM interface is not available."},
    {DSERR_OTHERAPPHASPRIO, "Another application has a higher priority level, preventing this call from succeeding."},
    {DSERR_OUTOFMEMORY,
     "The DirectSound subsystem could not allocate sufficient memory to complete the caller's request."},
    {DSERR_PRIOLEVELNEEDED, "The caller does not have the priority level required for the function to succeed."},
    {DSERR_UNINITIALIZED, "The IDirectSound::Initialize method has not been called or has not been called "
                          "successfully before other methods were called."},
    {DSERR_UNSUPPORTED, "The function called is not supported at this time."},
};

std::string DescribeResult(HRESULT result)
{
    for (const ResultText& entry : kResultTexts) {
        if (entry.code == result)
            return entry.text;
    }
    return "Unknown error (Code: " + FormatInt(result) + ")";
}

} // namespace

SoundSystem_DS7::SoundSystem_DS7(MessageManager* log, FileManager* files, Config* config, HWND window, bool enable3D)
    : SoundSystem(log, files, config, enable3D)
{
    StartUp(window);
}

SoundSystem_DS7::~SoundSystem_DS7()
{
    ReleaseAll();
}

void SoundSystem_DS7::StartUp(HWND window)
{
    m_log->Message("\nInitialization of DirectSound Subsystem:");
    m_log->Message("...Creating a device...");
    IDirectSound* device = nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &device, nullptr)))
        FailStartUp("Failed to create a device");
    m_device.reset(device);
    DSCAPS caps{sizeof(DSCAPS), 0};
    if (SUCCEEDED(m_device->GetCaps(&caps)) && (caps.dwFlags & DSCAPS_EMULDRIVER))
        m_log->Warning("No audio device could be opened, the sound plays silently");

    m_log->Message("...Set cooperative level...");
    if (FAILED(m_device->SetCooperativeLevel(window, DSSCL_PRIORITY)))
        FailStartUp("Failed to set cooperative level");
    CreatePrimaryBuffer();
    if (m_3DEnabled)
        GetListener();
    m_log->Message("");
    ResetListener();
}

void SoundSystem_DS7::CreatePrimaryBuffer()
{
    m_log->Message("...Create primary buffer...");
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME | (m_3DEnabled ? DSBCAPS_CTRL3D : 0);
    description.guid3DAlgorithm = DS3DALG_DEFAULT;
    IDirectSoundBuffer* primary = nullptr;
    if (FAILED(m_device->CreateSoundBuffer(&description, &primary, nullptr)))
        FailStartUp("Failed to create primary buffer");
    m_primary.reset(primary);

    m_log->Message("...Set primary buffer format...");
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
    if (FAILED(m_primary->SetFormat(&format)))
        FailStartUp("Failed to set primary buffer format");
}

void SoundSystem_DS7::GetListener()
{
    m_log->Message("...Get the 3D listener from the primary buffer...");
    void* listener = nullptr;
    if (FAILED(m_primary->QueryInterface(IID_IDirectSound3DListener, &listener))) {
        m_log->Error("Failed to get the 3D listener from the primary buffer");
        m_3DEnabled = false;
        return;
    }
    m_listener.reset(static_cast<IDirectSound3DListener*>(listener));
}

void SoundSystem_DS7::FailStartUp(const char* line)
{
    m_log->Error(line);
    ReleaseAll();
    throw Error("");
}

void SoundSystem_DS7::ReleaseAll()
{
    m_log->Message("DirectSound system destroying:");
    if (m_listener) {
        m_log->Message("...Releasing 3D listener...");
        m_listener.reset();
    }
    if (m_primary) {
        m_log->Message("...Releasing primary buffer...");
        m_primary.reset();
    }
    if (m_device) {
        m_log->Message("...Releasing device...");
        m_device.reset();
    }
}

void SoundSystem_DS7::Refresh()
{
    DWORD status = 0;
    CheckResult("SoundSystem_DS7::Refresh", m_primary->GetStatus(&status));
    if (status == DSBSTATUS_BUFFERLOST)
        m_primary->Restore();
    if (m_listener)
        CheckResult("SoundSystem_DS7::Refresh", m_listener->CommitDeferredSettings());
}

void SoundSystem_DS7::SetListenerPosition(const Vector3& position)
{
    SoundSystem::SetListenerPosition(position);
    if (m_listener)
        m_listener->SetPosition(position.x, position.y, position.z, DS3D_DEFERRED);
}

void SoundSystem_DS7::SetListenerOrientation(const Vector3& front, const Vector3& top)
{
    SoundSystem::SetListenerOrientation(front, top);
    if (m_listener)
        m_listener->SetOrientation(front.x, front.y, front.z, top.x, top.y, top.z, DS3D_DEFERRED);
}

Sound* SoundSystem_DS7::CreateSound(const std::string& name)
{
    return new (std::nothrow) Sound_DS7(m_bufferManager, name, m_log, this);
}

Sound* SoundSystem_DS7::CreateSound(const Sound& source)
{
    return new (std::nothrow) Sound_DS7(static_cast<const Sound_DS7&>(source));
}

SoundBuffer* SoundSystem_DS7::CreateSoundBuffer(const std::string& name)
{
    return new (std::nothrow) SoundBuffer_DS7(m_files, name, m_log, this);
}

SoundBuffer* SoundSystem_DS7::CreateSoundBuffer(SoundBuffer& source)
{
    return new (std::nothrow) SoundBuffer_DS7(static_cast<SoundBuffer_DS7&>(source));
}

void SoundSystem_DS7::CheckResult(const char* context, HRESULT result) const
{
    if (result != DS_OK)
        m_log->Error(std::string("DirectSound Subsystem (") + context + "): " + DescribeResult(result));
}

} // namespace KeystrelEngine
