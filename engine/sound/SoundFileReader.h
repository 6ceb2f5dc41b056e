// A sound file reader turns one sound file into raw PCM samples for a sound buffer: little-endian, 8-bit
// samples unsigned (silence 0x80), 16-bit samples signed (silence 0), stereo interleaved left, right.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace KeystrelEngine {

class FileBinary;
class FileManager;
class MessageManager;

class SoundFileReader
{
public:
    virtual ~SoundFileReader();

    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    // Delivers from the first PCM byte again.
    virtual void Rewind() = 0;
    // Delivers up to bytes bytes; got receives the number delivered, atEnd whether the data is exhausted.
    virtual void Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd) = 0;

    std::uint32_t GetPcmSize() const { return m_pcmSize; }
    std::uint32_t GetChannels() const { return m_channels; }
    std::uint32_t GetBitsPerSample() const { return m_bitsPerSample; }
    std::uint32_t GetSamplingRate() const { return m_samplingRate; }

protected:
    // Opens "data\" + name (or the name itself when it names a drive) unless openFile is false; a file that
    // cannot be opened raises the file manager's error.
    SoundFileReader(FileManager* files, const std::string& name, MessageManager* log, bool openFile = true);

    [[noreturn]] void Fail(const std::string& reason) const;

    MessageManager* m_log;
    FileManager* m_files;
    std::string m_name;
    std::string m_path;
    std::unique_ptr<FileBinary> m_file;
    std::uint32_t m_pcmSize = 0;
    std::uint32_t m_channels = 0;
    std::uint32_t m_bitsPerSample = 0;
    std::uint32_t m_samplingRate = 0;
};

} // namespace KeystrelEngine
