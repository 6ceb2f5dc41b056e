#include "Sound.h"

#include "SoundBuffer.h"
#include "SoundBufferManager.h"

namespace KeystrelEngine {

Sound::Sound(SoundBufferManager* buffers, const std::string& name, MessageManager* log)
    : m_log(log), m_buffers(buffers), m_name(name), m_buffer(buffers->Get(name))
{
}

Sound::Sound(const Sound& source)
    : m_log(source.m_log), m_buffers(source.m_buffers), m_name(source.m_name), m_buffer(m_buffers->Get(m_name)),
      m_loop(source.m_loop), m_volume(source.m_volume), m_position(source.m_position)
{
}

Sound::~Sound()
{
    m_buffers->Release(m_buffer);
}

void Sound::SetLoop(bool loop)
{
    m_loop = loop;
    if (m_buffer->IsStreamed())
        m_buffer->SetStreamLoops(loop);
}

} // namespace KeystrelEngine
