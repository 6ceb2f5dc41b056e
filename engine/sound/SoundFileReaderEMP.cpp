#include "SoundFileReaderEMP.h"

#include <algorithm>
#include <cstring>

namespace KeystrelEngine {

SoundFileReaderEMP::SoundFileReaderEMP(FileManager* files, const std::string& name, MessageManager* log)
    : SoundFileReader(files, name, log, false)
{
    m_pcmSize = 8;
    m_channels = 1;
    m_bitsPerSample = 8;
    m_samplingRate = 22050;
}

void SoundFileReaderEMP::Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd)
{
    if (bytes == 0) {
        got = 0;
        atEnd = true;
        return;
    }
    got = std::min(m_pcmSize - m_position, bytes);
    std::memset(destination, 0x80, got);
    m_position += got;
    atEnd = m_position == m_pcmSize;
}

} // namespace KeystrelEngine
