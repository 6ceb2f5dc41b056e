// A sound buffer holds the PCM data of one sound file in a device buffer: the whole file at once (static), or,
// for PCM data above one ring, a ring of 32 chunks that is refilled from the reader as the chunks are played
// (streamed).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace KeystrelEngine {

class FileManager;
class MessageManager;
class SoundFileReader;

class SoundBuffer
{
public:
    static constexpr std::uint32_t kChunkSize = 24576;
    static constexpr std::uint32_t kChunkCount = 32;
    // Also the threshold: PCM data of this size or less are static, more are streamed.
    static constexpr std::uint32_t kRingSize = kChunkSize * kChunkCount;

    enum StreamState
    {
        StreamStopped = 0,
        StreamPaused = 1,
        StreamPlaying = 2
    };

    virtual ~SoundBuffer();

    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    // Refills the played chunks of a playing streamed buffer.
    virtual void Update();
    virtual void Unload();
    // Without a source: picks the reader, learns the format, creates the device buffer and loads the data (a
    // static buffer) or prepares the stream. With a source: takes the source's format and shares its device
    // buffer. Nothing happens while a reader is present.
    virtual void Load(SoundBuffer* source);
    virtual void CreateDeviceBuffer(SoundBuffer* source) = 0;
    virtual void ReleaseDeviceBuffer() = 0;
    // Copies bytes bytes into the device buffer at index chunks; false when that fails.
    virtual bool WriteChunk(std::uint32_t index, const std::uint8_t* data, std::uint32_t bytes) = 0;
    virtual void QueueChunk(std::uint32_t index) = 0;
    // Reports the ring indexes of the chunks played since the last call, in play order.
    virtual void UnqueueProcessedBuffers(std::vector<std::uint32_t>& played) = 0;

    // Reads the next bytes of the stream into chunk index (rewinding a looping stream at its end, silence
    // after the data) and writes them to the device buffer. A static buffer reports whether every byte was
    // read; a streamed one reports false only when it does not loop and its data are exhausted.
    bool FillChunk(std::uint32_t index, std::uint32_t bytes);
    // Rewinds the reader and fills the whole ring, as a stream's start from the beginning does; nothing without a
    // reader (after Unload).
    void FillRing();

    const std::string& GetName() const { return m_name; }
    std::uint32_t GetPcmSize() const { return m_pcmSize; }
    std::uint32_t GetSamplingRate() const { return m_samplingRate; }
    std::uint32_t GetBitsPerSample() const { return m_bitsPerSample; }
    std::uint32_t GetChannels() const { return m_channels; }
    bool IsStreamed() const { return m_streamed; }
    void SetStreamLoops(bool loops) { m_streamLoops = loops; }
    StreamState GetStreamState() const { return m_streamState; }
    void SetStreamState(StreamState state) { m_streamState = state; }

protected:
    // The name is lower-cased.
    SoundBuffer(FileManager* files, const std::string& name, MessageManager* log);

    MessageManager* m_log;
    FileManager* m_files;
    std::string m_name;
    std::uint32_t m_pcmSize = 0;
    std::uint32_t m_samplingRate = 0;
    std::uint32_t m_bitsPerSample = 0;
    std::uint32_t m_channels = 0;
    bool m_streamed = false;
    bool m_streamLoops = false;
    std::unique_ptr<SoundFileReader> m_reader;
    StreamState m_streamState = StreamStopped;
    // A stream's place in the bytes fed into the ring since its start: all fed so far, where the reader last went
    // back to the start of the file, and where the data end (known once a pass that does not loop has run out).
    std::uint64_t m_fed = 0;
    std::optional<std::uint64_t> m_lastWrap;
    std::optional<std::uint64_t> m_dataEnd;

    // The byte of silence: 0x80 for 8-bit data, 0 for 16-bit data.
    std::uint8_t Silence() const { return m_bitsPerSample == 8 ? std::uint8_t{0x80} : std::uint8_t{0}; }

private:
    std::unique_ptr<SoundFileReader> CreateReader();
    bool Fill(std::uint32_t index, std::uint32_t bytes, std::vector<std::uint8_t>& data);

    std::vector<std::uint8_t> m_chunkData;
    std::vector<std::uint32_t> m_played;
};

} // namespace KeystrelEngine
