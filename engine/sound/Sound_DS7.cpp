#include "Sound_DS7.h"

#include "SoundBuffer_DS7.h"

namespace KeystrelEngine {

Sound_DS7::Sound_DS7(SoundBufferManager* buffers, const std::string& name, MessageManager* log, SoundSystem_DS7* system)
    : Sound(buffers, name, log), m_system(system), m_deviceBuffer(static_cast<SoundBuffer_DS7*>(m_buffer))
{
    ApplySettings();
}

Sound_DS7::Sound_DS7(const Sound_DS7& source)
    : Sound(source), m_system(source.m_system), m_deviceBuffer(static_cast<SoundBuffer_DS7*>(m_buffer))
{
    ApplySettings();
}

void Sound_DS7::ApplySettings()
{
    m_deviceBuffer->SetVolume(m_volume);
    m_deviceBuffer->SetPosition(m_position);
}

void Sound_DS7::Update()
{
    if (m_deviceBuffer->GetStatus() & DSBSTATUS_BUFFERLOST) {
        if (!m_deviceBuffer->Restore())
            return;
        Restore();
    }
    if (m_state == Playing && !m_deviceBuffer->IsPlaying())
        Stop();
}

// A static buffer reads its file into the restored memory; a stream starts again in its old state.
void Sound_DS7::Restore()
{
    if (!m_deviceBuffer->IsStreamed()) {
        m_deviceBuffer->Load(nullptr);
        return;
    }
    const int state = m_state;
    Stop();
    if (state == Stopped)
        return;
    Play();
    if (state == Paused)
        Pause();
}

bool Sound_DS7::Play()
{
    const bool streamed = m_deviceBuffer->IsStreamed();
    // A stream that ran out by itself still counts as playing until the next update: it is stopped and rewound
    // as a playing one is, so that it starts again from the beginning.
    const bool streamRunning = streamed && m_deviceBuffer->GetStreamState() == SoundBuffer::StreamPlaying;
    if (m_deviceBuffer->HasDeviceBuffer() && (streamRunning || m_deviceBuffer->IsPlaying())) {
        m_deviceBuffer->Stop();
        if (streamed)
            m_deviceBuffer->SetStreamState(SoundBuffer::StreamStopped);
    }
    if (streamed && m_deviceBuffer->GetStreamState() != SoundBuffer::StreamPlaying) {
        // From a pause the ring is left as it is and playing resumes.
        if (m_deviceBuffer->GetStreamState() == SoundBuffer::StreamStopped)
            m_deviceBuffer->FillRing();
        m_deviceBuffer->SetStreamState(SoundBuffer::StreamPlaying);
    }
    m_deviceBuffer->Play(m_loop);
    m_state = Playing;
    return true;
}

void Sound_DS7::Pause()
{
    m_deviceBuffer->Pause();
    if (m_deviceBuffer->IsStreamed())
        m_deviceBuffer->SetStreamState(SoundBuffer::StreamPaused);
    m_state = Paused;
}

void Sound_DS7::Stop()
{
    m_deviceBuffer->Stop();
    if (m_deviceBuffer->IsStreamed())
        m_deviceBuffer->SetStreamState(SoundBuffer::StreamStopped);
    m_state = Stopped;
}

void Sound_DS7::SetLoop(bool loop)
{
    Sound::SetLoop(loop);
    if (m_deviceBuffer->IsStreamed()) {
        if (!loop)
            m_deviceBuffer->EndWithCurrentPass();
    } else if (m_deviceBuffer->IsPlaying()) {
        m_deviceBuffer->Play(loop);
    }
}

void Sound_DS7::SetPosition(const Vector3& position)
{
    Sound::SetPosition(position);
    m_deviceBuffer->SetPosition(position);
}

void Sound_DS7::SetVolume(float volume)
{
    Sound::SetVolume(volume);
    m_deviceBuffer->SetVolume(volume);
}

} // namespace KeystrelEngine
