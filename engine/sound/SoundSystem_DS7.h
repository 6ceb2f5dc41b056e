// The sound system over DirectSound: the default device at the priority level on the application window, a
// primary buffer of 22,050 Hz 16-bit stereo and, when 3D sound is asked for, the 3D listener.
#pragma once

#include "SoundSystem.h"

#include "platform/dsound/DSound.h"

#include <memory>

namespace KeystrelEngine {

// Releases a DirectSound interface once, when its holder goes.
struct ReleaseInterface
{
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface> using InterfacePointer = std::unique_ptr<Interface, ReleaseInterface>;

class SoundSystem_DS7 : public SoundSystem
{
public:
    // Throws Error (with an empty text) when the device, the cooperative level, the primary buffer or its
    // format fails; a missing listener only turns 3D off.
    SoundSystem_DS7(MessageManager* log, FileManager* files, Config* config, HWND window, bool enable3D);
    ~SoundSystem_DS7() override;

    // Restores a lost primary buffer and commits the deferred 3D settings.
    void Refresh() override;
    Sound* CreateSound(const std::string& name) override;
    Sound* CreateSound(const Sound& source) override;
    SoundBuffer* CreateSoundBuffer(const std::string& name) override;
    SoundBuffer* CreateSoundBuffer(SoundBuffer& source) override;
    // Stored, and sent to the listener as deferred settings that the next Refresh commits.
    void SetListenerPosition(const Vector3& position) override;
    void SetListenerOrientation(const Vector3& front, const Vector3& top) override;

    // The result check of the whole subsystem: a failure (any result but 0) becomes one error line
    // "DirectSound Subsystem (" + context + "): " + the code's description. Never throws.
    void CheckResult(const char* context, HRESULT result) const;

    IDirectSound* GetDevice() const { return m_device.get(); }

private:
    void StartUp(HWND window);
    void CreatePrimaryBuffer();
    void GetListener();
    [[noreturn]] void FailStartUp(const char* line);
    void ReleaseAll();

    InterfacePointer<IDirectSound> m_device;
    InterfacePointer<IDirectSoundBuffer> m_primary;
    InterfacePointer<IDirectSound3DListener> m_listener;
};

} // namespace KeystrelEngine
