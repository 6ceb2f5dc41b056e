#include "platform/vfw/AviWriter.h"
#include "platform/gdi/Gdi.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace VfwHost {
namespace {

constexpr std::uint32_t kHasIndex = 0x10; // main header flag: the file ends with 'idx1'
constexpr std::uint32_t kDefaultQuality = 0xFFFFFFFF;
constexpr std::uint32_t kMainHeaderSize = 56;
constexpr std::uint32_t kStreamHeaderSize = 56;
constexpr std::uint64_t kChunkHeaderSize = 8;
constexpr std::uint64_t kIndexEntrySize = 16;
constexpr FOURCC kFrameChunk = mmioFOURCC('0', '0', 'd', 'b'); // stream 0, uncompressed pixels

// Little-endian values appended to a byte vector, with RIFF lists whose sizes are patched when they close.
class Bytes
{
public:
    explicit Bytes(std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    void U16(std::uint32_t value)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint64_t value)
    {
        U16(value & 0xFFFF);
        U16((value >> 16) & 0xFFFF);
    }
    void Tag(const char* tag) { U32(mmioFOURCC(tag[0], tag[1], tag[2], tag[3])); }
    // Starts a list and returns where its size goes.
    std::size_t OpenList(const char* type)
    {
        Tag("LIST");
        const std::size_t at = m_bytes.size();
        U32(0);
        Tag(type);
        return at;
    }
    void CloseList(std::size_t at) { Patch(at, m_bytes.size() - at - 4); }
    void Patch(std::size_t at, std::uint64_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void Append(const std::vector<std::uint8_t>& more)
    {
        m_bytes.insert(m_bytes.end(), more.begin(), more.end());
        if (more.size() % 2)
            m_bytes.push_back(0);
    }

private:
    std::vector<std::uint8_t>& m_bytes;
};

std::uint64_t Padded(std::uint64_t size)
{
    return size + size % 2;
}

std::uint32_t Clamp32(std::uint64_t value)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

// The size of a finished file: its headers, its frame chunks and its index.
std::uint64_t FileSize(std::uint64_t headerSize, std::uint64_t moviBytes, std::uint64_t frames)
{
    return headerSize + moviBytes + kChunkHeaderSize + kIndexEntrySize * frames;
}

bool Write(std::FILE* file, const void* bytes, std::size_t size)
{
    return std::fwrite(bytes, 1, size, file) == size;
}

} // namespace

AviWriter::AviWriter(std::FILE* file, std::uint64_t sizeLimit) : m_file(file), m_sizeLimit(sizeLimit) {}

AviWriter::~AviWriter()
{
    Finish();
}

HRESULT AviWriter::SetFormat(const void* format, std::size_t size)
{
    if (m_headerSize != 0)
        return AVIERR_UNSUPPORTED; // the frames written so far have the old format
    BITMAPINFOHEADER header;
    if (!format || size < sizeof header)
        return AVIERR_BADFORMAT;
    std::memcpy(&header, format, sizeof header);
    if (header.biSize < sizeof header || header.biSize > size || header.biPlanes != 1 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 || header.biBitCount == 0 ||
        header.biBitCount > 32)
        return AVIERR_BADFORMAT;
    const std::uint64_t rowSize = (static_cast<std::uint64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const std::uint64_t frameSize = rowSize * static_cast<std::uint64_t>(std::llabs(header.biHeight));
    if (frameSize >= std::numeric_limits<std::uint32_t>::max())
        return AVIERR_BADFORMAT;
    m_frameSize = static_cast<std::uint32_t>(frameSize);
    const auto* bytes = static_cast<const std::uint8_t*>(format);
    m_format.assign(bytes, bytes + size);
    return AVIERR_OK;
}

HRESULT AviWriter::WriteFrame(const void* pixels, std::size_t size, bool keyFrame)
{
    if (m_format.empty())
        return AVIERR_BADFORMAT;
    if (!pixels || size != m_frameSize)
        return AVIERR_BADSIZE;
    if (m_headerSize == 0 && !WriteHeaders())
        return AVIERR_FILEWRITE;
    const std::uint64_t chunkBytes = kChunkHeaderSize + Padded(size);
    if (FileSize(m_headerSize, m_moviBytes + chunkBytes, m_index.size() + 1) > m_sizeLimit)
        return AVIERR_FILEWRITE;
    std::vector<std::uint8_t> header;
    Bytes out(header);
    out.U32(kFrameChunk);
    out.U32(size);
    const std::uint8_t pad = 0;
    if (!Write(m_file, header.data(), header.size()) || !Write(m_file, pixels, size) ||
        (size % 2 && !Write(m_file, &pad, 1))) {
        std::fseek(m_file, static_cast<long>(m_headerSize + m_moviBytes), SEEK_SET);
        return AVIERR_FILEWRITE;
    }
    m_index.push_back(
        {keyFrame ? AVIIF_KEYFRAME : 0, static_cast<std::uint32_t>(4 + m_moviBytes), static_cast<std::uint32_t>(size)});
    m_moviBytes += chunkBytes;
    return AVIERR_OK;
}

std::vector<std::uint8_t> AviWriter::Headers() const
{
    const std::uint32_t frames = GetFrameCount();
    const std::uint32_t width = static_cast<std::uint32_t>(m_stream.rcFrame.right - m_stream.rcFrame.left);
    const std::uint32_t height = static_cast<std::uint32_t>(m_stream.rcFrame.bottom - m_stream.rcFrame.top);
    std::vector<std::uint8_t> bytes;
    Bytes out(bytes);
    out.Tag("RIFF");
    out.U32(0); // patched below
    out.Tag("AVI ");
    const std::size_t headerList = out.OpenList("hdrl");
    out.Tag("avih");
    out.U32(kMainHeaderSize);
    out.U32(m_stream.dwRate ? std::uint64_t{1000000} * m_stream.dwScale / m_stream.dwRate : 0);
    out.U32(m_stream.dwScale ? Clamp32(std::uint64_t{m_frameSize} * m_stream.dwRate / m_stream.dwScale) : 0);
    out.U32(0); // padding granularity
    out.U32(kHasIndex);
    out.U32(frames);
    out.U32(0); // initial frames
    out.U32(1); // streams
    out.U32(m_stream.dwSuggestedBufferSize);
    out.U32(width);
    out.U32(height);
    for (int reserved = 0; reserved < 4; ++reserved)
        out.U32(0);
    const std::size_t streamList = out.OpenList("strl");
    out.Tag("strh");
    out.U32(kStreamHeaderSize);
    out.U32(m_stream.fccType);
    out.U32(m_handler);
    out.U32(0); // flags
    out.U16(0); // priority
    out.U16(0); // language
    out.U32(0); // initial frames
    out.U32(m_stream.dwScale);
    out.U32(m_stream.dwRate);
    out.U32(0); // start
    out.U32(frames);
    out.U32(m_stream.dwSuggestedBufferSize);
    out.U32(kDefaultQuality);
    out.U32(0); // sample size: frames vary
    out.U16(static_cast<std::uint16_t>(m_stream.rcFrame.left));
    out.U16(static_cast<std::uint16_t>(m_stream.rcFrame.top));
    out.U16(static_cast<std::uint16_t>(m_stream.rcFrame.right));
    out.U16(static_cast<std::uint16_t>(m_stream.rcFrame.bottom));
    out.Tag("strf");
    out.U32(m_format.size());
    out.Append(m_format);
    out.CloseList(streamList);
    out.CloseList(headerList);
    out.Tag("LIST");
    out.U32(4 + m_moviBytes);
    out.Tag("movi");
    out.Patch(4, FileSize(bytes.size(), m_moviBytes, frames) - 8);
    return bytes;
}

bool AviWriter::WriteHeaders()
{
    const std::vector<std::uint8_t> headers = Headers();
    if (std::fseek(m_file, 0, SEEK_SET) != 0 || !Write(m_file, headers.data(), headers.size()))
        return false;
    m_headerSize = headers.size();
    return true;
}

void AviWriter::Finish()
{
    if (m_headerSize == 0)
        WriteHeaders(); // a file without frames is still a whole AVI file
    std::vector<std::uint8_t> index;
    Bytes out(index);
    out.Tag("idx1");
    out.U32(kIndexEntrySize * m_index.size());
    for (const IndexEntry& entry : m_index) {
        out.U32(kFrameChunk);
        out.U32(entry.flags);
        out.U32(entry.offset);
        out.U32(entry.size);
    }
    std::fseek(m_file, static_cast<long>(m_headerSize + m_moviBytes), SEEK_SET);
    Write(m_file, index.data(), index.size());
    WriteHeaders();
    std::fflush(m_file);
    // A frame whose write failed may have left bytes beyond the index. Where they cannot be cut off, they stay
    // after the RIFF chunk, where readers do not look.
    [[maybe_unused]] const int cut =
        ftruncate(fileno(m_file), static_cast<off_t>(FileSize(m_headerSize, m_moviBytes, m_index.size())));
    std::fclose(m_file);
}

} // namespace VfwHost
