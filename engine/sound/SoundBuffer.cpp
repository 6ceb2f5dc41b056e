#include "SoundBuffer.h"

#include "SoundFileReaderEMP.h"
#include "SoundFileReaderOGG.h"
#include "SoundFileReaderWAV.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>

namespace KeystrelEngine {

SoundBuffer::SoundBuffer(FileManager* files, const std::string& name, MessageManager* log)
    : m_log(log), m_files(files), m_name(ToLower(name))
{
}

SoundBuffer::~SoundBuffer() = default;

void SoundBuffer::Update()
{
    if (!m_streamed || m_streamState != StreamPlaying)
        return;
    UnqueueProcessedBuffers(m_played);
    for (const std::uint32_t index : m_played) {
        if (FillChunk(index, kChunkSize))
            QueueChunk(index);
    }
}

void SoundBuffer::Unload()
{
    m_reader.reset();
}

void SoundBuffer::Load(SoundBuffer* source)
{
    if (m_reader)
        return;
    if (source) {
        m_pcmSize = source->m_pcmSize;
        m_samplingRate = source->m_samplingRate;
        m_bitsPerSample = source->m_bitsPerSample;
        m_channels = source->m_channels;
        m_streamed = false;
    } else {
        m_reader = CreateReader();
        m_pcmSize = m_reader->GetPcmSize();
        m_samplingRate = m_reader->GetSamplingRate();
        m_bitsPerSample = m_reader->GetBitsPerSample();
        m_channels = m_reader->GetChannels();
        m_streamed = m_pcmSize > kRingSize;
    }
    CreateDeviceBuffer(source);
    if (source)
        return;
    if (m_streamed) {
        m_streamLoops = false;
        m_streamState = StreamStopped;
        return;
    }
    // The static data live only in the device buffer: neither the file's bytes nor the reader stay.
    std::vector<std::uint8_t> data;
    if (m_pcmSize == 0 || !Fill(0, m_pcmSize, data))
        m_log->Error("\"" + m_name + "\" sound file - incorrect format");
    m_reader.reset();
}

std::unique_ptr<SoundFileReader> SoundBuffer::CreateReader()
{
    const std::string extension = GetFileExtension(m_name);
    if (extension == "wav")
        return std::make_unique<SoundFileReaderWAV>(m_files, m_name, m_log);
    if (extension == "ogg") {
        auto reader = std::make_unique<SoundFileReaderOGG>(m_files, m_name, m_log);
        // A stream starts decoding on a fresh decoder.
        if (reader->GetPcmSize() > kRingSize) {
            reader.reset();
            reader = std::make_unique<SoundFileReaderOGG>(m_files, m_name, m_log);
        }
        return reader;
    }
    if (!m_name.empty())
        m_log->Error("Failed to load \"" + m_name + "\" sound file - unknown type");
    return std::make_unique<SoundFileReaderEMP>(m_files, m_name, m_log);
}

bool SoundBuffer::FillChunk(std::uint32_t index, std::uint32_t bytes)
{
    return Fill(index, bytes, m_chunkData);
}

void SoundBuffer::FillRing()
{
    if (!m_reader)
        return;
    m_reader->Rewind();
    m_fed = 0;
    m_lastWrap.reset();
    m_dataEnd.reset();
    for (std::uint32_t chunk = 0; chunk < kChunkCount; ++chunk) {
        if (FillChunk(chunk, kChunkSize))
            QueueChunk(chunk);
    }
}

bool SoundBuffer::Fill(std::uint32_t index, std::uint32_t bytes, std::vector<std::uint8_t>& data)
{
    data.resize(bytes);
    const bool loops = m_streamed && m_streamLoops;
    if (loops)
        m_dataEnd.reset();
    // Once the data of a stream have ended, the rest is silence without asking the reader.
    std::uint32_t total = 0;
    bool atEnd = m_dataEnd.has_value();
    if (!atEnd)
        m_reader->Read(data.data(), bytes, total, atEnd);
    while (loops && total < bytes) {
        m_lastWrap = m_fed + total;
        m_reader->Rewind();
        std::uint32_t got = 0;
        m_reader->Read(data.data() + total, bytes - total, got, atEnd);
        if (got == 0)
            break;
        total += got;
    }
    if (m_streamed && !loops && total < bytes && !m_dataEnd)
        m_dataEnd = m_fed + total;
    m_fed += bytes;
    std::fill(data.begin() + total, data.end(), Silence());
    if (!WriteChunk(index, data.data(), bytes))
        return false;
    if (!m_streamed)
        return total == bytes;
    return loops || total > 0 || !atEnd;
}

} // namespace KeystrelEngine
