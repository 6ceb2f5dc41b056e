// A sound over a DirectSound buffer.
#pragma once

#include "Sound.h"

namespace KeystrelEngine {

class SoundBuffer_DS7;
class SoundSystem_DS7;

class Sound_DS7 : public Sound
{
public:
    Sound_DS7(SoundBufferManager* buffers, const std::string& name, MessageManager* log, SoundSystem_DS7* system);
    Sound_DS7(const Sound_DS7& source);

    // Restores a lost device buffer, and marks a sound that ran out as stopped.
    void Update() override;
    bool Play() override;
    void Pause() override;
    void Stop() override;
    // A playing static sound starts or ends looping with its current pass; a stream that stops looping ends with
    // the pass being heard.
    void SetLoop(bool loop) override;
    void SetVolume(float volume) override;
    void SetPosition(const Vector3& position) override;
    int GetState() const override { return m_state; }

private:
    void ApplySettings();
    void Restore();

    SoundSystem_DS7* m_system;
    SoundBuffer_DS7* m_deviceBuffer;
    int m_state = Stopped;
};

} // namespace KeystrelEngine
