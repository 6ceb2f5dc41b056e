// RIFF/WAVE files with 8- or 16-bit PCM, mono or stereo, at a sampling rate above 0.
#pragma once

#include "SoundFileReader.h"

namespace KeystrelEngine {

class SoundFileReaderWAV : public SoundFileReader
{
public:
    // Throws FileError ("no RIFF header", "no format chunk", "no data chunk") for a file that is no usable WAV.
    SoundFileReaderWAV(FileManager* files, const std::string& name, MessageManager* log);

    void Rewind() override;
    void Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd) override;

private:
    void CheckHeader();
    void ReadFormat();
    void FindData();
    bool FindChunk(const char* id, std::uint32_t minimumSize, std::uint32_t& size);
    std::uint64_t ChunkEnd(std::uint32_t size) const;

    std::uint32_t m_dataStart = 0;
    std::uint32_t m_remaining = 0;
};

} // namespace KeystrelEngine
