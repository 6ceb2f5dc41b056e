// The chunk walk starts behind the 12-byte RIFF header and steps from chunk to chunk by each chunk's size plus
// its pad byte (RIFF keeps chunks at even offsets). Positions are 64-bit, so no size can wrap the walk back
// to an earlier chunk; a walk that reaches the end of the file has not found its chunk. Headers are read with
// the file's uncounted read, so a file that ends inside one raises that read's error; the PCM data are read
// counted and never raise.
#include "SoundFileReaderWAV.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/FileBinary.h"

#include <algorithm>
#include <cstring>

namespace KeystrelEngine {
namespace {

constexpr std::uint32_t kRiffHeaderSize = 12;
constexpr std::uint32_t kChunkHeaderSize = 8;
constexpr std::uint32_t kFormatSize = 16;

} // namespace

SoundFileReaderWAV::SoundFileReaderWAV(FileManager* files, const std::string& name, MessageManager* log)
    : SoundFileReader(files, name, log)
{
    CheckHeader();
    ReadFormat();
    FindData();
}

void SoundFileReaderWAV::CheckHeader()
{
    std::uint8_t header[kRiffHeaderSize];
    m_file->Read(kRiffHeaderSize, header);
    if (std::memcmp(header, "RIFF", 4) != 0 || LoadLE32(header + 4) == 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        Fail("no RIFF header");
}

void SoundFileReaderWAV::ReadFormat()
{
    std::uint32_t size = 0;
    if (!FindChunk("fmt ", kFormatSize, size))
        Fail("no format chunk");
    const std::uint64_t end = ChunkEnd(size);
    std::uint8_t format[kFormatSize];
    m_file->Read(kFormatSize, format);
    m_channels = LoadLE16(format + 2);
    m_samplingRate = LoadLE32(format + 4);
    m_bitsPerSample = LoadLE16(format + 14);
    const bool pcm = LoadLE16(format) == 1;
    if (!pcm || m_channels == 0 || m_channels > 2 || m_samplingRate == 0 ||
        (m_bitsPerSample != 8 && m_bitsPerSample != 16) || end >= m_file->GetSize())
        Fail("no format chunk");
}

void SoundFileReaderWAV::FindData()
{
    std::uint32_t size = 0;
    if (!FindChunk("data", 0, size))
        Fail("no data chunk");
    m_dataStart = m_file->GetPosition();
    // A chunk that claims more than the file holds delivers what is there.
    m_pcmSize = std::min(size, m_file->GetSize() - m_dataStart);
    m_remaining = m_pcmSize;
}

// Leaves the file at the chunk's data.
bool SoundFileReaderWAV::FindChunk(const char* id, std::uint32_t minimumSize, std::uint32_t& size)
{
    std::uint64_t position = kRiffHeaderSize;
    while (position < m_file->GetSize()) {
        m_file->Seek(FileBinary::SeekFromStart, static_cast<std::int64_t>(position));
        std::uint8_t header[kChunkHeaderSize];
        m_file->Read(kChunkHeaderSize, header);
        size = LoadLE32(header + 4);
        if (std::memcmp(header, id, 4) == 0 && size >= minimumSize)
            return true;
        position = ChunkEnd(size);
    }
    return false;
}

// The position of the next chunk header, for a chunk whose header was just read.
std::uint64_t SoundFileReaderWAV::ChunkEnd(std::uint32_t size) const
{
    return static_cast<std::uint64_t>(m_file->GetPosition()) + size + (size & 1u);
}

void SoundFileReaderWAV::Rewind()
{
    m_remaining = m_pcmSize;
    m_file->Seek(FileBinary::SeekFromStart, m_dataStart);
}

void SoundFileReaderWAV::Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd)
{
    if (bytes == 0) {
        got = 0;
        atEnd = true;
        return;
    }
    const std::uint32_t wanted = std::min(m_remaining, bytes);
    m_remaining -= wanted;
    m_file->Read(wanted, destination, &got);
    if (got < wanted)
        m_remaining = 0;
    atEnd = m_remaining == 0;
}

} // namespace KeystrelEngine
